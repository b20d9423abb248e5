// The encoder box driver's second object: the recording capacity (IRecordCapacity), in MB.
#include "hwsim/drivers/BoxRecordCapacity.h"

#include <stdexcept>

namespace hwsim {

STDMETHODIMP BoxRecordCapacity::GetRecordCapacity(DWORD* pdwMegabytes) {
    if (!pdwMegabytes) return E_POINTER;
    if (m_fail) return E_FAIL;
    *pdwMegabytes = m_capacity;
    return S_OK;
}

STDMETHODIMP BoxRecordCapacity::SetRecordCapacity(DWORD dwMegabytes) {
    if (m_throw) throw std::runtime_error("record capacity: driver fault");
    if (m_fail) return E_FAIL;
    m_capacity = dwMegabytes;
    return S_OK;
}

}  // namespace hwsim
