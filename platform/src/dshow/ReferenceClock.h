// The graph's reference clock: the platform clock in 100 ns units, so that it runs virtual in
// tests. Advise requests are not offered: the stand-in's sources pace themselves with
// platform waits.
#pragma once

#include "platform/comobject.h"
#include "strmif.h"

namespace platform::dshow {

class ReferenceClock : public ComObject<IReferenceClock> {
public:
    STDMETHODIMP GetTime(REFERENCE_TIME* pTime) override;
    STDMETHODIMP AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                            DWORD_PTR* pdwAdviseCookie) override;
    STDMETHODIMP AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                                DWORD_PTR* pdwAdviseCookie) override;
    STDMETHODIMP Unadvise(DWORD_PTR dwAdviseCookie) override;
};

}  // namespace platform::dshow
