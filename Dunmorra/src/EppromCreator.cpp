#include "dunmorra/EppromCreator.h"

#include <cstring>
#include <new>

#include "ProductInfo.h"
#include "ProductTemplates.h"

using namespace dunmorra_templates;

namespace {

constexpr int kImageSize = 256;

struct TemplateRow {
    int productType;
    CEppromCreator::TemplateGetter getter;
};

// Product types in the order both maps are filled, with their template getters.
const TemplateRow kTemplateRows[] = {
    {4, &CEppromCreator::GetHarlo_878Template},     {5, &CEppromCreator::GetHarlo_7130Template},
    {6, &CEppromCreator::GetQovand_7130Template},   {7, &CEppromCreator::GetQovand_23881Template},
    {8, &CEppromCreator::GetElvathTemplate},        {9, &CEppromCreator::GetTV_WadrelTemplate},
    {10, &CEppromCreator::GetHoskarTemplate},       {11, &CEppromCreator::GetDirirTemplate},
    {12, &CEppromCreator::GetJalvorTemplate},       {13, &CEppromCreator::Get23881BootTemplate},
    {14, &CEppromCreator::GetLodrinTemplate},       {20, &CEppromCreator::GetNerrowTemplate},
    {22, &CEppromCreator::GetPendrelTemplate},      {23, &CEppromCreator::GetQovand_7130Template},
    {24, &CEppromCreator::GetRiveskTemplate},       {25, &CEppromCreator::GetSandrelTemplate},
    {26, &CEppromCreator::GetUlbrinTemplate},       {27, &CEppromCreator::GetOgmundTemplate},
    {28, &CEppromCreator::GetYelvinTemplate},       {60, &CEppromCreator::GetZarrelTemplate},
    {29, &CEppromCreator::GetSivrenTemplate},       {30, &CEppromCreator::GetBelvorTemplate},
    {31, &CEppromCreator::GetDirirTemplate},        {33, &CEppromCreator::GetUlbrinTemplate},
    {32, &CEppromCreator::GetUlbrinTemplate},       {34, &CEppromCreator::GetFimbrelTemplate},
    {35, &CEppromCreator::GetQovand_7130Template},  {70, &CEppromCreator::GetHelmicTemplate},
    {80, &CEppromCreator::GetIvlenTemplate},        {65, &CEppromCreator::GetJorskTemplate},
    {39, &CEppromCreator::GetLentorTemplate},       {36, &CEppromCreator::GetKolvirTemplate},
    {38, &CEppromCreator::GetFimbrelTemplate},      {81, &CEppromCreator::GetIvlenTemplate},
    {82, &CEppromCreator::GetVozeTemplate},         {83, &CEppromCreator::GetQelTemplate},
    {84, &CEppromCreator::GetKesharTemplate},
};

}  // namespace

CEppromCreator::CEppromCreator() {
    if (m_mapType2Func.empty()) FillType2FuncMap();
    FillInfoFact();
}

CEppromCreator::~CEppromCreator() {}

void CEppromCreator::FillType2FuncMap() {
    for (const TemplateRow& row : kTemplateRows) m_mapType2Func[EMProductType(row.productType)] = row.getter;
}

void CEppromCreator::FillInfoFact() {
    for (const TemplateRow& row : kTemplateRows) {
        EMProductType type = EMProductType(row.productType);
        const ProductInfoRow* info = FindProductInfoRow(type);
        ASSERT(info != nullptr);
        if (info != nullptr) m_mapInfoFact[type] = info;
    }
}

void CEppromCreator::FillIn2Out() {}

bool CEppromCreator::GetTemplate(const unsigned char* pSource, int iLength, int iTotal, unsigned char** ppOutput,
                                 int& iOutLength) {
    ASSERT(iTotal >= iLength);
    if (iTotal <= 0) return false;
    iOutLength = iTotal;
    if (ppOutput == nullptr) return true;
    if (pSource == nullptr || iLength <= 0 || iTotal < iLength) return false;
    unsigned char* buffer = new (std::nothrow) unsigned char[iTotal];
    if (buffer == nullptr) return false;
    memset(buffer, 0xFF, iTotal);
    memcpy(buffer, pSource, iLength);
    *ppOutput = buffer;
    return true;
}

