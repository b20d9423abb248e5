#include "hwsim/boards/CrossbarFilter.h"

#include "uuids.h"

namespace hwsim {

namespace {

using platform::dshow::CrossbarPinInfo;
using platform::dshow::MediaType;
using platform::dshow::PinDescription;

struct CrossbarPin {
    PIN_DIRECTION direction;
    const wchar_t* name;
    long physicalType;
    long related;  // index of the related pin of the same direction
};

// Inputs first, then outputs, each in IAMCrossbar index order.
constexpr CrossbarPin kPins[] = {
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 3},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 5},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0},
    {PINDIR_INPUT, L"Audio Composite In", PhysConn_Audio_Line, 1},
    {PINDIR_INPUT, L"Audio SVideo In", PhysConn_Audio_Line, 2},
    {PINDIR_OUTPUT, L"Capture", PhysConn_Video_VideoDecoder, 1},
    {PINDIR_OUTPUT, L"Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0},
};

}  // namespace

CrossbarFilter::CrossbarFilter(Card& card) : With(kCrossbarFilterClsid), m_card(card) {
    std::vector<CrossbarPinInfo> inputs;
    std::vector<CrossbarPinInfo> outputs;
    for (const CrossbarPin& pin : kPins) {
        const bool audio = pin.physicalType >= PhysConn_Audio_Tuner;
        AddPin(PinDescription{pin.direction, pin.name, L"", GUID_NULL,
                              {MediaType(audio ? MEDIATYPE_AnalogAudio : MEDIATYPE_AnalogVideo, GUID_NULL)}});
        (pin.direction == PINDIR_INPUT ? inputs : outputs).push_back(CrossbarPinInfo{pin.physicalType, pin.related});
    }
    // A crossbar opened again finds the routes the card kept.
    ConfigureCrossbar(std::move(inputs), std::move(outputs), {m_card.VideoRoute(), m_card.AudioRoute()});
}

HRESULT CrossbarFilter::OnRoute(long output, long input) {
    if (!m_card.IsPlugged()) return kDeviceGone;
    m_card.SetRoute(output, input);
    return S_OK;
}

}  // namespace hwsim
