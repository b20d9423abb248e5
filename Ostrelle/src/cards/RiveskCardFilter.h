// The Rivesk MPEG encoder card ("Rivesk Video Capture") and its crossbar. Its crossbar, TV
// tuner and TV-audio devices are filters of their own upstream of the capture filter: the
// card finds them through the capture graph builder when it opens, opens its hardware access
// (CRiveskAccess, access kind 11) on the tuner device (on the capture filter when there is
// none) and puts the tuner into TV mode on channel 1. It has no remote keys and no GPIO audio
// switch; the card manager switches its inputs through its crossbar router (RouteCrossbar). The Prisko card
// (PriskoCardFilter.h) is the same card under its own names.
#pragma once

#include "cards/CardClassRecord.h"
#include "cards/CrossbarRouter.h"
#include "cards/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

#define ACCESS_KIND_RIVESK 11

class CRiveskCardFilter : public CTVCardFilter, public CCrossbarRouter {
public:
    static constexpr const char kCaptureName[] = "Rivesk Video Capture";
    static constexpr const char kTunerFilterName[] = "Rivesk Tuner";
    // The tuner model whose mode chip SetTunerMode drives.
    static constexpr int kModeTunerModel = 100;

    using CTVCardFilter::CTVCardFilter;
    // Stops the card's threads; takes the tuner, TV-audio and crossbar devices out of the
    // filter graph, in this order, and releases them.
    ~CRiveskCardFilter() override;

    void InitNames() override;
    // E_NOTIMPL whatever the arguments: the card has no audio switch.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // Never a key.
    BOOL GetRemoteData(BYTE* key) override;
    // The upstream search (SearchUpstreamInGraph: tuner, crossbar, TV audio; skipped without an
    // owner graph or builder), then the access on the tuner device, deleted again when its Init
    // fails, with the tuner put to TV mode and channel (1, 0, 0) whatever that gave; without a
    // tuner device the access on the capture filter (kept on failure until ReleaseAccess).
    HRESULT InitAccess() override;

    // Routes crossbar input `input` to output `output` (IAMCrossbar::Route(output, input)).
    // FALSE without a crossbar, or for a pin the crossbar does not have (a negative input
    // included: the crossbar would take the route away), or when the route is refused.
    BOOL RouteCrossbar(long input, long output) override;
    // The crossbar with one reference added, NULL (no reference) when none was found; S_OK.
    // E_POINTER for a null out.
    HRESULT GetCrossbar(IAMCrossbar** out);
    // The TV-audio device's IAMTVAudio. E_POINTER for a null out or without the device.
    HRESULT GetTVAudio(IAMTVAudio** out);
    // On a card with tuner model 100: the tuner's SetMode(mode) and its result; otherwise 0
    // and nothing is done.
    BOOL SetTunerMode(long mode);
    // The upstream searches; each answers S_OK at once while it holds what it finds.
    HRESULT FindCrossbar();
    HRESULT FindTVTuner();
    HRESULT FindTVAudio();

    DECLARE_CARD_FILTER_CLASS();

protected:
    // The access kind InitAccess records (InitNames sets it).
    int m_nEncoderAccessKind = ACCESS_KIND_RIVESK;

private:
    CComPtr<IAMCrossbar> m_pCrossbar;
    CComPtr<IAMTVTuner> m_pTVTuner;
    CComPtr<IBaseFilter> m_pCrossbarFilter;
    CComPtr<IBaseFilter> m_pTVAudioFilter;
};

// Sources 0, 1, 2 by the crossbar's pin count: exactly 7 pins: video 0, 2, 1 and audio 3, 4,
// -1; any other count: video 1, 2, 0 and audio 4, 5, 6.
class CRiveskCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Rivesk Crossbar";
    static constexpr int kSevenPins = 7;

    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override;

    DECLARE_CARD_FILTER_CLASS();
};
