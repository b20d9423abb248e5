// CTVAudioFilter: the base wrapper of a card's TV-audio device (between the tuner's audio output
// and the crossbar), and the two SAA713x card kinds' TV-audio devices, registered by the TV-audio
// category and their FriendlyNames. Other card families derive their TV-audio wrappers from
// CTVAudioFilter and only name their device:
//
//   class CMyTvAudioFilter : public CTVAudioFilter {
//   public:
//       static constexpr const char kDeviceName[] = "My TvAudio";
//       using CTVAudioFilter::CTVAudioFilter;
//       DECLARE_CARD_FILTER_CLASS();
//   };
//   IMPLEMENT_CARD_FILTER_CLASS(CMyTvAudioFilter, &AM_KSCATEGORY_TVAUDIO, CMyTvAudioFilter::kDeviceName)
#pragma once

#include "cards/base/CardClassRecord.h"
#include "graph/RootFilter.h"

class CTVAudioFilter : public CRootFilter {
public:
    using CRootFilter::CRootFilter;
    ~CTVAudioFilter() override;

    // Opens the device's IAMTVAudio; FALSE (the wrapper is dropped) without it.
    BOOL Init() override;

    // The IAMTVAudio calls; TRUE when the call succeeded. FALSE, with nothing called, without
    // the interface or for a NULL out-pointer.
    BOOL GetTVAudioMode(long* mode);
    BOOL GetAvailableTVAudioModes(long* modes);
    BOOL GetHardwareSupportedTVAudioModes(long* modes);
    BOOL SetTVAudioMode(long mode);

protected:
    CComPtr<IAMTVAudio> m_pTVAudio;
};

class C713xTVAudioFilter : public CTVAudioFilter {
public:
    static constexpr const char kDeviceName[] = "713x TV Card TV Audio (Zivadez)";
    using CTVAudioFilter::CTVAudioFilter;
    DECLARE_CARD_FILTER_CLASS();
};

class C713x3TVAudioFilter : public CTVAudioFilter {
public:
    static constexpr const char kDeviceName[] = "713x_3 TV Card TV Audio (Zivadez)";
    using CTVAudioFilter::CTVAudioFilter;
    DECLARE_CARD_FILTER_CLASS();
};
