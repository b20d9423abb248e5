// IAMTVTuner for TV tuner filters: channel, country, tuning space, mode, input connections
// and the TV formats the tuner supports. Drivers override the hooks to tune (and refuse) and
// to report the signal.
#pragma once

#include <mutex>
#include <vector>

#include "strmif.h"

namespace platform::dshow {

class PLATFORM_API TVTunerMixin : public IAMTVTuner {
public:
    using Interface = IAMTVTuner;

    void SetAvailableModes(long modes);
    void SetTVFormats(long available, long current);
    void SetChannelRange(long minimum, long maximum);
    void SetFrequencies(long videoHz, long audioHz);

    // IAMTuner
    STDMETHODIMP put_Channel(long lChannel, long lVideoSubChannel, long lAudioSubChannel) override;
    STDMETHODIMP get_Channel(long* plChannel, long* plVideoSubChannel, long* plAudioSubChannel) override;
    STDMETHODIMP ChannelMinMax(long* lChannelMin, long* lChannelMax) override;
    STDMETHODIMP put_CountryCode(long lCountryCode) override;
    STDMETHODIMP get_CountryCode(long* plCountryCode) override;
    STDMETHODIMP put_TuningSpace(long lTuningSpace) override;
    STDMETHODIMP get_TuningSpace(long* plTuningSpace) override;
    STDMETHODIMP Logon(HANDLE hCurrentUser) override;
    STDMETHODIMP Logout() override;
    STDMETHODIMP SignalPresent(long* plSignalStrength) override;
    STDMETHODIMP put_Mode(AMTunerModeType lMode) override;
    STDMETHODIMP get_Mode(AMTunerModeType* plMode) override;
    STDMETHODIMP GetAvailableModes(long* plModes) override;
    STDMETHODIMP RegisterNotificationCallBack(IAMTunerNotification* pNotify, long lEvents) override;
    STDMETHODIMP UnRegisterNotificationCallBack(IAMTunerNotification* pNotify) override;
    // IAMTVTuner
    STDMETHODIMP get_AvailableTVFormats(long* lAnalogVideoStandard) override;
    STDMETHODIMP get_TVFormat(long* plAnalogVideoStandard) override;
    STDMETHODIMP AutoTune(long lChannel, long* plFoundSignal) override;
    STDMETHODIMP StoreAutoTune() override;
    STDMETHODIMP get_NumInputConnections(long* plNumInputConnections) override;
    STDMETHODIMP put_InputType(long lIndex, TunerInputType InputType) override;
    STDMETHODIMP get_InputType(long lIndex, TunerInputType* pInputType) override;
    STDMETHODIMP put_ConnectInput(long lIndex) override;
    STDMETHODIMP get_ConnectInput(long* plIndex) override;
    STDMETHODIMP get_VideoFrequency(long* lFreq) override;
    STDMETHODIMP get_AudioFrequency(long* lFreq) override;

protected:
    virtual ~TVTunerMixin() = default;
    // The driver tunes the channel; a failure keeps the old channel.
    virtual HRESULT OnChannel(long channel, long videoSubChannel, long audioSubChannel) { return S_OK; }
    virtual HRESULT OnMode(AMTunerModeType mode) { return S_OK; }
    // AMTUNER_SIGNALPRESENT, AMTUNER_NOSIGNAL or AMTUNER_HASNOSIGNALSTRENGTH.
    virtual long SignalStrength() { return AMTUNER_HASNOSIGNALSTRENGTH; }

private:
    mutable std::mutex m_lock;
    long m_channel = 0, m_videoSub = AMTUNER_SUBCHAN_DEFAULT, m_audioSub = AMTUNER_SUBCHAN_DEFAULT;
    long m_minChannel = 1, m_maxChannel = 999;
    long m_country = 1, m_tuningSpace = 0;
    long m_modes = AMTUNER_MODE_TV;
    AMTunerModeType m_mode = AMTUNER_MODE_TV;
    long m_formats = 0, m_format = 0;
    std::vector<TunerInputType> m_inputs{TunerInputCable};
    long m_connectInput = 0;
    long m_videoHz = 0, m_audioHz = 0;
};

}  // namespace platform::dshow
