// The graph's reference clock.
#include "ReferenceClock.h"

#include "platform/runtime.h"

namespace platform::dshow {

STDMETHODIMP ReferenceClock::GetTime(REFERENCE_TIME* pTime) {
    if (!pTime) return E_POINTER;
    *pTime = REFERENCE_TIME(ClockNow()) * 10000;
    return S_OK;
}

STDMETHODIMP ReferenceClock::AdviseTime(REFERENCE_TIME, REFERENCE_TIME, HEVENT, DWORD_PTR* pdwAdviseCookie) {
    if (pdwAdviseCookie) *pdwAdviseCookie = 0;
    return E_NOTIMPL;
}

STDMETHODIMP ReferenceClock::AdvisePeriodic(REFERENCE_TIME, REFERENCE_TIME, HSEMAPHORE, DWORD_PTR* pdwAdviseCookie) {
    if (pdwAdviseCookie) *pdwAdviseCookie = 0;
    return E_NOTIMPL;
}

STDMETHODIMP ReferenceClock::Unadvise(DWORD_PTR) { return E_NOTIMPL; }

}  // namespace platform::dshow
