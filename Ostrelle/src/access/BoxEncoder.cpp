// CBoxEncoder: the encoder-settings routines of the boxes.
#include "access/BoxEncoder.h"

#include <cstring>
#include <iterator>

#include <recordcapacity.h>

namespace {

#define RECORD(field) offsetof(BOX_ENCODER_SETTINGS, field), sizeof(BOX_ENCODER_SETTINGS::field)

constexpr DWORD kBitrateProperty = 1;
constexpr DWORD kOldBitrateSize = 10;
constexpr DWORD kPreFilterProperty = 0x2A;
constexpr DWORD kInverseTelProperty = 0x32;
constexpr DWORD kTransportProperty = 0x36;
constexpr DWORD kGopSizeProperty = 0x3F;
constexpr DWORD kGopOptionProperty = 0x40;
constexpr DWORD kStreamOnProperty = 22;
constexpr DWORD kStreamOffProperty = 24;
constexpr DWORD kTVEncodeFormatProperty = 4;
constexpr DWORD kLargestProperty = sizeof(PREFILTERINFO);

const char kDriverKey[] = "SYSTEM\\CurrentControlSet\\Services\\Conexant\\Parameters\\iVac15\\Driver";

// TRUE when the box's property set gives property `id` the support `need`; a failed question and
// a refusal are traced, the refusal by `refusal` with the property's id.
BOOL BoxPropertySupports(IKsPropertySet* pKs, DWORD id, DWORD need, const char* refusal)
{
    DWORD support = 0;
    if (FAILED(pKs->QuerySupported(KSPROPSETID_Box, id, &support))) {
        TRACE("IKsPropertySet->QuerySupported IVAC_VIDEO_RESOLUTION failed\n");
        return FALSE;
    }
    if (!(support & need)) {
        TRACE(refusal, static_cast<int>(id));
        return FALSE;
    }
    return TRUE;
}

}  // namespace

const CBoxEncoder::Property CBoxEncoder::kEncoderProperties[] = {
    {0x00, 4, 1, {{RECORD(bStreamOutputMode), 0, 4}}, true, true},
    {0x01, 18, 5,
     {{RECORD(bEncodingMode), 0, 4}, {RECORD(wVideoBitrate), 4, 2}, {RECORD(bVariance), 6, 4}, {RECORD(dwMuxRate), 10, 4},
      {RECORD(dwVBRPadding), 14, 4}},
     true, true},
    {0x02, 4, 1, {{RECORD(bVideoInMode), 0, 4}}, true, false},
    {0x03, 4, 1, {{RECORD(bVideoResolution), 0, 4}}, true, true},
    {0x04, 4, 1, {{RECORD(bTVEncodeFormat), 0, 4}}, true, false},
    {0x05, 1, 1, {{RECORD(bAudioDataRate), 0, 1}}, true, true},
    {0x06, 8, 2, {{RECORD(wStream20), 0, 4}, {RECORD(wStream22), 4, 4}}, true, true},
    {0x07, 4, 1, {{RECORD(bClosedGOP), 0, 4}}, true, true},
    {0x0B, 4, 1, {{RECORD(bAudioSamplingRate), 0, 4}}, true, true},
    {0x0C, 4, 1, {{RECORD(bAudioOutputMode), 0, 4}}, true, true},
    {0x0D, 4, 1, {{RECORD(bCRCState), 0, 4}}, true, true},
    {0x2A, 108, 1, {{RECORD(PreFilterInfo), 0, 108}}, true, false},
    {0x32, 4, 1, {{RECORD(bInverseTel), 0, 4}}, true, true},
    {0x36, 4, 1, {{RECORD(bTransportOutputMode), 0, 4}}, true, true},
    {0x3C, 4, 1, {{RECORD(bTVDecodeFormat), 0, 4}}, true, false},
    {0x3E, 8, 0, {}, false, true},
};
const size_t CBoxEncoder::kEncoderPropertyCount = std::size(kEncoderProperties);

const DWORD CBoxEncoder::kReadOrder[15] = {2, 4, 0x3C, 0x32, 0, 0x36, 3, 0x0B, 0x0C, 5, 0x0D, 7, 6, 1, 0x2A};
const DWORD CBoxEncoder::kWriteOrder[12] = {0, 3, 0x36, 6, 0x0B, 0x0C, 5, 0x0D, 7, 1, 0x32, 0x3E};

namespace {

const CBoxEncoder::Property& FindProperty(DWORD id)
{
    for (const CBoxEncoder::Property& row : CBoxEncoder::kEncoderProperties) {
        if (row.id == id) return row;
    }
    return CBoxEncoder::kEncoderProperties[0];  // the orders name only ids of the table
}

DWORD PropertySize(const CBoxEncoder::Property& row, BOOL bOldBitrate)
{
    return (row.id == kBitrateProperty && bOldBitrate) ? kOldBitrateSize : row.size;
}

bool Fits(const CBoxEncoder::Piece& piece, DWORD size) { return piece.propertyOffset + piece.propertyWidth <= size; }

}  // namespace

