// IAMVideoProcAmp for capture filters: brightness, contrast, hue and the other picture
// controls, each with its range, value and flags. Drivers override OnProcAmp to apply a value.
#pragma once

#include <map>
#include <mutex>

#include "strmif.h"

namespace platform::dshow {

struct ProcAmpRange {
    long minimum = 0, maximum = 0, step = 1, defaultValue = 0;
    long capsFlags = VideoProcAmp_Flags_Manual;
};

class PLATFORM_API VideoProcAmpMixin : public IAMVideoProcAmp {
public:
    using Interface = IAMVideoProcAmp;

    // Makes a property available, set to its default.
    void SetProcAmpRange(long property, ProcAmpRange range);

    // E_PROP_ID_UNSUPPORTED for a property without a range.
    STDMETHODIMP GetRange(long Property, long* pMin, long* pMax, long* pSteppingDelta, long* pDefault,
                          long* pCapsFlags) override;
    // E_INVALIDARG for a value outside the range.
    STDMETHODIMP Set(long Property, long lValue, long Flags) override;
    STDMETHODIMP Get(long Property, long* lValue, long* Flags) override;

protected:
    virtual ~VideoProcAmpMixin() = default;
    virtual HRESULT OnProcAmp(long property, long value, long flags) { return S_OK; }

private:
    struct Control {
        ProcAmpRange range;
        long value = 0;
        long flags = VideoProcAmp_Flags_Manual;
    };
    mutable std::mutex m_lock;
    std::map<long, Control> m_controls;
};

}  // namespace platform::dshow
