// The stand-in's audio renderers play nothing; what they measure of the audio that reached
// them is read through this interface (tests, the displays).
#pragma once

#include "strmif.h"

DEFINE_DSHOW_GUID(IID_IAudioMeter, 0x0191);

struct IAudioMeter : public IUnknown {
    // Sample frames received since the renderer last left Stop.
    STDMETHOD(GetFramesReceived)(ULONGLONG* frames) PURE;
    // Over the last second of the first channel: the largest magnitude as a fraction of full
    // scale, and the dominant tone's frequency in Hz (0 when there is none).
    STDMETHOD(GetLevel)(double* peak, double* frequency) PURE;
};
PLATFORM_INTERFACE_TRAITS(IAudioMeter, IUnknown);