#define TEMPLATE_GETTER(name, bytes)                                            \
    bool CEppromCreator::name(unsigned char** ppData, int& iLength) {            \
        return GetTemplate(bytes, sizeof(bytes), kImageSize, ppData, iLength); \
    }

TEMPLATE_GETTER(GetHarlo_878Template, kTemplateA)
TEMPLATE_GETTER(GetHarlo_7130Template, kTemplateA)
TEMPLATE_GETTER(GetQovand_7130Template, kTemplateA)
TEMPLATE_GETTER(GetQovand_23881Template, kTemplateC)
TEMPLATE_GETTER(Get23881BootTemplate, kTemplateC)
TEMPLATE_GETTER(GetElvathTemplate, kTemplateE)
TEMPLATE_GETTER(GetTV_WadrelTemplate, kTemplateB)
TEMPLATE_GETTER(GetHoskarTemplate, kTemplateB)
TEMPLATE_GETTER(GetDirirTemplate, kTemplateB)
TEMPLATE_GETTER(GetJalvorTemplate, kTemplateJ)
TEMPLATE_GETTER(GetLodrinTemplate, kTemplateL)
TEMPLATE_GETTER(GetNerrowTemplate, kTemplateN)
TEMPLATE_GETTER(GetPendrelTemplate, kTemplateP)
TEMPLATE_GETTER(GetRiveskTemplate, kTemplateD)
TEMPLATE_GETTER(GetSandrelTemplate, kTemplateD)
TEMPLATE_GETTER(GetUlbrinTemplate, kTemplateC)
TEMPLATE_GETTER(GetOgmundTemplate, kTemplateC)
TEMPLATE_GETTER(GetYelvinTemplate, kTemplateC)
TEMPLATE_GETTER(GetZarrelTemplate, kTemplateZ)
TEMPLATE_GETTER(GetSivrenTemplate, kTemplateS)
TEMPLATE_GETTER(GetBelvorTemplate, kTemplateT)
TEMPLATE_GETTER(GetFimbrelTemplate, kTemplateF)
TEMPLATE_GETTER(GetHelmicTemplate, kTemplateF)
TEMPLATE_GETTER(GetIvlenTemplate, kTemplateI)
TEMPLATE_GETTER(GetJorskTemplate, kTemplateI)
TEMPLATE_GETTER(GetLentorTemplate, kTemplateK)
TEMPLATE_GETTER(GetKolvirTemplate, kTemplateB)
TEMPLATE_GETTER(GetVozeTemplate, kTemplateB)
TEMPLATE_GETTER(GetQelTemplate, kTemplateB)
TEMPLATE_GETTER(GetKesharTemplate, kTemplateQ)

#undef TEMPLATE_GETTER

bool CEppromCreator::GetEppromTemplate(EMProductType type, TUNER_MODEL, unsigned char** ppData, int& iLength) {
    auto it = m_mapType2Func.find(type);
    if (it == m_mapType2Func.end()) return false;
    return (this->*(it->second))(ppData, iLength);
}

bool CEppromCreator::GetEppromTemplate(EMProductType type, KeshTunerID, unsigned char** ppData, int& iLength) {
    return GetEppromTemplate(type, MODEL_UNKNOWN, ppData, iLength);
}

bool CEppromCreator::GetEppromInfo(EMProductType type, CEppromInfo** ppInfo) {
    if (ppInfo == nullptr) return false;
    auto it = m_mapInfoFact.find(type);
    if (it == m_mapInfoFact.end()) return false;
    *ppInfo = CreateProductInfo(*it->second);
    return true;
}

bool CEppromCreator::CreateEppromData(EMProductType type, TUNER_MODEL, CEppromData& image) {
    return CreateEppromData(type, image);
}

bool CEppromCreator::CreateEppromData(EMProductType type, KeshTunerID, CEppromData& image) {
    return CreateEppromData(type, image);
}

bool CEppromCreator::CreateEppromData(EMProductType type, CEppromData& image) {
    ASSERT(!image.IsValid());
    CEppromInfo* info = nullptr;
    unsigned char* data = nullptr;
    int size = 0;
    bool infoOk = GetEppromInfo(type, &info);
    bool dataOk = GetEppromTemplate(type, MODEL_UNKNOWN, &data, size);
    if (!infoOk || !dataOk) {
        delete info;
        delete[] data;
        return false;
    }
    image.Release();
    image.Reset(data, size, info);
    return true;
}
