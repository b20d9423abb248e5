// CEppromWriter: decoding product type and tuner from an image, checking and comparing images.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "ProductInfo.h"
#include "dunmorra/EppromWriter.h"

namespace {

constexpr int kImageSize = 256;
constexpr int kNoType = -1;

// Byte value to product type.
struct ByteRule {
    int value;
    int productType;
};

int DecideByByte(unsigned char value, const ByteRule* rules, size_t count, int otherwise) {
    for (size_t i = 0; i < count; ++i)
        if (rules[i].value == value) return rules[i].productType;
    return otherwise;
}

const ByteRule kUsbBridgeByByte144[] = {{0x1A, 12}, {0x1B, 8}, {0x1C, 14}, {0x1D, 22}};
const ByteRule kSaa7130ByByte7[] = {{0xE0, 7}, {0x25, 13}, {0x35, 27}, {0x36, 28}};
const ByteRule kSaa7130ByByte3[] = {{0x21, 9},  {0x22, 10}, {0x23, 11}, {0x31, 23},
                                    {0x33, 25}, {0x42, 31}, {0x45, 35}};
const ByteRule k5600ByByte3[] = {{0x43, 32}, {0x80, 80}, {0x81, 81}, {0x49, 39}, {0x46, 36}};

// The SAA7130 family: told apart by the ProductID at byte 7 or byte 3; product 5 writes no
// ProductID and keeps its template's 0x01 at byte 2.
int DecideSaa7130(const unsigned char* data) {
    int type = DecideByByte(data[7], kSaa7130ByByte7, std::size(kSaa7130ByByte7), kNoType);
    if (type != kNoType) return type;
    if (data[3] == 0x20) return data[2] == 0x01 ? 5 : 6;
    return DecideByByte(data[3], kSaa7130ByByte3, std::size(kSaa7130ByByte3), 0);
}

}  // namespace

bool CEppromWriter::IsIncludeStr(unsigned char* pData, int iLength, const char* pszText) {
    if (pData == nullptr || iLength < 1 || pszText == nullptr) return false;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(pszText);
    const unsigned char* begin = pData;
    const unsigned char* end = pData + iLength;
    return std::search(begin, end, text, text + strlen(pszText)) != end;
}

bool CEppromWriter::IsEppromDataWritten(unsigned char* pData, int iLength) {
    if (pData == nullptr || iLength < 1) return false;
    long long sum = 0;
    for (int i = 0; i < iLength; ++i) sum += pData[i];
    return sum > 0 && sum < (long long)iLength * 255;
}

EMProductType CEppromWriter::GetProductTypeFromData(CMemData& data) {
    return GetProductTypeFromData(data.GetData(), data.GetDataSize());
}

EMProductType CEppromWriter::GetProductTypeFromData(unsigned char* pData, int iLength) {
    if (pData == nullptr || iLength < kImageSize) return PRODUCT_UNKNOWN;
    auto has = [&](const char* marker) { return IsIncludeStr(pData, iLength, marker); };
    int type = 0;
    if (has("Zoqa"))
        type = 4;
    else if (has("2820"))
        type = DecideByByte(pData[144], kUsbBridgeByByte144, std::size(kUsbBridgeByByte144), 0);
    else if (has("23882"))
        type = 24;
    else if (has("713X"))
        type = 29;
    else if (has("Pruvo"))
        type = 30;
    else if (has("7130"))
        type = DecideSaa7130(pData);
    else if (has("2821"))
        type = 14;
    else if (has("23418"))
        type = 34;
    else if (has("23416"))
        type = 38;
    else if (has("2341") && pData[19] == '0')
        type = 20;
    else if (has("2600"))
        type = 33;
    else if (has("Dalko"))
        type = pData[3] == 0x80 ? 80 : 0;
    else if (has("5600"))
        type = DecideByByte(pData[3], k5600ByByte3, std::size(k5600ByByte3), 26);
    else if (has("2881"))
        type = 60;
    else if (has("DVBC"))
        type = 70;
    else if (has("Yolm"))
        type = 81;
    else if (has("Jorsk"))
        type = 65;
    else if (has("Wemba"))
        type = 82;
    else if (has("Qel"))
        type = 83;
    else if (has("Keshar"))
        type = 84;
    return EMProductType(type);
}

TUNER_MODEL CEppromWriter::GetTunerModelFromData(CMemData& data, EMProductType type) {
    return GetTunerModelFromData(data.GetData(), data.GetDataSize(), type);
}

