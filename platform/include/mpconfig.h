// The Overlay Mixer's input-pin configuration: position, colour key, aspect ratio and the
// overlay surface's colour controls.
#pragma once

#include "strmif.h"

DEFINE_DSHOW_GUID(IID_IMixerPinConfig, 0x0160);
DEFINE_GUID(IID_IMixerPinConfig2, 0xEBF47182, 0x8764, 0x11D1, 0x9E, 0x69, 0x00, 0xC0, 0x4F, 0xD7, 0xC1, 0x5B);

typedef enum _AM_ASPECT_RATIO_MODE {
    AM_ARMODE_STRETCHED = 0,
    AM_ARMODE_LETTER_BOX = 1,
    AM_ARMODE_CROP = 2,
    AM_ARMODE_STRETCHED_AS_PRIMARY = 3,
} AM_ASPECT_RATIO_MODE;

typedef enum _AM_TRANSPARENCY_MODE { AM_TRANSPARENCY_KEY = 0 } AM_TRANSPARENCY_MODE;

#define CK_NOCOLORKEY 0x0
#define CK_INDEX 0x1
#define CK_RGB 0x2

typedef struct tagCOLORKEY {
    DWORD KeyType;
    DWORD PaletteIndex;
    COLORREF LowColorValue;
    COLORREF HighColorValue;
} COLORKEY;

#define DDCOLOR_BRIGHTNESS 0x00000001
#define DDCOLOR_CONTRAST 0x00000002
#define DDCOLOR_HUE 0x00000004
#define DDCOLOR_SATURATION 0x00000008
#define DDCOLOR_SHARPNESS 0x00000010
#define DDCOLOR_GAMMA 0x00000020
#define DDCOLOR_COLORENABLE 0x00000040

typedef struct _DDCOLORCONTROL {
    DWORD dwSize;
    DWORD dwFlags;
    LONG lBrightness;
    LONG lContrast;
    LONG lHue;
    LONG lSaturation;
    LONG lSharpness;
    LONG lGamma;
    LONG lColorEnable;
    DWORD dwReserved1;
} DDCOLORCONTROL, *LPDDCOLORCONTROL;
static_assert(sizeof(DDCOLORCONTROL) == 40);

struct IMixerPinConfig : public IUnknown {
    STDMETHOD(SetRelativePosition)(DWORD dwLeft, DWORD dwTop, DWORD dwRight, DWORD dwBottom) PURE;
    STDMETHOD(GetRelativePosition)(DWORD* pdwLeft, DWORD* pdwTop, DWORD* pdwRight, DWORD* pdwBottom) PURE;
    STDMETHOD(SetZOrder)(DWORD dwZOrder) PURE;
    STDMETHOD(GetZOrder)(DWORD* pdwZOrder) PURE;
    STDMETHOD(SetColorKey)(COLORKEY* pColorKey) PURE;
    STDMETHOD(GetColorKey)(COLORKEY* pColorKey, DWORD* pColor) PURE;
    STDMETHOD(SetBlendingParameter)(DWORD dwBlendingParameter) PURE;
    STDMETHOD(GetBlendingParameter)(DWORD* pdwBlendingParameter) PURE;
    STDMETHOD(SetAspectRatioMode)(AM_ASPECT_RATIO_MODE amAspectRatioMode) PURE;
    STDMETHOD(GetAspectRatioMode)(AM_ASPECT_RATIO_MODE* pamAspectRatioMode) PURE;
    STDMETHOD(SetStreamTransparent)(BOOL bStreamTransparent) PURE;
    STDMETHOD(GetStreamTransparent)(BOOL* pbStreamTransparent) PURE;
};

struct IMixerPinConfig2 : public IMixerPinConfig {
    // Sets the controls whose DDCOLOR_ flag is in dwFlags.
    STDMETHOD(SetOverlaySurfaceColorControls)(LPDDCOLORCONTROL pColorControl) PURE;
    STDMETHOD(GetOverlaySurfaceColorControls)(LPDDCOLORCONTROL pColorControl) PURE;
};

PLATFORM_INTERFACE_TRAITS(IMixerPinConfig, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMixerPinConfig2, IMixerPinConfig);
