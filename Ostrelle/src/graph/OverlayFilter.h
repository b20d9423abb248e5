// COverlayFilter: the wrapper of the Overlay Mixer, registered by its CLSID. Through the
// mixer's input pin "Input0" (IMixerPinConfig2) it offers the overlay's aspect-ratio mode, its
// colour key and its five colour controls with fixed ranges and defaults. A mixer without that
// pin or interface gives a valid wrapper whose overlay operations answer FALSE.
//
// All colour-control calls share one buffer: the wrapper is used on the graph's thread only.
#pragma once

#include <mpconfig.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class COverlayFilter : public CFilterWrapper<COverlayFilter> {
public:
    // The colour controls, by the operations' `which`.
    enum { BRIGHTNESS = 0, CONTRAST, HUE, SATURATION, SHARPNESS, COLOR_CONTROL_COUNT };

    using CFilterWrapper::CFilterWrapper;
    ~COverlayFilter() override;

    // FALSE only for an invalid filter; opens "Input0"'s IMixerPinConfig2 where there is one.
    BOOL Init() override;

    BOOL SetAspectRatioMode(BOOL letterBox);
    // TRUE in *letterBox exactly when the mode read is letter box.
    BOOL GetAspectRatioMode(BOOL* letterBox);
    // An RGB colour key of `color` (low and high value both).
    BOOL SetColorKey(COLORREF color);
    BOOL GetColorKey(COLORREF* color);
    // Sets or reads one colour control (flags of that control alone); FALSE for `which` outside
    // 0 to 4, without a call.
    BOOL SetColorControl(int which, LONG value);
    BOOL GetColorControl(int which, LONG* value);
    // The control's range and default from the table; NULL pointers are skipped.
    BOOL GetColorControlRange(int which, LONG* minimum, LONG* maximum, LONG* defaultValue);

    static CFilterClassRecord s_classRecord;

private:
    CComPtr<IMixerPinConfig2> m_pPinConfig;
    DDCOLORCONTROL* m_pColorControl = nullptr;
};
