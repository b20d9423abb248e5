// The EMP USB audio device "USB EMP Audio Device" (audio input category): output, input,
// output and input pins in that order, each input with IAMAudioInputMixer (put_Enable kept),
// the first output offering PCM through IAMStreamConfig. Its driver's control object
// (CLSID_EmpAudioControl) is in the class table while the device is plugged: its calls are
// recorded on the driver ("EnableAudio 1"), can fail (SetFailing("EnableAudio")), and the
// object is missing while the driver has "IEmpAudioControl" absent.
#pragma once

#include <memory>

#include "hwsim/drivers/DeviceDriver.h"
#include "platform/comobject.h"
#include "platform/dshow/FilterBase.h"

namespace hwsim {

inline constexpr const char kEmpAudioDeviceName[] = "USB EMP Audio Device";

// {5A1D0C0A-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kEmpAudioFilterClsid = {0x5A1D0C0A, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class EmpAudioFilter : public platform::dshow::FilterBase {
public:
    explicit EmpAudioFilter(std::shared_ptr<DeviceDriver> driver);

private:
    const std::shared_ptr<DeviceDriver> m_driver;
};

// Enters the control object's class for `driver`'s device; returns the cookie for
// platform::UnregisterComClass.
DWORD RegisterEmpAudioControl(std::shared_ptr<DeviceDriver> driver);

}  // namespace hwsim
