// The driver of a device that publishes no private property set.
#include "hwsim/drivers/DeviceDriver.h"

namespace hwsim {

DeviceDriver::DeviceDriver(Card& card) : KsDriver(card) {}

HRESULT DeviceDriver::Enter(const std::string& call) {
    if (!GetCard().IsPlugged()) return kDeviceGone;
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(call);
    return m_failing.count(call.substr(0, call.find(' '))) ? E_FAIL : S_OK;
}

std::vector<std::string> DeviceDriver::Calls() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

void DeviceDriver::ClearCalls() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.clear();
}

void DeviceDriver::SetAbsent(const std::string& interfaceName, bool absent) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (absent) {
        m_absent.insert(interfaceName);
    } else {
        m_absent.erase(interfaceName);
    }
}

bool DeviceDriver::IsAbsent(const std::string& interfaceName) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_absent.count(interfaceName) != 0;
}

void DeviceDriver::SetFailing(const std::string& call, bool failing) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (failing) {
        m_failing.insert(call);
    } else {
        m_failing.erase(call);
    }
}

}  // namespace hwsim
