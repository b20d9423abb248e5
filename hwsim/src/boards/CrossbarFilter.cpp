#include "hwsim/boards/CrossbarFilter.h"

#include <stdexcept>
#include <string>

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
};

constexpr CrossbarPin kVideoOut = {PINDIR_OUTPUT, L"Video Decoder Out", PhysConn_Video_VideoDecoder, 1};
constexpr CrossbarPin kAudioOut = {PINDIR_OUTPUT, L"Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0};

// One layout per pin count: inputs first, then outputs, each in IAMCrossbar index order.
struct CrossbarLayout {
    int count;
    CrossbarPin pins[kMaxCrossbarPins];
};

constexpr CrossbarLayout kLayouts[] = {
    // The MPEG-2 box without its tuner input.
    {5,
     {{PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 2},
      {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 2},
      {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 0},
      kVideoOut, kAudioOut}},
    // The MPEG-2 box with the tuner's video input.
    {6,
     {{PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 3},
      {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 3},
      {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, -1},
      {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 0},
      kVideoOut, kAudioOut}},
    {7,
     {{PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 3},
      {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 4},
      {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4},
      {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0},
      {PINDIR_INPUT, L"Audio Line In", PhysConn_Audio_Line, 2},
      kVideoOut, kAudioOut}},
    // The cards' usual crossbar.
    {8,
     {{PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 3},
      {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 4},
      {PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 5},
      {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 0},
      {PINDIR_INPUT, L"Audio Composite In", PhysConn_Audio_Line, 1},
      {PINDIR_INPUT, L"Audio SVideo In", PhysConn_Audio_Line, 2},
      kVideoOut, kAudioOut}},
    {9,
     {{PINDIR_INPUT, L"Video SVideo In", PhysConn_Video_SVideo, 6},
      {PINDIR_INPUT, L"Video Tuner In", PhysConn_Video_Tuner, 4},
      {PINDIR_INPUT, L"Video Composite In", PhysConn_Video_Composite, 5},
      {PINDIR_INPUT, L"Video YRYBY In", PhysConn_Video_YRYBY, -1},
      {PINDIR_INPUT, L"Audio Tuner In", PhysConn_Audio_Tuner, 1},
      {PINDIR_INPUT, L"Audio Composite In", PhysConn_Audio_Line, 2},
      {PINDIR_INPUT, L"Audio SVideo In", PhysConn_Audio_Line, 0},
      kVideoOut, kAudioOut}},
};

const CrossbarLayout& LayoutOf(int count) {
    for (const CrossbarLayout& layout : kLayouts) {
        if (layout.count == count) return layout;
    }
    throw std::logic_error("no crossbar layout with " + std::to_string(count) + " pins");
}

bool IsAudio(long physicalType) { return physicalType >= PhysConn_Audio_Tuner; }

}  // namespace

CrossbarFilter::CrossbarFilter(Card& card) : With(kCrossbarFilterClsid), m_card(card) {
    const CrossbarLayout& layout = LayoutOf(card.CrossbarPins());
    std::vector<CrossbarPinInfo> inputs;
    std::vector<CrossbarPinInfo> outputs;
    long firstVideo = -1;
    long firstAudio = -1;
    for (int i = 0; i < layout.count; ++i) {
        const CrossbarPin& pin = layout.pins[i];
        const bool audio = IsAudio(pin.physicalType);
        AddPin(PinDescription{pin.direction, pin.name, L"", GUID_NULL,
                              {MediaType(audio ? MEDIATYPE_AnalogAudio : MEDIATYPE_AnalogVideo, GUID_NULL)}});
        std::vector<CrossbarPinInfo>& list = pin.direction == PINDIR_INPUT ? inputs : outputs;
        if (pin.direction == PINDIR_INPUT) {
            long& first = audio ? firstAudio : firstVideo;
            if (first < 0) first = static_cast<long>(list.size());
        }
        list.push_back(CrossbarPinInfo{pin.physicalType, pin.related});
    }
    // Starts routed to the first video and the first audio input.
    ConfigureCrossbar(std::move(inputs), std::move(outputs), {firstVideo, firstAudio});
}

STDMETHODIMP CrossbarFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    m_card.NoteGraph("crossbar", pGraph != nullptr);
    return With::JoinFilterGraph(pGraph, pName);
}

HRESULT CrossbarFilter::OnRoute(long, long) { return m_card.IsPlugged() ? S_OK : kDeviceGone; }

}  // namespace hwsim
