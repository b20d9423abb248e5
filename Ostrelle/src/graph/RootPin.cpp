// CRootPin: the wrapper of one pin of a CRootFilter.
#include "graph/RootPin.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "graph/RootFilter.h"

namespace {

struct GuidName {
    const GUID* guid;
    const char* name;
};

const GuidName kMajorTypeNames[] = {
    {&MEDIATYPE_AnalogVideo, "Analog Video"},
    {&MEDIATYPE_Audio, "Audio"},
    {&MEDIATYPE_Video, "Video"},
};

const GuidName kSubTypeNames[] = {
    {&MEDIASUBTYPE_MPEG1Packet, "MPEG1 Packet"}, {&MEDIASUBTYPE_MPEG1Payload, "MPEG1 Payload"},
    {&MEDIASUBTYPE_YVU9, "YVU9"},                {&MEDIASUBTYPE_YUY2, "YUY2"},
    {&MEDIASUBTYPE_IJPG, "IJPG"},                {&MEDIASUBTYPE_RGB8, "RGB8"},
    {&MEDIASUBTYPE_RGB555, "RGB555"},            {&MEDIASUBTYPE_RGB565, "RGB565"},
    {&MEDIASUBTYPE_RGB24, "RGB24"},              {&MEDIASUBTYPE_RGB32, "RGB32"},
};

// The table's name of `guid`, or the GUID's own value as 8-4-4-16 hex digits.
template <size_t N>
std::string GuidText(const GuidName (&names)[N], REFGUID guid) {
    for (const GuidName& entry : names) {
        if (IsEqualGUID(*entry.guid, guid)) return entry.name;
    }
    char text[64];
    int length = std::snprintf(text, sizeof(text), "%08X-%04X-%04X-", static_cast<unsigned>(guid.Data1),
                               static_cast<unsigned>(guid.Data2), static_cast<unsigned>(guid.Data3));
    for (BYTE b : guid.Data4) length += std::snprintf(text + length, sizeof(text) - length, "%02X", b);
    return text;
}

// Copies a composed text into the caller's buffer as the media-type texts do: at most 1024 bytes
// of it, cut to size - 1.
void CopyTypeText(char* buffer, int size, const std::string& text) {
    const size_t kWorkSize = 1024;
    std::string work = text.substr(0, kWorkSize - 1);
    CopyNameText(buffer, static_cast<size_t>(size), work.c_str());
}

}  // namespace

CRootPin::CRootPin(IPin* pin, CRootFilter* owner)
    : m_pPin(pin), m_pFilter(owner), m_pPeer(nullptr), m_pNext(nullptr), m_szName() {
    PIN_INFO info;
    if (pin != nullptr && pin->QueryPinInfo(&info) == S_OK) {
        if (info.pFilter != nullptr) info.pFilter->Release();
        WideToNameText(m_szName, sizeof(m_szName), info.achName);
        TRACE("CRootPin Name:%s \n", m_szName);
    }
}

CRootPin::~CRootPin() {
    Clear();
}

void CRootPin::Clear() {
    if (m_pPeer != nullptr && m_pPeer->m_pPeer == this) m_pPeer->m_pPeer = nullptr;
    m_pPeer = nullptr;
    m_pFilter = nullptr;
    m_pNext = nullptr;
    m_pPin.Release();
}

BOOL CRootPin::QueryDirection(PIN_DIRECTION* direction) {
    return m_pPin != nullptr && m_pPin->QueryDirection(direction) == S_OK ? TRUE : FALSE;
}

BOOL CRootPin::QueryPinInfo(PIN_INFO* info) {
    return m_pPin != nullptr && m_pPin->QueryPinInfo(info) == S_OK ? TRUE : FALSE;
}

BOOL CRootPin::QueryId(LPWSTR* id) {
    return m_pPin != nullptr && m_pPin->QueryId(id) == S_OK ? TRUE : FALSE;
}

BOOL CRootPin::QueryAccept(const AM_MEDIA_TYPE* mediaType) {
    return m_pPin != nullptr && m_pPin->QueryAccept(mediaType) == S_OK ? TRUE : FALSE;
}

HRESULT CRootPin::EnumMediaTypes(IEnumMediaTypes** mediaTypes) {
    return m_pPin != nullptr ? m_pPin->EnumMediaTypes(mediaTypes) : E_POINTER;
}

HRESULT CRootPin::ConnectionMediaType(AM_MEDIA_TYPE* mediaType) {
    return m_pPin != nullptr ? m_pPin->ConnectionMediaType(mediaType) : E_POINTER;
}

BOOL CRootPin::ShowPropertyPages(HWND parent, const char* caption) {
    return m_pFilter != nullptr ? m_pFilter->ShowPropertyPages(parent, caption) : FALSE;
}

BOOL CRootPin::MediaTypeToText(char* buffer, int size) {
    if (buffer == nullptr || size < 2) return FALSE;
    buffer[0] = '\0';
    AM_MEDIA_TYPE mediaType;
    std::memset(&mediaType, 0, sizeof(mediaType));
    if (FAILED(ConnectionMediaType(&mediaType))) return FALSE;
    std::string text = "MainType:" + GuidText(kMajorTypeNames, mediaType.majortype) +
                       ",SubType:" + GuidText(kSubTypeNames, mediaType.subtype);
    FreeMediaType(mediaType);
    CopyTypeText(buffer, size, text);
    return TRUE;
}

BOOL CRootPin::GetMajorTypeText(char* buffer, int size) {
    if (buffer == nullptr || size < 2) return FALSE;
    buffer[0] = '\0';
    GUID majorType;
    GUID subType;
    if (!GetFirstMediaType(&majorType, &subType)) return FALSE;
    CopyTypeText(buffer, size, "MainType:" + GuidText(kMajorTypeNames, majorType));
    return TRUE;
}

BOOL CRootPin::GetFirstMediaType(GUID* majorType, GUID* subType) {
    CComPtr<IEnumMediaTypes> mediaTypes;
    if (FAILED(EnumMediaTypes(&mediaTypes)) || mediaTypes == nullptr) return FALSE;
    AM_MEDIA_TYPE* mediaType = nullptr;
    ULONG fetched = 0;
    if (mediaTypes->Next(1, &mediaType, &fetched) != S_OK || mediaType == nullptr) return FALSE;
    if (majorType != nullptr) *majorType = mediaType->majortype;
    if (subType != nullptr) *subType = mediaType->subtype;
    DeleteMediaType(mediaType);
    return TRUE;
}
