// CCardMan: inputs, capture format, video standard and the card's own switches.
#include <cstring>

#include "CardMan.h"
#include "cards/encoders/CrossbarRouter.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

namespace {

struct InputRoute {
    int video;      // crossbar video source
    int audio;      // crossbar audio source
    int cardAudio;  // the card's own audio source
};

// Inputs 0 (tuner), 1 (composite), 2 (S-video) and 3; any other input takes the last row.
constexpr InputRoute kInputRoutes[] = {{0, 1, 0}, {1, 1, 2}, {2, 1, 2}, {0, 1, 1}, {0, 0, 0}};
constexpr int kOtherInput = 4;

// The encoder cards' crossbar input pins per input: (video, audio); any other input the last.
constexpr long kEncoderCardPins[][2] = {{0, 3}, {2, 4}, {1, 4}, {0, 4}};
constexpr int kEncoderCardOtherInput = 3;

}  // namespace

bool CCardMan::SelectInput(int input) {
    if (IsCardKind11()) return Set3DYCReg(input);
    bool result;
    if (Settled(&result)) return result;
    if (m_pCrossbar == nullptr) return false;
    InputRoute route = kInputRoutes[input >= 0 && input < kOtherInput ? input : kOtherInput];
    if (input == 0 && HasAudioPin()) route.audio = 0;
    BOOL videoRouted = m_pCrossbar->SetVideoInput(route.video);
    m_pCrossbar->SetAudioInput(route.audio);
    m_pCardFilter->SetAudioSource(route.cardAudio, TRUE);
    if (!videoRouted) return false;
    m_nCurrentInput = input;
    return true;
}

bool CCardMan::Set3DYCReg(int input) {
    bool result;
    if (Settled(&result)) return result;
    auto* router = dynamic_cast<CCrossbarRouter*>(m_pCardFilter);
    if (router == nullptr) return false;
    const long* pins = kEncoderCardPins[input >= 0 && input < kEncoderCardOtherInput ? input : kEncoderCardOtherInput];
    router->RouteCrossbar(pins[0], CCrossbarFilter::kVideoOutputPin);
    BOOL routed = router->RouteCrossbar(pins[1], CCrossbarFilter::kAudioOutputPin);
    if (input == 0) TRACE("Set3DYCReg = TV\n");
    if (input == 1) TRACE("Set3DYCReg = AV\n");
    if (routed == FALSE) return false;
    m_nCurrentInput = input;
    return routed == TRUE;
}

bool CCardMan::SetVideoSize(SIZE size) {
    bool result;
    if (Settled(&result)) return result;
    if (m_graph.GetState() != GRAPH_STATE_STOPPED) {
        TRACE("CCardMan::SetVideoSize: the graph is not stopped\n");
        return false;
    }
    if (size.cx <= 0 || size.cy <= 0) return false;
    VideoFormatInfo format;
    std::memset(&format, 0, sizeof(format));
    if (FAILED(m_pCardFilter->GetVideoFormat(&format, 1))) return false;
    format.bmiHeader.biWidth = size.cx;
    format.bmiHeader.biHeight = size.cy;
    if (m_pCardFilter->GetAccessKind() == 3) format.nColorFormat = 2;
    return m_pCardFilter->SetVideoFormat(format, 1) == S_OK;
}

bool CCardMan::GetVideoSize(SIZE* size) {
    if (m_pCardFilter == nullptr || size == nullptr) return false;
    VideoFormatInfo format;
    std::memset(&format, 0, sizeof(format));
    if (FAILED(m_pCardFilter->GetVideoFormat(&format, 1))) return false;
    size->cx = format.bmiHeader.biWidth;
    size->cy = format.bmiHeader.biHeight;
    return true;
}

bool CCardMan::SetVideoFormat(const VideoFormatInfo& format) {
    bool result;
    if (Settled(&result)) return result;
    VideoFormatInfo current;
    std::memset(&current, 0, sizeof(current));
    if (FAILED(m_pCardFilter->GetVideoFormat(&current, 1))) return false;
    return m_pCardFilter->SetVideoFormat(format, 1) == S_OK;
}

bool CCardMan::SetVideoStandard(long standard) {
    bool result;
    if (Settled(&result)) return result;
    if (m_graph.GetState() != GRAPH_STATE_STOPPED) {
        TRACE("CCardMan::SetVideoStandard: the graph is not stopped\n");
        return false;
    }
    return SUCCEEDED(m_pCardFilter->SetVideoStandard(standard));
}

bool CCardMan::SetCountryCode(long code) {
    bool result;
    if (Settled(&result)) return result;
    CComPtr<IAMTVTuner> tuner;
    if (FAILED(m_pCardFilter->GetTVTuner(&tuner)) || tuner == nullptr) return false;
    return SUCCEEDED(tuner->put_CountryCode(code));
}

bool CCardMan::SetIoFlag(bool on) {
    bool result;
    if (Settled(&result)) return result;
    return m_pCardFilter->SetDriverValue(on ? -1 : 0) != 0;
}

bool CCardMan::GetIoFlag() {
    if (m_pCardFilter == nullptr) return false;
    return m_pCardFilter->InstallDeviceEvent(0) == -1;
}
