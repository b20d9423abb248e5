// IAMTVAudio for TV-audio filters: the modes the hardware has, those available now, and the
// current mode. Drivers override OnTVAudioMode to apply a mode (or refuse it).
#pragma once

#include <mutex>

#include "strmif.h"

namespace platform::dshow {

class PLATFORM_API TVAudioMixin : public IAMTVAudio {
public:
    using Interface = IAMTVAudio;

    void SetTVAudioModes(long hardware, long available, long current);

    STDMETHODIMP GetHardwareSupportedTVAudioModes(long* plModes) override;
    STDMETHODIMP GetAvailableTVAudioModes(long* plModes) override;
    STDMETHODIMP get_TVAudioMode(long* plMode) override;
    // E_INVALIDARG for a mode that is not available.
    STDMETHODIMP put_TVAudioMode(long lMode) override;
    STDMETHODIMP RegisterNotificationCallBack(IAMTunerNotification* pNotify, long lEvents) override;
    STDMETHODIMP UnRegisterNotificationCallBack(IAMTunerNotification* pNotify) override;

protected:
    virtual ~TVAudioMixin() = default;
    virtual HRESULT OnTVAudioMode(long mode) { return S_OK; }

private:
    mutable std::mutex m_lock;
    long m_hardware = AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO;
    long m_available = AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO;
    long m_mode = AMTVAUDIO_MODE_STEREO;
};

}  // namespace platform::dshow
