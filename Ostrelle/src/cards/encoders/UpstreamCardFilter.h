// CUpstreamCardFilter: what the cards share whose crossbar, TV tuner and TV-audio devices are
// filters of their own upstream of the capture filter (the Rivesk and Prisko encoder cards and
// the Fimbrel card). The card finds them through the capture graph builder while it opens,
// holds them, puts the tuner device into TV mode, and takes them out of the filter graph again
// when it is destroyed.
#pragma once

#include <new>

#include "cards/base/TVCardFilter.h"

class CUpstreamCardFilter : public CTVCardFilter {
public:
    using CTVCardFilter::CTVCardFilter;
    // Stops the card's threads; takes the tuner, TV-audio and crossbar devices out of the
    // filter graph, in this order, and releases them.
    ~CUpstreamCardFilter() override;

    // The crossbar with one reference added, NULL (no reference) when none was found; S_OK.
    // E_POINTER for a null out.
    HRESULT GetCrossbar(IAMCrossbar** out);
    // The TV-audio device's IAMTVAudio. E_POINTER for a null out or without the device.
    HRESULT GetTVAudio(IAMTVAudio** out);
    // The upstream searches; each answers S_OK at once while it holds what it finds.
    HRESULT FindCrossbar();
    HRESULT FindTVTuner();
    HRESULT FindTVAudio();

protected:
    // What the access object is initialised on when a tuner device was found.
    enum class AccessDevice { CaptureFilter, TunerDevice };
    // How the tuner device is started: TV mode, or TV mode on channel (1, 0, 0).
    enum class TunerStart { TVMode, TVModeOnChannelOne };

    // Drops the devices held (InitNames).
    void ClearUpstreamDevices();
    // The access set-up: E_FAIL while an access object is held; the kind recorded; a new object
    // of the access class (E_OUTOFMEMORY when none is made); then InitUpstreamAccess.
    template <class Access>
    HRESULT OpenUpstreamAccess(int kind, AccessDevice device, TunerStart start) {
        if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
        m_nAccessKind = kind;
        m_pAccess = new (std::nothrow) Access();
        if (m_pAccess == nullptr) return E_OUTOFMEMORY;
        return InitUpstreamAccess(device, start);
    }
    // The upstream search (SearchUpstreamInGraph: tuner, crossbar, TV audio; skipped without an
    // owner graph or builder). Without a tuner device the access object's Init(capture filter,
    // no card), kept on failure until ReleaseAccess. With one, Init(the `device`; this card),
    // the object deleted again when that fails, and the tuner device started as `start` says
    // whatever Init gave. The result of Init.
    HRESULT InitUpstreamAccess(AccessDevice device, TunerStart start);
    // IAMCrossbar::Route(output, input) on the crossbar (searched first). FALSE without a
    // crossbar, or for a pin the crossbar does not have (a negative input included: the crossbar
    // would take the route away), or when the route is refused.
    BOOL RouteCrossbarPins(long output, long input);

private:
    CComPtr<IAMCrossbar> m_pCrossbar;
    CComPtr<IAMTVTuner> m_pTVTuner;
    CComPtr<IBaseFilter> m_pCrossbarFilter;
    CComPtr<IBaseFilter> m_pTVAudioFilter;
};