CBoxEncoder::CBoxEncoder(const CBoxProperty& property) : m_property(property) {}

CComPtr<IKsPropertySet> CBoxEncoder::QueryKs(IUnknown* pFilter, const char* routine) const
{
    CComPtr<IKsPropertySet> pKs;
    if (!pFilter || FAILED(pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&pKs)))) {
        TRACE("%s::%s - Query IID_IKsPropertySet failed\n", m_property.Owner(), routine);
        pKs.Release();
    }
    return pKs;
}

BOOL CBoxEncoder::GetEncoderProperty(IKsPropertySet* pKs, DWORD id, void* pData, DWORD len) const
{
    if (!BoxPropertySupports(pKs, id, KSPROPERTY_SUPPORT_GET, "IKsPropertySet->GetProperty (ID=%d) method is not supported\n"))
        return FALSE;
    DWORD returned = 0;
    if (pKs->Get(KSPROPSETID_Box, id, pData, len, pData, len, &returned) != S_OK) {
        TRACE("IKsPropertySet->GetProperty failed(ID=%d)\n", static_cast<int>(id));
        return FALSE;
    }
    return TRUE;
}

BOOL CBoxEncoder::SetEncoderProperty(IKsPropertySet* pKs, DWORD id, void* pData, DWORD len) const
{
    if (!BoxPropertySupports(pKs, id, KSPROPERTY_SUPPORT_SET, "IKsPropertySet->SetProperty  method is not supported!(ID=%d)\n"))
        return FALSE;
    if (pKs->Set(KSPROPSETID_Box, id, pData, len, pData, len) != S_OK) {
        TRACE("IKsPropertySet->SetProperty Failed!(ID=%d)\n", static_cast<int>(id));
        return FALSE;
    }
    return TRUE;
}

BOOL CBoxEncoder::ReadSettings(BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, IUnknown* pCapacity,
                               BOOL bOldBitrate, bool bShort) const
{
    if (!pSettings) return FALSE;
    CComPtr<IKsPropertySet> pKs = QueryKs(pFilter, "GetSettingStreamFromFilter");
    if (!pKs) return FALSE;
    BOOL ok = TRUE;
    BYTE* record = reinterpret_cast<BYTE*>(pSettings);
    for (DWORD id : kReadOrder) {
        if (bShort && id == kPreFilterProperty) continue;
        const Property& row = FindProperty(id);
        const DWORD size = PropertySize(row, bOldBitrate);
        BYTE bytes[kLargestProperty] = {};
        if (!GetEncoderProperty(pKs, id, bytes, size)) {
            ok = FALSE;
            continue;
        }
        for (int i = 0; i < row.nPieces; ++i) {
            const Piece& piece = row.pieces[i];
            if (!Fits(piece, size)) continue;
            std::memcpy(record + piece.recordOffset, bytes + piece.propertyOffset, piece.recordWidth);
        }
    }
    if (!bShort && pCapacity) {
        CComPtr<IRecordCapacity> pRecord;
        DWORD megabytes = 0;
        if (SUCCEEDED(pCapacity->QueryInterface(IID_IRecordCapacity, reinterpret_cast<void**>(&pRecord))) && pRecord &&
            SUCCEEDED(pRecord->GetRecordCapacity(&megabytes))) {
            pSettings->dwStorageCap = megabytes;
        } else {
            TRACE("GetRecordCapacity failed\n");
            ok = FALSE;
        }
    }
    return ok;
}

BOOL CBoxEncoder::WriteSettings(const BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, IUnknown* pCapacity,
                                BOOL bOldBitrate, bool bShort) const
{
    if (!pSettings) return FALSE;
    CComPtr<IKsPropertySet> pKs = QueryKs(pFilter, "SetSettingStreamToFilter");
    if (!pKs) return FALSE;
    BOOL ok = TRUE;
    const BYTE* record = reinterpret_cast<const BYTE*>(pSettings);
    for (DWORD id : kWriteOrder) {
        if (bShort && (id == kTransportProperty || id == kInverseTelProperty)) continue;
        const Property& row = FindProperty(id);
        const DWORD size = PropertySize(row, bOldBitrate);
        BYTE bytes[kLargestProperty] = {};
        for (int i = 0; i < row.nPieces; ++i) {
            const Piece& piece = row.pieces[i];
            if (!Fits(piece, size)) continue;
            std::memcpy(bytes + piece.propertyOffset, record + piece.recordOffset, piece.recordWidth);
        }
        if (!SetEncoderProperty(pKs, id, bytes, size)) ok = FALSE;
    }
    if (!bShort && pCapacity) {
        CComPtr<IRecordCapacity> pRecord;
        HRESULT hr = E_NOINTERFACE;
        if (SUCCEEDED(pCapacity->QueryInterface(IID_IRecordCapacity, reinterpret_cast<void**>(&pRecord))) && pRecord) {
            try {
                hr = pRecord->SetRecordCapacity(pSettings->dwStorageCap);
            } catch (...) {
                TRACE("Exception occured on SetRecordCapacity");
                return FALSE;
            }
        }
        if (SUCCEEDED(hr)) {
            TRACE("SetRecordCapacity : %d MB succeed!\n", static_cast<int>(pSettings->dwStorageCap));
        } else {
            TRACE("SetRecordCapacity failed\n");
            ok = FALSE;
        }
    }
    return ok;
}

