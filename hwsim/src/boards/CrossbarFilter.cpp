// A card's crossbar filter: video and audio inputs routed to the video decoder output.
#include "hwsim/boards/CrossbarFilter.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

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
    long related;  // index of the related pin of the same direction; -1 none
    Card::Source source = Card::Source::None;  // what an input carries
};

constexpr CrossbarPin kVideoOut = {PINDIR_OUTPUT, L"Capture", PhysConn_Video_VideoDecoder, 1};
constexpr CrossbarPin kAudioOut = {PINDIR_OUTPUT, L"Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0};

// Each layout's pins: inputs first, then outputs, each in IAMCrossbar index order.

// The MPEG-2 box without its tuner input.
constexpr CrossbarPin kBoxPins[] = {
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 2, Card::Source::Composite},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 2, Card::Source::SVideo},
    {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 0, Card::Source::Composite},
    kVideoOut, kAudioOut};

// The MPEG-2 box with the tuner's video input.
constexpr CrossbarPin kBoxTunerPins[] = {
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 3, Card::Source::Composite},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 3, Card::Source::SVideo},
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, -1, Card::Source::Tuner},
    {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 0, Card::Source::Composite},
    kVideoOut, kAudioOut};

constexpr CrossbarPin kSevenPins[] = {
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 3, Card::Source::Tuner},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 4, Card::Source::SVideo},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4, Card::Source::Composite},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0, Card::Source::Tuner},
    {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 2, Card::Source::Composite},
    kVideoOut, kAudioOut};

// The cards' usual crossbar.
constexpr CrossbarPin kStandardPins[] = {
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 3, Card::Source::Tuner},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4, Card::Source::Composite},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 5, Card::Source::SVideo},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0, Card::Source::Tuner},
    {PINDIR_INPUT, L"Audio Composite In", PhysConn_Audio_Line, 1, Card::Source::Composite},
    {PINDIR_INPUT, L"Audio SVideo In", PhysConn_Audio_Line, 2, Card::Source::SVideo},
    kVideoOut, kAudioOut};

constexpr CrossbarPin kNinePins[] = {
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 6, Card::Source::SVideo},
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 4, Card::Source::Tuner},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 5, Card::Source::Composite},
    {PINDIR_INPUT, L"Video YRYBY In", PhysConn_Video_YRYBY, -1},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 1, Card::Source::Tuner},
    {PINDIR_INPUT, L"Audio Composite In", PhysConn_Audio_Line, 2, Card::Source::Composite},
    {PINDIR_INPUT, L"Audio SVideo In", PhysConn_Audio_Line, 0, Card::Source::SVideo},
    kVideoOut, kAudioOut};

// The CX2388x boards: four video inputs, then the line, second line and tuner audio inputs.
constexpr CrossbarPin kCx2388xPins[] = {
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 6, Card::Source::Tuner},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4, Card::Source::Composite},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 5, Card::Source::SVideo},
    {PINDIR_INPUT, L"Video Composite 2 In", PhysConn_Video_Composite, 4},
    {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 1, Card::Source::Composite},
    {PINDIR_INPUT, L"Audio Line 2 In", PhysConn_Audio_Line, 2, Card::Source::SVideo},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0, Card::Source::Tuner},
    kVideoOut, kAudioOut};

// The Trident bridge boards: tuner, composite and S-video inputs in this order, for video and
// for audio.
constexpr CrossbarPin kTridentPins[] = {
    {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 4, Card::Source::Tuner},
    {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 5, Card::Source::Composite},
    {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 6, Card::Source::SVideo},
    {PINDIR_INPUT, L"Video YRYBY In", PhysConn_Video_YRYBY, -1},
    {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0, Card::Source::Tuner},
    {PINDIR_INPUT, L"Audio Composite In", PhysConn_Audio_Line, 1, Card::Source::Composite},
    {PINDIR_INPUT, L"Audio SVideo In", PhysConn_Audio_Line, 2, Card::Source::SVideo},
    kVideoOut, kAudioOut};

