// The Overlay Mixer: input pin "Input0" with the overlay's configuration (IMixerPinConfig2:
// position, z-order, colour key, blending, aspect ratio, transparency, colour controls) and an
// output pin for the video renderer that offers the input's picture as an overlay type, and
// through which the frames of "Input0" pass on.
#pragma once

#include <mutex>

#include "TransformPins.h"
#include "mpconfig.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class MixerPinConfigMixin : public IMixerPinConfig2 {
public:
    using Interface = IMixerPinConfig2;

    STDMETHODIMP SetRelativePosition(DWORD dwLeft, DWORD dwTop, DWORD dwRight, DWORD dwBottom) override;
    STDMETHODIMP GetRelativePosition(DWORD* pdwLeft, DWORD* pdwTop, DWORD* pdwRight, DWORD* pdwBottom) override;
    STDMETHODIMP SetZOrder(DWORD dwZOrder) override;
    STDMETHODIMP GetZOrder(DWORD* pdwZOrder) override;
    STDMETHODIMP SetColorKey(COLORKEY* pColorKey) override;
    STDMETHODIMP GetColorKey(COLORKEY* pColorKey, DWORD* pColor) override;
    STDMETHODIMP SetBlendingParameter(DWORD dwBlendingParameter) override;
    STDMETHODIMP GetBlendingParameter(DWORD* pdwBlendingParameter) override;
    STDMETHODIMP SetAspectRatioMode(AM_ASPECT_RATIO_MODE amAspectRatioMode) override;
    STDMETHODIMP GetAspectRatioMode(AM_ASPECT_RATIO_MODE* pamAspectRatioMode) override;
    STDMETHODIMP SetStreamTransparent(BOOL bStreamTransparent) override;
    STDMETHODIMP GetStreamTransparent(BOOL* pbStreamTransparent) override;
    STDMETHODIMP SetOverlaySurfaceColorControls(LPDDCOLORCONTROL pColorControl) override;
    STDMETHODIMP GetOverlaySurfaceColorControls(LPDDCOLORCONTROL pColorControl) override;

protected:
    virtual ~MixerPinConfigMixin() = default;

private:
    std::mutex m_lock;
    DWORD m_position[4] = {0, 0, 10000, 10000};
    DWORD m_zOrder = 0;
    COLORKEY m_colorKey = {CK_RGB, 0, 0x00100010, 0x00100010};
    DWORD m_blending = 255;
    AM_ASPECT_RATIO_MODE m_aspect = AM_ARMODE_STRETCHED;
    BOOL m_transparent = FALSE;
    DDCOLORCONTROL m_colors = {sizeof(DDCOLORCONTROL), 0x1F, 750, 10000, 0, 10000, 5, 1, 1, 0};
};

class OverlayInputPin : public With<PinBase, MixerPinConfigMixin> {
public:
    using With::With;
};

class OverlayMixerFilter : public FilterBase {
public:
    OverlayMixerFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;
    HRESULT OnReceive(PinBase* pin, IMediaSample* sample) override;
};

}  // namespace platform::dshow
