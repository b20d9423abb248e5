// The EMP USB audio device "USB EMP Audio Device" (audio input category).
#include "hwsim/boards/EmpAudioDevice.h"

#include <string>

#include "drvpriv.h"
#include "platform/dshow/AudioInputMixerMixin.h"
#include "platform/dshow/CapabilityPin.h"
#include "platform/dshow/With.h"

namespace hwsim {

using platform::dshow::PinDescription;

namespace {

class MixerInputPin : public platform::dshow::With<platform::dshow::PinBase, platform::dshow::AudioInputMixerMixin> {
public:
    using With::With;
};

platform::dshow::StreamCapability PcmCapability() {
    AUDIO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = MEDIATYPE_Audio;
    caps.MinimumChannels = caps.MaximumChannels = 2;
    caps.ChannelsGranularity = 1;
    caps.MinimumBitsPerSample = caps.MaximumBitsPerSample = 16;
    caps.BitsPerSampleGranularity = 8;
    caps.MinimumSampleFrequency = caps.MaximumSampleFrequency = 48000;
    caps.SampleFrequencyGranularity = 1;
    return platform::dshow::StreamCapability::Audio(platform::dshow::PcmAudioType(2, 48000, 16), caps);
}

class EmpAudioControl : public platform::ComObject<IEmpAudioControl> {
public:
    explicit EmpAudioControl(std::shared_ptr<DeviceDriver> driver) : m_driver(std::move(driver)) {}

    STDMETHODIMP GetVersion(DWORD* version) override { return Read("GetVersion", version, 0x0100); }
    STDMETHODIMP GetInputCount(DWORD* count) override { return Read("GetInputCount", count, 2); }
    STDMETHODIMP SelectInput(DWORD input) override { return m_driver->Enter("SelectInput " + std::to_string(input)); }
    STDMETHODIMP GetSelectedInput(DWORD* input) override { return Read("GetSelectedInput", input, 0); }
    STDMETHODIMP EnableAudio(DWORD enable) override { return m_driver->Enter("EnableAudio " + std::to_string(enable)); }

private:
    HRESULT Read(const char* call, DWORD* out, DWORD value) {
        if (!out) return E_POINTER;
        const HRESULT hr = m_driver->Enter(call);
        if (SUCCEEDED(hr)) *out = value;
        return hr;
    }

    const std::shared_ptr<DeviceDriver> m_driver;
};

}  // namespace

EmpAudioFilter::EmpAudioFilter(std::shared_ptr<DeviceDriver> driver)
    : FilterBase(kEmpAudioFilterClsid), m_driver(std::move(driver)) {
    const platform::dshow::MediaType audio(MEDIATYPE_Audio, GUID_NULL);
    CComPtr<platform::dshow::PinBase> pin;
    pin.Attach(new platform::dshow::CapabilityPin(
        this, PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {}}, {PcmCapability()}));
    AddPin(pin);
    pin.Attach(new MixerInputPin(this, PinDescription{PINDIR_INPUT, L"Line In", L"", GUID_NULL, {audio}}));
    AddPin(pin);
    AddPin(PinDescription{PINDIR_OUTPUT, L"Monitor", L"", GUID_NULL, {platform::dshow::PcmAudioType(2, 48000, 16)}});
    pin.Attach(new MixerInputPin(this, PinDescription{PINDIR_INPUT, L"Tuner Audio In", L"", GUID_NULL, {audio}}));
    AddPin(pin);
}

DWORD RegisterEmpAudioControl(std::shared_ptr<DeviceDriver> driver) {
    return platform::RegisterComClass(
        CLSID_EmpAudioControl, [driver](IUnknown* outer, REFIID riid, void** ppv) -> HRESULT {
            if (!ppv) return E_POINTER;
            *ppv = nullptr;
            if (outer) return CLASS_E_NOAGGREGATION;
            if (driver->IsAbsent("IEmpAudioControl") || !driver->GetCard().IsPlugged()) return REGDB_E_CLASSNOTREG;
            auto* control = new EmpAudioControl(driver);
            const HRESULT hr = control->QueryInterface(riid, ppv);
            control->Release();
            return hr;
        });
}

}  // namespace hwsim
