// The Overlay Mixer.
#include "OverlayMixer.h"

#include <cstring>

#include "dshow/Inject.h"
#include "dshow/StoreLocked.h"
#include "dvdmedia.h"

namespace platform::dshow {

STDMETHODIMP MixerPinConfigMixin::SetRelativePosition(DWORD dwLeft, DWORD dwTop, DWORD dwRight, DWORD dwBottom) {
    if (dwLeft > dwRight || dwTop > dwBottom || dwRight > 10000 || dwBottom > 10000) return E_INVALIDARG;
    return StoreLocked(m_lock, std::tie(m_position[0], m_position[1], m_position[2], m_position[3]), dwLeft, dwTop,
                       dwRight, dwBottom);
}

STDMETHODIMP MixerPinConfigMixin::GetRelativePosition(DWORD* pdwLeft, DWORD* pdwTop, DWORD* pdwRight,
                                                      DWORD* pdwBottom) {
    if (!pdwLeft || !pdwTop || !pdwRight || !pdwBottom) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pdwLeft = m_position[0];
    *pdwTop = m_position[1];
    *pdwRight = m_position[2];
    *pdwBottom = m_position[3];
    return S_OK;
}

STDMETHODIMP MixerPinConfigMixin::SetZOrder(DWORD dwZOrder) {
    return StoreLocked(m_lock, std::tie(m_zOrder), dwZOrder);
}

STDMETHODIMP MixerPinConfigMixin::GetZOrder(DWORD* pdwZOrder) {
    if (!pdwZOrder) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pdwZOrder = m_zOrder;
    return S_OK;
}

STDMETHODIMP MixerPinConfigMixin::SetColorKey(COLORKEY* pColorKey) {
    if (!pColorKey) return E_POINTER;
    HRESULT hr;
    if (Injected("IMixerPinConfig::SetColorKey", E_FAIL, &hr)) return hr;
    if (pColorKey->KeyType > (CK_INDEX | CK_RGB)) return E_INVALIDARG;
    return StoreLocked(m_lock, std::tie(m_colorKey), *pColorKey);
}

STDMETHODIMP MixerPinConfigMixin::GetColorKey(COLORKEY* pColorKey, DWORD* pColor) {
    HRESULT hr;
    if (Injected("IMixerPinConfig::GetColorKey", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    if (pColorKey) *pColorKey = m_colorKey;
    if (pColor) *pColor = m_colorKey.LowColorValue;
    return S_OK;
}

STDMETHODIMP MixerPinConfigMixin::SetBlendingParameter(DWORD dwBlendingParameter) {
    if (dwBlendingParameter > 255) return E_INVALIDARG;
    return StoreLocked(m_lock, std::tie(m_blending), dwBlendingParameter);
}

STDMETHODIMP MixerPinConfigMixin::GetBlendingParameter(DWORD* pdwBlendingParameter) {
    if (!pdwBlendingParameter) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pdwBlendingParameter = m_blending;
    return S_OK;
}

STDMETHODIMP MixerPinConfigMixin::SetAspectRatioMode(AM_ASPECT_RATIO_MODE amAspectRatioMode) {
    if (amAspectRatioMode < AM_ARMODE_STRETCHED || amAspectRatioMode > AM_ARMODE_STRETCHED_AS_PRIMARY)
        return E_INVALIDARG;
    HRESULT hr;
    if (Injected("IMixerPinConfig::SetAspectRatioMode", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_aspect), amAspectRatioMode);
}

STDMETHODIMP MixerPinConfigMixin::GetAspectRatioMode(AM_ASPECT_RATIO_MODE* pamAspectRatioMode) {
    if (!pamAspectRatioMode) return E_POINTER;
    HRESULT hr;
    if (Injected("IMixerPinConfig::GetAspectRatioMode", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *pamAspectRatioMode = m_aspect;
    return S_OK;
}

STDMETHODIMP MixerPinConfigMixin::SetStreamTransparent(BOOL bStreamTransparent) {
    return StoreLocked(m_lock, std::tie(m_transparent), bStreamTransparent);
}

STDMETHODIMP MixerPinConfigMixin::GetStreamTransparent(BOOL* pbStreamTransparent) {
    if (!pbStreamTransparent) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pbStreamTransparent = m_transparent;
    return S_OK;
}

// Sets the controls whose flag is given; the others keep their values.
STDMETHODIMP MixerPinConfigMixin::SetOverlaySurfaceColorControls(LPDDCOLORCONTROL pColorControl) {
    if (!pColorControl) return E_POINTER;
    HRESULT hr;
    if (Injected("IMixerPinConfig2::SetOverlaySurfaceColorControls", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    const DDCOLORCONTROL& c = *pColorControl;
    if (c.dwFlags & DDCOLOR_BRIGHTNESS) m_colors.lBrightness = c.lBrightness;
    if (c.dwFlags & DDCOLOR_CONTRAST) m_colors.lContrast = c.lContrast;
    if (c.dwFlags & DDCOLOR_HUE) m_colors.lHue = c.lHue;
    if (c.dwFlags & DDCOLOR_SATURATION) m_colors.lSaturation = c.lSaturation;
    if (c.dwFlags & DDCOLOR_SHARPNESS) m_colors.lSharpness = c.lSharpness;
    if (c.dwFlags & DDCOLOR_GAMMA) m_colors.lGamma = c.lGamma;
    if (c.dwFlags & DDCOLOR_COLORENABLE) m_colors.lColorEnable = c.lColorEnable;
    return S_OK;
}

STDMETHODIMP MixerPinConfigMixin::GetOverlaySurfaceColorControls(LPDDCOLORCONTROL pColorControl) {
    if (!pColorControl) return E_POINTER;
    HRESULT hr;
    if (Injected("IMixerPinConfig2::GetOverlaySurfaceColorControls", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *pColorControl = m_colors;
    return S_OK;
}

OverlayMixerFilter::OverlayMixerFilter() : FilterBase(CLSID_OverlayMixer) {
    CComPtr<PinBase> input, output;
    input.Attach(new OverlayInputPin(
        this, PinDescription{PINDIR_INPUT, L"Input0", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, GUID_NULL)}}));
    output.Attach(new FollowingOutputPin(this, L"Output"));
    AddPin(input);
    AddPin(output);
}

namespace {

// The overlay type of an input: its format block, whose header names the picture, RGB565 by its
// bit fields (the masks after the header).
MediaType OverlayTypeOf(const MediaType& in) {
    std::vector<BYTE> format(in.Format(), in.Format() + in.FormatSize());
    const size_t headerEnd = IsEqualGUID(in.FormatType(), FORMAT_VideoInfo)    ? sizeof(VIDEOINFOHEADER)
                             : IsEqualGUID(in.FormatType(), FORMAT_VideoInfo2) ? sizeof(VIDEOINFOHEADER2)
                                                                               : 0;
    if (headerEnd && format.size() >= headerEnd && IsEqualGUID(in.Subtype(), MEDIASUBTYPE_RGB565)) {
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        format.resize(headerEnd);
        format.insert(format.end(), reinterpret_cast<const BYTE*>(masks), reinterpret_cast<const BYTE*>(masks + 3));
        BITMAPINFOHEADER header;
        std::memcpy(&header, format.data() + headerEnd - sizeof header, sizeof header);
        header.biCompression = BI_BITFIELDS;
        std::memcpy(format.data() + headerEnd - sizeof header, &header, sizeof header);
    }
    return MediaType(MEDIATYPE_Video, MEDIASUBTYPE_Overlay, in.FormatType(), format.data(), ULONG(format.size()));
}

}  // namespace

void OverlayMixerFilter::OnPinConnected(PinBase* pin) {
    if (pin->Direction() != PINDIR_INPUT) return;
    FollowInput(this, {OverlayTypeOf(pin->ConnectionType())});
}

void OverlayMixerFilter::OnPinDisconnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT) FollowInput(this, {});
}

HRESULT OverlayMixerFilter::OnReceive(PinBase*, IMediaSample* sample) {
    auto outputs = ConnectedOutputs();
    return outputs.empty() ? S_OK : outputs.front()->Deliver(sample);
}

}  // namespace platform::dshow
