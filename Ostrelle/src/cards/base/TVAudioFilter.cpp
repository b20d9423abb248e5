// CTVAudioFilter: the base wrapper of a card's TV-audio device.
#include "cards/base/TVAudioFilter.h"

#include "graph/FilterWrapperClass.h"
#include "uuids.h"

CTVAudioFilter::~CTVAudioFilter() { m_pTVAudio.Release(); }

BOOL CTVAudioFilter::Init() {
    m_pTVAudio.Release();
    if (!IsValid()) return FALSE;
    if (FAILED(m_pFilter->QueryInterface(IID_IAMTVAudio, reinterpret_cast<void**>(&m_pTVAudio)))) {
        m_pTVAudio.Release();
    }
    return m_pTVAudio != nullptr ? TRUE : FALSE;
}

BOOL CTVAudioFilter::GetTVAudioMode(long* mode) {
    if (m_pTVAudio == nullptr || mode == nullptr) return FALSE;
    return SUCCEEDED(m_pTVAudio->get_TVAudioMode(mode)) ? TRUE : FALSE;
}

BOOL CTVAudioFilter::GetAvailableTVAudioModes(long* modes) {
    if (m_pTVAudio == nullptr || modes == nullptr) return FALSE;
    return SUCCEEDED(m_pTVAudio->GetAvailableTVAudioModes(modes)) ? TRUE : FALSE;
}

BOOL CTVAudioFilter::GetHardwareSupportedTVAudioModes(long* modes) {
    if (m_pTVAudio == nullptr || modes == nullptr) return FALSE;
    return SUCCEEDED(m_pTVAudio->GetHardwareSupportedTVAudioModes(modes)) ? TRUE : FALSE;
}

BOOL CTVAudioFilter::SetTVAudioMode(long mode) {
    if (m_pTVAudio == nullptr) return FALSE;
    return SUCCEEDED(m_pTVAudio->put_TVAudioMode(mode)) ? TRUE : FALSE;
}

IMPLEMENT_CARD_FILTER_CLASS(C713xTVAudioFilter, &AM_KSCATEGORY_TVAUDIO, C713xTVAudioFilter::kDeviceName)
IMPLEMENT_CARD_FILTER_CLASS(C713x3TVAudioFilter, &AM_KSCATEGORY_TVAUDIO, C713x3TVAudioFilter::kDeviceName)
