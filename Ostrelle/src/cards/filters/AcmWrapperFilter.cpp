// CAcmWrapperFilter: the wrapper of the system's ACM Wrapper filter, registered by its CLSID.
#include "cards/filters/AcmWrapperFilter.h"

#include <mtype.h>

#include "graph/FormatBlock.h"
#include "graph/RootGraph.h"

CFilterClassRecord CAcmWrapperFilter::s_classRecord(&CLSID_ACMWrapper, nullptr, "ACM Wrapper",
                                                    &CAcmWrapperFilter::CreateInstance, &CAcmWrapperFilter::WrapInstance);

namespace {

const WAVEFORMATEX* WaveFormatOf(const AM_MEDIA_TYPE* type) {
    return FormatBlockAs<const WAVEFORMATEX>(type, FORMAT_WaveFormatEx);
}

}  // namespace

CRootFilter* CAcmWrapperFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CAcmWrapperFilter>(s_classRecord, graph, flag);
}

CRootFilter* CAcmWrapperFilter::WrapInstance(CRootGraph* graph, IBaseFilter* filter) {
    return WrapFilterOfClass<CAcmWrapperFilter>(graph, filter);
}

CAcmWrapperFilter::CAcmWrapperFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {}

CAcmWrapperFilter::CAcmWrapperFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}

CAcmWrapperFilter::CAcmWrapperFilter(CRootGraph* owner, IBaseFilter* filter) : CRootFilter(owner, filter) {}

CAcmWrapperFilter::~CAcmWrapperFilter() { m_pStreamConfig.Release(); }

BOOL CAcmWrapperFilter::Init() {
    m_pStreamConfig.Release();
    if (m_pFilter == nullptr || m_pGraph == nullptr || m_pGraph->GetCaptureGraphBuilder() == nullptr) return FALSE;
    const HRESULT hr = m_pGraph->GetCaptureGraphBuilder()->FindInterface(
        &LOOK_DOWNSTREAM_ONLY, &MEDIATYPE_Audio, m_pFilter, IID_IAMStreamConfig,
        reinterpret_cast<void**>(&m_pStreamConfig));
    return hr == S_OK && m_pStreamConfig != nullptr ? TRUE : FALSE;
}

BOOL CAcmWrapperFilter::FindAudioType(AM_MEDIA_TYPE** out, DWORD samplesPerSec, WORD bitsPerSample) {
    if (out == nullptr) return FALSE;
    *out = nullptr;
    CRootPin* pin = FindPinByDirection(PINDIR_OUTPUT, TRUE);
    if (pin == nullptr) return FALSE;
    CComPtr<IEnumMediaTypes> types;
    if (FAILED(pin->EnumMediaTypes(&types)) || types == nullptr) return FALSE;
    types->Reset();
    AM_MEDIA_TYPE* type = nullptr;
    while (types->Next(1, &type, nullptr) == S_OK) {
        const WAVEFORMATEX* wave = WaveFormatOf(type);
        if (wave != nullptr && wave->wBitsPerSample == bitsPerSample && wave->nSamplesPerSec == samplesPerSec) {
            *out = type;
            return TRUE;
        }
        DeleteMediaType(type);
    }
    return FALSE;
}

BOOL CAcmWrapperFilter::GetAudioFormat(WAVEFORMATEX* out, DWORD samplesPerSec, WORD bitsPerSample) {
    if (out == nullptr) return FALSE;
    AM_MEDIA_TYPE* type = nullptr;
    if (!FindAudioType(&type, samplesPerSec, bitsPerSample)) return FALSE;
    CopyWaveFields(out, *WaveFormatOf(type));
    DeleteMediaType(type);
    return TRUE;
}

BOOL CAcmWrapperFilter::SetAudioFormat(DWORD samplesPerSec, WORD bitsPerSample) {
    if (m_pStreamConfig == nullptr) return FALSE;
    AM_MEDIA_TYPE* type = nullptr;
    if (!FindAudioType(&type, samplesPerSec, bitsPerSample)) return FALSE;
    const HRESULT hr = m_pStreamConfig->SetFormat(type);
    DeleteMediaType(type);
    return hr == S_OK ? TRUE : FALSE;
}