struct CrossbarLayout {
    const char* crossbarName;  // a kind's own layout, by its crossbar's FriendlyName; null: any board's
    std::span<const CrossbarPin> pins;
    long startVideo;  // the inputs a fresh card is routed to
    long startAudio;
};

// A board takes its kind's own layout at the board's pin count, else the common one with
// that many pins.
const CrossbarLayout kLayouts[] = {
    {"Conexant 2388x Crossbar", kCx2388xPins, 0, 6},
    {"Conexant 2388x_1 Crossbar", kCx2388xPins, 0, 6},
    {"Conexant 2388x_3 Crossbar", kCx2388xPins, 0, 6},
    {"Yelvin Crossbar", kCx2388xPins, 0, 6},
    {"2388x Crossbar", kCx2388xPins, 0, 6},
    {"RiriRir Crossbar", kTridentPins, 0, 4},
    {"Ivlen Crossbar", kTridentPins, 0, 4},
    {"Trident Yolm Crossbar", kTridentPins, 0, 4},
    {nullptr, kBoxPins, 0, 2},
    {nullptr, kBoxTunerPins, 0, 3},
    {nullptr, kSevenPins, 0, 3},
    {nullptr, kStandardPins, 0, 3},
    {nullptr, kNinePins, 0, 4},
};

const CrossbarLayout& LayoutOf(const Card& card) {
    const char* name = card.Kind().crossbarName;
    const size_t count = size_t(card.CrossbarPins());
    for (const CrossbarLayout& layout : kLayouts) {
        if (layout.pins.size() == count && name && layout.crossbarName && std::string_view(name) == layout.crossbarName) {
            return layout;
        }
    }
    for (const CrossbarLayout& layout : kLayouts) {
        if (layout.pins.size() == count && !layout.crossbarName) return layout;
    }
    throw std::logic_error("no crossbar layout with " + std::to_string(count) + " pins");
}

}  // namespace

CrossbarFilter::CrossbarFilter(Card& card) : With(kCrossbarFilterClsid), m_card(card) {
    const CrossbarLayout& layout = LayoutOf(card);
    std::vector<CrossbarPinInfo> inputs;
    std::vector<CrossbarPinInfo> outputs;
    for (const CrossbarPin& pin : layout.pins) {
        if (pin.direction == PINDIR_INPUT) m_sources.push_back(pin.source);
        const bool audio = pin.physicalType >= PhysConn_Audio_Tuner;
        AddPin(PinDescription{pin.direction, pin.name, L"", GUID_NULL,
                              {MediaType(audio ? MEDIATYPE_AnalogAudio : MEDIATYPE_AnalogVideo, GUID_NULL)}});
        (pin.direction == PINDIR_INPUT ? inputs : outputs).push_back(CrossbarPinInfo{pin.physicalType, pin.related});
    }
    // A crossbar opened again finds the routes the card kept; a fresh card starts on its
    // layout's first routes.
    if (!m_card.Routed()) {
        m_card.SetRoute(0, layout.startVideo, SourceOf(layout.startVideo));
        m_card.SetRoute(1, layout.startAudio, SourceOf(layout.startAudio));
    }
    ConfigureCrossbar(std::move(inputs), std::move(outputs), {m_card.VideoRoute(), m_card.AudioRoute()});
}

STDMETHODIMP CrossbarFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    m_card.NoteGraph("crossbar", pGraph != nullptr);
    return With::JoinFilterGraph(pGraph, pName);
}

HRESULT CrossbarFilter::OnRoute(long output, long input) {
    if (!m_card.IsPlugged()) return kDeviceGone;
    m_card.SetRoute(output, input, SourceOf(input));
    return S_OK;
}

Card::Source CrossbarFilter::SourceOf(long input) const {
    return input >= 0 && size_t(input) < m_sources.size() ? m_sources[size_t(input)] : Card::Source::None;
}

}  // namespace hwsim
