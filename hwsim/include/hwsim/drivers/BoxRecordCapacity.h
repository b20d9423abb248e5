// The encoder box driver's second object: the recording capacity (IRecordCapacity), in MB.
// Tests make its calls fail, or make SetRecordCapacity throw, as a driver fault would.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "platform/comobject.h"
#include "recordcapacity.h"

namespace hwsim {

class BoxRecordCapacity : public platform::ComObject<IRecordCapacity> {
public:
    BoxRecordCapacity() = default;

    STDMETHODIMP Reserved4() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved5() override { return E_NOTIMPL; }
    STDMETHODIMP GetRecordCapacity(DWORD* pdwMegabytes) override;
    STDMETHODIMP SetRecordCapacity(DWORD dwMegabytes) override;

    DWORD Capacity() const { return m_capacity; }
    void SetCapacity(DWORD megabytes) { m_capacity = megabytes; }
    // The next calls answer E_FAIL.
    void FailCalls(bool fail) { m_fail = fail; }
    // SetRecordCapacity throws std::runtime_error.
    void ThrowOnSet(bool raise) { m_throw = raise; }

private:
    std::atomic<DWORD> m_capacity{0};
    std::atomic<bool> m_fail{false};
    std::atomic<bool> m_throw{false};
};

}  // namespace hwsim