TUNER_MODEL CEppromWriter::GetTunerModelFromData(unsigned char* pData, int iLength, EMProductType type) {
    if (pData == nullptr || iLength < kImageSize || type == PRODUCT_UNKNOWN) return MODEL_UNKNOWN;
    // The Kesh product keeps a Kesh tuner id instead (GetKeshTunerModelFromData).
    if (type == PRODUCT_KESHAR) return MODEL_UNKNOWN;
    const ProductInfoRow* row = FindProductInfoRow(type);
    int position = row != nullptr ? row->modelPos : 33;
    return TUNER_MODEL(pData[position]);
}

KeshTunerID CEppromWriter::GetKeshTunerModelFromData(CMemData& data, EMProductType type) {
    return GetKeshTunerModelFromData(data.GetData(), data.GetDataSize(), type);
}

KeshTunerID CEppromWriter::GetKeshTunerModelFromData(unsigned char* pData, int iLength, EMProductType type) {
    if (pData == nullptr || iLength < kImageSize) return KESH_TUNER_ID_NONE;
    if (type == PRODUCT_KESHAR) return KeshTunerID(pData[65] | (pData[66] << 8));
    return KeshTunerID(pData[33]);
}

int CEppromWriter::CompareData(unsigned char* pFirst, int iFirstLength, unsigned char* pSecond, int iSecondLength,
                               CVectorPairWord& list) {
    if (pFirst == nullptr || iFirstLength < 1 || pSecond == nullptr || iSecondLength < 1) return -1;
    if (iFirstLength != iSecondLength) return iFirstLength - iSecondLength;
    int added = 0;
    for (int i = 0; i < iFirstLength; ++i) {
        if (pFirst[i] == pSecond[i]) continue;
        list.Add(i, pFirst[i], pSecond[i]);
        ++added;
    }
    return added;
}

int CEppromWriter::CompareData(CMemData& first, CMemData& second, CVectorPairWord& list) {
    return CompareData(first.GetData(), first.GetDataSize(), second.GetData(), second.GetDataSize(), list);
}

bool CEppromWriter::CompareData(const char* pszFirstFile, const char* pszSecondFile, CVectorPairWord& list) {
    CMemData first, second;
    if (!LoadFromFile(pszFirstFile, first) || !LoadFromFile(pszSecondFile, second)) return false;
    CompareData(first, second, list);
    return true;
}

bool CEppromWriter::CheckAgainst(unsigned char* pData, int iLength, CVectorPairWord* pList, CEppromData& expected) {
    if (pList != nullptr)
        return CompareData(pData, iLength, expected.GetData(), expected.GetDataSize(), *pList) == 0;
    return iLength == expected.GetDataSize() && memcmp(pData, expected.GetData(), iLength) == 0;
}

bool CEppromWriter::CheckEppromData(unsigned char* pData, int iLength, CVectorPairWord* pList) {
    if (pData == nullptr || iLength < kImageSize) return false;
    EMProductType type = GetProductTypeFromData(pData, iLength);
    TUNER_MODEL model = GetTunerModelFromData(pData, iLength, type);
    if (type != PRODUCT_UNKNOWN && model != MODEL_UNKNOWN) {
        // A model byte off the card that names no module with a maker is no image of ours.
        TUNER_FACTORY factory;
        if (!GetFactoryFromModel(factory, model)) return false;
        CEppromData expected;
        if (!MakeEppromData(type, model, expected)) return false;
        return CheckAgainst(pData, iLength, pList, expected);
    }
    // Product 24 images that carry no tuner model pass.
    return type == PRODUCT_RIVESK;
}

bool CEppromWriter::CheckEppromData(unsigned char* pData, int iLength, CVectorPairWord* pList, TUNER_MODEL model) {
    if (pData == nullptr || iLength < kImageSize) return false;
    EMProductType type = GetProductTypeFromData(pData, iLength);
    KeshTunerID id = GetKeshTunerModelFromData(pData, iLength, type);
    if (type != PRODUCT_UNKNOWN && id != KESH_TUNER_ID_NONE) {
        TUNER_FACTORY factory;
        if (!GetFactoryFromModel(factory, model)) return false;
        CEppromData expected;
        if (!MakeEppromData(type, id, expected, model)) return false;
        return CheckAgainst(pData, iLength, pList, expected);
    }
    return type == PRODUCT_RIVESK;
}

bool CEppromWriter::CheckEppromData(CEepromRWInterface* pInterface, CVectorPairWord* pList) {
    CMemData data;
    if (!ReadEeprom(pInterface, data)) return false;
    return CheckEppromData(data.GetData(), data.GetDataSize(), pList);
}

bool CEppromWriter::CheckEppromData(CEepromRWInterface* pInterface, CVectorPairWord* pList, TUNER_MODEL model) {
    CMemData data;
    if (!ReadEeprom(pInterface, data)) return false;
    return CheckEppromData(data.GetData(), data.GetDataSize(), pList, model);
}
