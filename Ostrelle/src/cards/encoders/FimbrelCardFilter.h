// The Fimbrel card ("Conexant Fimbrel Video Capture") and its crossbar. The card's crossbar, TV
// tuner ("Conexant Fimbrel Tuner") and TV-audio devices are filters of their own upstream of
// the capture filter, found and held as on the Rivesk card; its hardware access (CFimbrelAccess,
// access kind 13) runs on the capture filter, and the tuner device is put into TV mode. The
// EEPROM sits at 0xA0 with the tuner's maker letter at 0xA0 and its model at 0xA1; remote keys
// come from the controller at 0xBA (0xAA reads 1 while a key waits, 0xAB is the key). Its
// encoder device has a wrapper of its own (FimbrelEncoderFilter.h).
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/encoders/UpstreamCardFilter.h"
#include "graph/CrossbarFilter.h"

constexpr int ACCESS_KIND_FIMBREL = 13;

class CFimbrelCardFilter : public CUpstreamCardFilter {
public:
    static constexpr const char kCaptureName[] = "Conexant Fimbrel Video Capture";
    static constexpr const char kTunerFilterName[] = "Conexant Fimbrel Tuner";
    static constexpr BYTE kKeyController = 0xBA;
    static constexpr BYTE kKeyReadyRegister = 0xAA;
    static constexpr BYTE kKeyRegister = 0xAB;

    using CUpstreamCardFilter::CUpstreamCardFilter;
    ~CFimbrelCardFilter() override;

    // Names and addresses, the 100 ms remote period, and no upstream device held.
    void InitNames() override;
    // E_NOTIMPL whatever the arguments: the card has no audio switch.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // A key when the key-ready register reads 1; the key register's byte as it stands.
    BOOL GetRemoteData(BYTE* key) override;
    // CFimbrelAccess on the capture filter (OpenUpstreamAccess), with this card when the search
    // found the tuner device (then put to TV mode), else with none.
    HRESULT InitAccess() override;
    // 0, without reading anything.
    BYTE ReadEepromByte7() override;

    // Routes crossbar input `input` to output `output` (RouteCrossbarPins).
    BOOL RouteCrossbar(long output, long input);
    HRESULT FindTunerFilter() { return FindTVTuner(); }
    HRESULT FindTvAudio() { return FindTVAudio(); }
    HRESULT GetTvAudio(IAMTVAudio** out) { return GetTVAudio(out); }

    DECLARE_CARD_FILTER_CLASS();
};

// The default route table: video 0, 1, 2 and audio 5, 6, 7 for sources 0, 1, 2.
class CFimbrelCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Conexant Fimbrel Crossbar";

    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override;

    DECLARE_CARD_FILTER_CLASS();
};
