// The Rivesk MPEG encoder card ("Rivesk Video Capture") and its crossbar. Its crossbar, TV
// tuner and TV-audio devices are filters of their own upstream of the capture filter: the
// card finds them through the capture graph builder when it opens, opens its hardware access
// (CRiveskAccess, access kind 11) on the tuner device (on the capture filter when there is
// none) and puts the tuner into TV mode on channel 1. It has no remote keys and no GPIO audio
// switch; the card manager switches its inputs through its crossbar router (RouteCrossbar). The Prisko card
// (PriskoCardFilter.h) is the same card under its own names.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/encoders/CrossbarRouter.h"
#include "cards/encoders/UpstreamCardFilter.h"
#include "graph/CrossbarFilter.h"

constexpr int ACCESS_KIND_RIVESK = 11;

class CRiveskCardFilter : public CUpstreamCardFilter, public CCrossbarRouter {
public:
    static constexpr const char kCaptureName[] = "Rivesk Video Capture";
    static constexpr const char kTunerFilterName[] = "Rivesk Tuner";
    // The tuner model whose mode chip SetTunerMode drives.
    static constexpr int kModeTunerModel = 100;

    using CUpstreamCardFilter::CUpstreamCardFilter;
    ~CRiveskCardFilter() override;

    void InitNames() override;
    // E_NOTIMPL whatever the arguments: the card has no audio switch.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // Never a key.
    BOOL GetRemoteData(BYTE* key) override;
    // CRiveskAccess (OpenUpstreamAccess) on the tuner device, the tuner put to TV mode on
    // channel (1, 0, 0); without a tuner device on the capture filter.
    HRESULT InitAccess() override;

    // Routes crossbar input `input` to output `output` (RouteCrossbarPins(output, input)):
    // FALSE without a crossbar, or for a pin the crossbar does not have (a negative input
    // included: the crossbar would take the route away), or when the route is refused.
    BOOL RouteCrossbar(long input, long output) override;
    // On a card with tuner model 100: the tuner's SetMode(mode) and its result; otherwise 0
    // and nothing is done.
    BOOL SetTunerMode(long mode);
    DECLARE_CARD_FILTER_CLASS();

protected:
    // The access kind InitAccess records.
    virtual int EncoderAccessKind() const { return ACCESS_KIND_RIVESK; }
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