BOOL CBoxEncoder::GetSettingStreamFromFilter(BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter, IUnknown* pCapacity,
                                             BOOL bOldBitrate) const
{
    return ReadSettings(pSettings, pFilter, pCapacity, bOldBitrate, false);
}

BOOL CBoxEncoder::GetShortSettingStreamFromFilter(BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter,
                                                  BOOL bOldBitrate) const
{
    return ReadSettings(pSettings, pFilter, nullptr, bOldBitrate, true);
}

BOOL CBoxEncoder::SetSettingStreamToFilter(const BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter,
                                           IUnknown* pCapacity, BOOL bOldBitrate) const
{
    return WriteSettings(pSettings, pFilter, pCapacity, bOldBitrate, false);
}

BOOL CBoxEncoder::SetShortSettingStreamToFilter(const BOX_ENCODER_SETTINGS* pSettings, IUnknown* pFilter,
                                                BOOL bOldBitrate) const
{
    return WriteSettings(pSettings, pFilter, nullptr, bOldBitrate, true);
}

BOOL CBoxEncoder::SetGopSize(IUnknown* pFilter, BYTE bGopSize, BYTE bGopOption) const
{
    CComPtr<IKsPropertySet> pKs = QueryKs(pFilter, "GetSettingStreamFromFilter");
    if (!pKs) return FALSE;
    BOOL ok = TRUE;
    for (auto [id, value] : {std::pair<DWORD, BYTE>{kGopSizeProperty, bGopSize}, {kGopOptionProperty, bGopOption}}) {
        BYTE byte = value;
        // A plain Set: its failure is traced here once, not also as a settings property's.
        if (pKs->Set(KSPROPSETID_Box, id, &byte, sizeof(byte), &byte, sizeof(byte)) != S_OK) {
            TRACE("%s::GetSettingStreamFromFilter - IKsPropertySet->Set IVAC_GOP_SIZE failed\n", m_property.Owner());
            ok = FALSE;
        }
    }
    return ok;
}

BOOL CBoxEncoder::GetPreFilter(IUnknown* pFilter, PREFILTERINFO* pInfo) const
{
    if (!pInfo) return FALSE;
    CComPtr<IKsPropertySet> pKs = QueryKs(pFilter, "GetPreFilter");
    PREFILTERINFO info = {};
    if (!pKs || !GetEncoderProperty(pKs, kPreFilterProperty, &info, sizeof(info))) return FALSE;
    *pInfo = info;
    return TRUE;
}

BOOL CBoxEncoder::SetPreFilter(IUnknown* pFilter, const PREFILTERINFO* pInfo) const
{
    if (!pInfo) return FALSE;
    CComPtr<IKsPropertySet> pKs = QueryKs(pFilter, "SetPreFilter");
    PREFILTERINFO info = *pInfo;
    return pKs && SetEncoderProperty(pKs, kPreFilterProperty, &info, sizeof(info));
}

BOOL CBoxEncoder::SetStreamOptions(IUnknown* pFilter) const
{
    CComPtr<IKsPropertySet> pKs = QueryKs(pFilter, "SetStreamOptions");
    if (!pKs) return FALSE;
    BOOL ok = TRUE;
    for (DWORD n : {0u, 10u}) {
        for (auto [id, flag] : {std::pair<DWORD, BYTE>{kStreamOnProperty, 1}, {kStreamOffProperty, 0}}) {
            BYTE option[5] = {};
            const DWORD index = n + 3;
            std::memcpy(option, &index, sizeof(index));
            option[4] = flag;
            if (!SetEncoderProperty(pKs, id, option, sizeof(option))) ok = FALSE;
        }
    }
    return ok;
}

BOOL CBoxEncoder::SetTVEncodeFormat(IUnknown* pFilter, const DWORD* pFormat) const
{
    if (!pFilter || !pFormat) return FALSE;
    CComPtr<IKsPropertySet> pKs = QueryKs(pFilter, "SetTVEncodeFormat");
    DWORD format = *pFormat;
    return pKs && SetEncoderProperty(pKs, kTVEncodeFormatProperty, &format, sizeof(format));
}

BOOL CBoxEncoder::IsOldEncoderBitrateInterface()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriverKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return TRUE;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG result =
        RegQueryValueExA(key, "OldEncoderBitrateInterface", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return TRUE;
    return value != 0;
}
