#include "hwsim/boards/CrossbarFilter.h"

#include <span>
#include <string_view>
#include <vector>

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
constexpr CrossbarPin kStandardPins[] = {
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 3},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 5},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0},
    {PINDIR_INPUT, L"Audio Composite In", PhysConn_Audio_Line, 1},
    {PINDIR_INPUT, L"Audio SVideo In", PhysConn_Audio_Line, 2},
    {PINDIR_OUTPUT, L"Capture", PhysConn_Video_VideoDecoder, 1},
    {PINDIR_OUTPUT, L"Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0},
};

// The CX2388x boards: four video inputs, then the line, second line and tuner audio inputs.
constexpr CrossbarPin kCx2388xPins[] = {
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 6},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 5},
    {PINDIR_INPUT, L"Video Composite 2 In", PhysConn_Video_Composite, 4},
    {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 1},
    {PINDIR_INPUT, L"Audio Line 2 In", PhysConn_Audio_Line, 2},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0},
    {PINDIR_OUTPUT, L"Capture", PhysConn_Video_VideoDecoder, 1},
    {PINDIR_OUTPUT, L"Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0},
};

struct KindPins {
    const char* crossbarName;
    std::span<const CrossbarPin> pins;
    std::vector<long> routes;  // where each output starts
};

// The boards whose crossbar is not the standard one, by the crossbar's FriendlyName.
const KindPins kKindPins[] = {
    {"Conexant 2388x Crossbar", kCx2388xPins, {0, 6}},
    {"Conexant 2388x_1 Crossbar", kCx2388xPins, {0, 6}},
    {"Conexant 2388x_3 Crossbar", kCx2388xPins, {0, 6}},
    {"Yelvin Crossbar", kCx2388xPins, {0, 6}},
    {"2388x Crossbar", kCx2388xPins, {0, 6}},
};

KindPins PinsOf(const Card& card) {
    const char* name = card.Kind().crossbarName;
    for (const KindPins& row : kKindPins) {
        if (name && std::string_view(name) == row.crossbarName) return row;
    }
    return {name, kStandardPins, {0, 3}};
}

}  // namespace

CrossbarFilter::CrossbarFilter(Card& card) : With(kCrossbarFilterClsid), m_card(card) {
    std::vector<CrossbarPinInfo> inputs;
    std::vector<CrossbarPinInfo> outputs;
    const KindPins kindPins = PinsOf(card);
    for (const CrossbarPin& pin : kindPins.pins) {
        const bool audio = pin.physicalType >= PhysConn_Audio_Tuner;
        AddPin(PinDescription{pin.direction, pin.name, L"", GUID_NULL,
                              {MediaType(audio ? MEDIATYPE_AnalogAudio : MEDIATYPE_AnalogVideo, GUID_NULL)}});
        (pin.direction == PINDIR_INPUT ? inputs : outputs).push_back(CrossbarPinInfo{pin.physicalType, pin.related});
    }
    // A crossbar opened again finds the routes the card kept; a fresh card starts on its tuner.
    if (!m_card.Routed()) {
        for (size_t output = 0; output < kindPins.routes.size(); ++output) m_card.SetRoute(long(output), kindPins.routes[output]);
    }
    ConfigureCrossbar(std::move(inputs), std::move(outputs), {m_card.VideoRoute(), m_card.AudioRoute()});
}

HRESULT CrossbarFilter::OnRoute(long output, long input) {
    if (!m_card.IsPlugged()) return kDeviceGone;
    m_card.SetRoute(output, input);
    return S_OK;
}

}  // namespace hwsim
