#include "ProductInfo.h"


namespace {

constexpr int kNone = -1;
const char kCompany[] = "VORLANE";

// Field positions per product type; kNone: the product has no such field.
const ProductInfoRow kProductInfoRows[] = {
    // type  713x   vendor subWin model  modelHi factory company chipset chipset   productID
    {4, false, kNone, kNone, 33, kNone, 32, 0, 7, "Zoqa", kNone},
    {5, false, kNone, kNone, 33, kNone, 32, 20, 27, "7130", kNone},
    {6, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x20},
    {7, true, 4, 7, 33, kNone, 32, 20, 27, "7130", 0xE0},
    {8, true, 160, 163, 193, kNone, 192, 180, 187, "2820", 0x24},
    {9, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x21},
    {10, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x22},
    {11, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x23},
    {12, true, 160, 163, 193, kNone, 192, 180, 187, "2820", 0x24},
    {13, true, 4, 7, 33, kNone, 32, 20, 27, "7130", 0x25},
    {14, true, 160, 163, 193, kNone, 192, 180, 187, "2821", 0x26},
    {20, true, 16, 19, 33, kNone, 32, 20, 27, "2341", 0x30},
    {22, true, 160, 163, 33, kNone, 32, 180, 187, "2820", 0x24},
    {23, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x31},
    {24, true, 4, 7, 33, kNone, 32, 20, 27, "23882", 0x32},
    {25, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x33},
    {26, true, kNone, 3, 33, kNone, 32, 20, 27, "5600", 0x34},
    {27, true, 4, 7, 33, kNone, 32, 20, 27, "7130", 0x35},
    {28, true, 4, 7, 33, kNone, 32, 20, 27, "7130", 0x36},
    {29, true, kNone, kNone, 161, kNone, 160, 164, 171, "713X", 0x20},
    {30, true, kNone, kNone, 161, kNone, 160, 164, 171, "Pruvo", 0x21},
    {31, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x42},
    {32, true, kNone, 3, 33, kNone, 32, 20, 27, "5600", 0x43},
    {33, true, kNone, 3, 33, kNone, 32, 20, 27, "2600", 0x34},
    {34, true, kNone, 4, 161, kNone, 160, 164, 171, "23418", 0x44},
    {35, true, kNone, 3, 33, kNone, 32, 20, 27, "7130", 0x45},
    {36, true, kNone, 3, 33, kNone, 32, 20, 27, "5600", 0x46},
    {38, true, kNone, 4, 161, kNone, 160, 164, 171, "23416", 0x48},
    {39, true, kNone, 3, 33, kNone, 32, 20, 27, "5600", 0x49},
    {60, true, 160, 163, 193, kNone, 192, 180, 187, "2881", 0x60},
    {65, true, 18, 19, 16, kNone, 17, 32, 48, "Jorsk", 0x65},
    {70, true, 65, 67, 97, kNone, 96, 100, 88, "DVBC", 0x70},
    {80, true, kNone, 3, 33, kNone, 32, 20, 27, "Dalko", 0x80},
    {81, true, kNone, 3, 33, kNone, 32, 20, 27, "Yolm", 0x81},
    {82, true, kNone, 3, 33, kNone, 32, 20, 27, "Wemba", 0x82},
    {83, true, kNone, 3, 33, kNone, 32, 20, 27, "Qel", 0x83},
    {84, true, kNone, 88, 65, 66, 104, 90, 97, "Keshar", 0x83},
};

// Template bytes that products 8 and 22 set for certain tuner models, after the model byte.
struct ModelExtraRow {
    int productType;
    int tunerModel;
    int count;
    CPairByte pairs[5];
};

const ModelExtraRow kModelExtraRows[] = {
    {8, 73, 5, {{8, 0x00}, {10, 0x24}, {20, 0x5E}, {35, 0x02}, {56, 0x01}}},
    {8, 72, 5, {{8, 0x00}, {10, 0x26}, {20, 0x5E}, {35, 0x02}, {56, 0x01}}},
    {22, 92, 4, {{8, 0x01}, {10, 0x1E}, {20, 0x6E}, {56, 0x02}}},
    {22, 5, 4, {{8, 0x02}, {10, 0x3D}, {20, 0x4E}, {56, 0x10}}},
};

}  // namespace

const ProductInfoRow* FindProductInfoRow(EMProductType type) {
    for (const ProductInfoRow& row : kProductInfoRows)
        if (row.productType == type) return &row;
    return nullptr;
}

CEppromInfo* CreateProductInfo(const ProductInfoRow& row) {
    if (row.saa713x) return new CEppromInfo713x(row);
    return new CEppromInfoHarlo(row);
}

CProductEppromInfo::CProductEppromInfo(const ProductInfoRow& row) {
    m_iVendorPos = row.vendorPos;
    m_iSubWindowIDPos = row.subWindowIDPos;
    m_iModelPos = row.modelPos;
    m_iModelHighPos = row.modelHighPos;
    m_iFactoryPos = row.factoryPos;
    m_iCompanyPos = row.companyPos;
    m_iChipsetPos = row.chipsetPos;
    SetCompany(kCompany);
    SetChipset(row.chipset);
}

CEppromInfoHarlo::CEppromInfoHarlo(const ProductInfoRow& row) : CProductEppromInfo(row) {}

void CEppromInfoHarlo::SetSubWindowID(unsigned short) {}

CEppromInfo713x::CEppromInfo713x(const ProductInfoRow& row)
    : CProductEppromInfo(row), m_iProductType(row.productType), m_iProductID(row.productID) {}

void CEppromInfo713x::SetSubWindowID(unsigned short usSubWindowID) {
    if (m_iSubWindowIDPos - 1 < 0) return;
    m_vecSubWindowID.SetByte(m_iSubWindowIDPos, static_cast<unsigned char>(m_iProductID));
    m_vecSubWindowID.AddByte(m_iSubWindowIDPos - 1, static_cast<unsigned char>(usSubWindowID & 0xFF));
}

void CEppromInfo713x::SetModel(unsigned char ucModel) {
    CEppromInfo::SetModel(ucModel);
    for (const ModelExtraRow& extra : kModelExtraRows) {
        if (extra.productType != m_iProductType || extra.tunerModel != ucModel) continue;
        for (int i = 0; i < extra.count; ++i) m_vecModel.AddByte(extra.pairs[i].first, extra.pairs[i].second);
    }
}
