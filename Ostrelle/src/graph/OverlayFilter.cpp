// COverlayFilter: the wrapper of the Overlay Mixer, registered by its CLSID.
#include "graph/OverlayFilter.h"

#include <cstring>
#include <new>

#include "graph/FilterWrapperClass.h"

CFilterClassRecord COverlayFilter::s_classRecord = Record(&CLSID_OverlayMixer, nullptr, "Overlay Mixer");

namespace {

struct ColorControlRow {
    DWORD flag;
    LONG DDCOLORCONTROL::*field;
    LONG minimum;
    LONG maximum;
    LONG defaultValue;
};

const ColorControlRow kColorControls[COverlayFilter::COLOR_CONTROL_COUNT] = {
    {DDCOLOR_BRIGHTNESS, &DDCOLORCONTROL::lBrightness, 0, 10000, 750},
    {DDCOLOR_CONTRAST, &DDCOLORCONTROL::lContrast, 0, 20000, 10000},
    {DDCOLOR_HUE, &DDCOLORCONTROL::lHue, -180, 180, 0},
    {DDCOLOR_SATURATION, &DDCOLORCONTROL::lSaturation, 0, 20000, 10000},
    {DDCOLOR_SHARPNESS, &DDCOLORCONTROL::lSharpness, 0, 10, 5},
};

bool IsControl(int which) {
    return which >= 0 && which < COverlayFilter::COLOR_CONTROL_COUNT;
}

}  // namespace

COverlayFilter::~COverlayFilter() {
    delete m_pColorControl;
    m_pColorControl = nullptr;
    m_pPinConfig.Release();
}

BOOL COverlayFilter::Init() {
    m_pPinConfig.Release();
    delete m_pColorControl;
    m_pColorControl = nullptr;
    if (!IsValid()) return FALSE;
    CRootPin* input = FindPin("Input0");
    if (input == nullptr || input->GetPin() == nullptr) return TRUE;
    if (FAILED(input->GetPin()->QueryInterface(IID_IMixerPinConfig2, reinterpret_cast<void**>(&m_pPinConfig)))) {
        m_pPinConfig.Release();
        return TRUE;
    }
    m_pColorControl = new (std::nothrow) DDCOLORCONTROL;
    if (m_pColorControl != nullptr) {
        std::memset(m_pColorControl, 0, sizeof(*m_pColorControl));
        m_pColorControl->dwSize = sizeof(*m_pColorControl);
    }
    return TRUE;
}

BOOL COverlayFilter::SetAspectRatioMode(BOOL letterBox) {
    if (m_pPinConfig == nullptr) return FALSE;
    const AM_ASPECT_RATIO_MODE mode = letterBox ? AM_ARMODE_LETTER_BOX : AM_ARMODE_STRETCHED;
    return SUCCEEDED(m_pPinConfig->SetAspectRatioMode(mode)) ? TRUE : FALSE;
}

BOOL COverlayFilter::GetAspectRatioMode(BOOL* letterBox) {
    if (m_pPinConfig == nullptr || letterBox == nullptr) return FALSE;
    AM_ASPECT_RATIO_MODE mode = AM_ARMODE_STRETCHED;
    if (FAILED(m_pPinConfig->GetAspectRatioMode(&mode))) return FALSE;
    *letterBox = mode == AM_ARMODE_LETTER_BOX ? TRUE : FALSE;
    return TRUE;
}

BOOL COverlayFilter::SetColorKey(COLORREF color) {
    COLORKEY key = {CK_RGB, 0, color, color};
    if (m_pPinConfig == nullptr) return FALSE;
    return SUCCEEDED(m_pPinConfig->SetColorKey(&key)) ? TRUE : FALSE;
}

BOOL COverlayFilter::GetColorKey(COLORREF* color) {
    COLORKEY key;
    std::memset(&key, 0, sizeof(key));
    DWORD keyColor = 0;
    if (m_pPinConfig == nullptr || color == nullptr) return FALSE;
    if (FAILED(m_pPinConfig->GetColorKey(&key, &keyColor))) return FALSE;
    *color = key.LowColorValue;
    return TRUE;
}

BOOL COverlayFilter::SetColorControl(int which, LONG value) {
    if (m_pPinConfig == nullptr || m_pColorControl == nullptr || !IsControl(which)) return FALSE;
    const ColorControlRow& row = kColorControls[which];
    m_pColorControl->dwFlags = row.flag;
    m_pColorControl->*row.field = value;
    return SUCCEEDED(m_pPinConfig->SetOverlaySurfaceColorControls(m_pColorControl)) ? TRUE : FALSE;
}

BOOL COverlayFilter::GetColorControl(int which, LONG* value) {
    // The buffer exists only while the pin configuration is held.
    if (m_pColorControl == nullptr || !IsControl(which) || value == nullptr) return FALSE;
    const ColorControlRow& row = kColorControls[which];
    m_pColorControl->dwFlags = row.flag;
    if (FAILED(m_pPinConfig->GetOverlaySurfaceColorControls(m_pColorControl))) return FALSE;
    *value = m_pColorControl->*row.field;
    return TRUE;
}

BOOL COverlayFilter::GetColorControlRange(int which, LONG* minimum, LONG* maximum, LONG* defaultValue) {
    if (m_pPinConfig == nullptr || m_pColorControl == nullptr || !IsControl(which)) return FALSE;
    const ColorControlRow& row = kColorControls[which];
    if (minimum != nullptr) *minimum = row.minimum;
    if (maximum != nullptr) *maximum = row.maximum;
    if (defaultValue != nullptr) *defaultValue = row.defaultValue;
    return TRUE;
}
