// The maker's own installed filters (package "vorlane"): the AV switch, with IAVSwitch, and
// the time-delay filter, without a private interface.
#pragma once

#include "hwsim/installed/InstalledFilter.h"
#include "makers/vorlane.h"

namespace hwsim {

class AvSwitchControl : public PrivateInterface<IAVSwitch> {
public:
    // Where the switch keeps its VARIANT_BOOL (on at the start).
    static constexpr DWORD kSwitchParam = 0;

    STDMETHODIMP get_Switch(VARIANT_BOOL* pOn) override;  // slot 3
    STDMETHODIMP put_Switch(VARIANT_BOOL on) override;    // slot 4
};

// Video and audio in, video and audio out.
class AvSwitchFilter : public InstalledFilterOf<AvSwitchControl> {
public:
    explicit AvSwitchFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv);
};

// One video input and one video output.
class TimeDelayFilter : public InstalledFilterOf<> {
public:
    explicit TimeDelayFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv);
};

}  // namespace hwsim
