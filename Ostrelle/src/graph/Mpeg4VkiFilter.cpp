// CMpeg4VkiFilter: the wrapper of the system's MPEG-4 VKI video compressors.
#include "graph/Mpeg4VkiFilter.h"

#include "graph/FilterWrapperClass.h"
#include "graph/FormatBlock.h"

// The record names carry two blanks on each side of VKI, as the compressors are named.
CFilterClassRecord CMpeg4VkiV1Filter::s_classRecord = Record(nullptr, &CLSID_VideoCompressorCategory,
                                                             "Microsoft MPEG-4  VKI  Codec V1");
CFilterClassRecord CMpeg4VkiV2Filter::s_classRecord = Record(nullptr, &CLSID_VideoCompressorCategory,
                                                             "Microsoft MPEG-4  VKI  Codec V2");
CFilterClassRecord CMpeg4VkiV3Filter::s_classRecord = Record(nullptr, &CLSID_VideoCompressorCategory,
                                                             "Microsoft MPEG-4  VKI  Codec V3");

CMpeg4VkiFilter::~CMpeg4VkiFilter() {
    m_pCompressDialogs.Release();
}

BOOL CMpeg4VkiFilter::Init() {
    m_pCompressDialogs.Release();
    if (!IsValid()) return FALSE;
    if (FAILED(m_pFilter->QueryInterface(IID_IAMVfwCompressDialogs, reinterpret_cast<void**>(&m_pCompressDialogs))))
        m_pCompressDialogs.Release();
    return TRUE;
}

BOOL CMpeg4VkiFilter::GetState(void* pState, int* pcbState) {
    if (m_pCompressDialogs == nullptr || pcbState == nullptr) return FALSE;
    return m_pCompressDialogs->GetState(pState, pcbState) == S_OK ? TRUE : FALSE;
}

BOOL CMpeg4VkiFilter::SetState(void* pState, int cbState) {
    if (m_pCompressDialogs == nullptr) return FALSE;
    return m_pCompressDialogs->SetState(pState, cbState) == S_OK ? TRUE : FALSE;
}

BOOL CMpeg4VkiFilter::ShowDialog(int iDialog, HWND hwnd) {
    if (m_pCompressDialogs == nullptr) return FALSE;
    return SUCCEEDED(m_pCompressDialogs->ShowDialog(iDialog, hwnd)) ? TRUE : FALSE;
}

BOOL CMpeg4VkiFilter::SetFrameRate(int fps) {
    if (fps < 1 || fps > 30) return FALSE;
    CRootPin* output = FindPinByDirection(PINDIR_OUTPUT, FALSE);
    if (output == nullptr || output->GetPin() == nullptr) return FALSE;
    CComPtr<IAMStreamConfig> config;
    if (output->GetPin()->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)) != S_OK ||
        config == nullptr)
        return FALSE;
    AM_MEDIA_TYPE* mediaType = nullptr;
    if (config->GetFormat(&mediaType) != S_OK || mediaType == nullptr) return FALSE;
    BOOL result = FALSE;
    if (VIDEOINFOHEADER* video = FormatBlockAs<VIDEOINFOHEADER>(mediaType, FORMAT_VideoInfo)) {
        video->AvgTimePerFrame = 10000000 / fps;
        result = config->SetFormat(mediaType) == S_OK ? TRUE : FALSE;
    }
    DeleteMediaType(mediaType);
    return result;
}

