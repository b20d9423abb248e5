// The driver of a device that publishes no private property set: a DV camera, a USB camera or
// audio device, the DVB-C board. Its filters answer DirectShow's own interfaces (or a private
// COM interface) and keep here what they were asked, and the faults a test gives them: an
// interface the filter does not have, a call that fails.
#pragma once

#include <set>
#include <string>

#include "hwsim/drivers/KsDriver.h"
#include "ks.h"
#include "unknwn.h"

namespace hwsim {

class DeviceDriver : public KsDriver {
public:
    explicit DeviceDriver(Card& card);

    std::vector<GUID> Sets() const override { return {}; }

    // ---- calls, in order: "Tune 474000 6875" ----
    // The answer of a call named `call` (its first word names it for SetFailing): kDeviceGone
    // once the card is unplugged, E_FAIL while the call fails, else S_OK. Recorded.
    HRESULT Enter(const std::string& call);
    std::vector<std::string> Calls() const;
    void ClearCalls();

    // ---- faults ----
    // The filter answers E_NOINTERFACE for the interface of this name ("IAMExtDevice").
    void SetAbsent(const std::string& interfaceName, bool absent);
    bool IsAbsent(const std::string& interfaceName) const;
    // True when `riid` is interface I and I is absent.
    template <class I>
    bool Refuses(REFIID riid) const {
        return IsEqualGUID(riid, platform::InterfaceTraits<I>::Iid()) && IsAbsent(platform::InterfaceTraits<I>::kName);
    }
    // The call of this name answers E_FAIL.
    void SetFailing(const std::string& call, bool failing);

protected:
    const char* SetName(REFGUID) const override { return nullptr; }
    DWORD Support(REFGUID, DWORD) const override { return 0; }
    HRESULT Answer(REFGUID, Request&) override { return E_PROP_SET_UNSUPPORTED; }

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_calls;
    std::set<std::string> m_absent;
    std::set<std::string> m_failing;
};

}  // namespace hwsim
