// CCardMan: the recording graph: the card's hardware MPEG encoder, the file writer, and the live
// picture through the MPEG-2 demultiplexer and the decoders.
#include <cstring>

#include <ksmedia.h>
#include <uuids.h>

#include "CardMan.h"
#include "MPEG2Demultiplexer.h"
#include "cards/base/TVCardFilter.h"
#include "graph/DumpFilter.h"
#include "graph/MpegEncoderFilter.h"

namespace {

constexpr GUID kVideoDecoderClsid = {0x0246CA20, 0x776D, 0x11D2, {0x80, 0x10, 0x00, 0x10, 0x4B, 0x9B, 0x85, 0x92}};
constexpr GUID kAudioDecoderClsid = {0x7E2E0DC1, 0x31FD, 0x11D2, {0x9C, 0x21, 0x00, 0x10, 0x4B, 0x38, 0x01, 0xF6}};
constexpr const char kEncoderName[] = "Rivesk Encoder";

}  // namespace

const EncoderSetting CCardMan::kEncoderSettings[] = {
    {9, 10, 4}, {8, 3, 4}, {6, 0, 4}, {7, 1, 4}, {5, 1, 4}, {4, 11, 1}, {2, 15, 1}, {1, 0, 4},
};
const size_t CCardMan::kEncoderSettingCount = sizeof(kEncoderSettings) / sizeof(kEncoderSettings[0]);
const DWORD CCardMan::kEncoderRates[3] = {0, 4500000, 9800000};

bool CCardMan::BuildEncoderGraph() {
    bool result;
    if (Settled(&result)) return result;
    if (m_pEncoder == nullptr) PlaceEncoder();
    if (m_pDumpFilter == nullptr) {
        CRootFilter* added = m_graph.AddFilter(CLSID_Dump, "Dump Filter");
        m_pDumpFilter = dynamic_cast<CDumpFilter*>(added);
        if (added != nullptr && m_pDumpFilter == nullptr) m_graph.RemoveFilter(added);
    }
    bool pinsMade = true;
    if (m_pDemux == nullptr) {
        CRootFilter* added = m_graph.AddFilter(CLSID_MPEG2Demultiplexer, "Demux");
        m_pDemux = dynamic_cast<CMPEG2Demultiplexer*>(added);
        if (added != nullptr && m_pDemux == nullptr) m_graph.RemoveFilter(added);
        if (m_pDemux != nullptr && (!m_pDemux->CreateOutputPin("Video", 0) || !m_pDemux->CreateOutputPin("Audio", 1))) {
            TRACE("Failed to build demux pin!\n");
            pinsMade = false;
        }
    }
    bool renderer = AddVideoRenderer();
    RemoveFilter(m_pAudioRender);
    if (m_pVideoDecoder == nullptr) m_pVideoDecoder = m_graph.AddFilter(kVideoDecoderClsid, "Video Dec");
    if (m_pAudioDecoder == nullptr) m_pAudioDecoder = m_graph.AddFilter(kAudioDecoderClsid, "Audio Dec");
    if (m_pSoundRender == nullptr) m_pSoundRender = m_graph.AddFilter(CLSID_DSoundRender, "Default sound");
    bool setUp = SetupEncoder();
    return m_pEncoder != nullptr && m_pDumpFilter != nullptr && m_pDemux != nullptr && pinsMade && renderer &&
           m_pVideoDecoder != nullptr && m_pAudioDecoder != nullptr && m_pSoundRender != nullptr && setUp;
}

void CCardMan::PlaceEncoder() {
    // The encoder of the card's own board, the one its capture filter feeds: every board's
    // encoder has the one name, listed in plug order over all boards.
    CComPtr<IBaseFilter> device;
    if (m_pCardFilter == nullptr ||
        FAILED(m_pCardFilter->FindOwnEncoderDevice(CMpegEncoderFilter::kPropertySet, device)))
        return;
    auto* wrapper = new CMpegEncoderFilter(&m_graph, device);
    wrapper->SetName(kEncoderName);
    if (m_graph.AttachWrapper(wrapper)) m_pEncoder = wrapper;
    else delete wrapper;
}

bool CCardMan::SetupEncoder() {
    bool result;
    if (Settled(&result)) return result;
    bool ok = SetVideoSize(kEncoderVideoSize);
    if (m_pEncoder == nullptr) return false;
    for (size_t i = 0; i < kEncoderSettingCount; ++i) {
        const EncoderSetting& setting = kEncoderSettings[i];
        BYTE buffer[sizeof(DWORD)];
        std::memcpy(buffer, &setting.value, sizeof(buffer));  // little-endian: the low bytes first
        if (!m_pEncoder->SetProperty(setting.id, buffer, setting.size)) ok = false;
    }
    DWORD rates[3];
    std::memcpy(rates, kEncoderRates, sizeof(rates));
    if (!m_pEncoder->SetProperty(kEncoderRateId, rates, sizeof(rates))) ok = false;
    return ok;
}

bool CCardMan::ConnectEncoderGraph() {
    bool result;
    if (Settled(&result)) return result;
    TRACE("BuildEncoderRecord\n");
    // What earlier graphs reported is no fault of this recording.
    TakeRecordFault();
    m_hrRecordFault = S_OK;
    if (m_pEncoder == nullptr || m_pDemux == nullptr || m_pDumpFilter == nullptr) return false;
    if (!m_graph.ConnectByPinName(m_pCardFilter, m_pEncoder, "656", "656")) return false;
    if (!m_graph.ConnectByPinName(m_pCardFilter, m_pEncoder, "I2S", "I2S")) return false;
    if (!m_graph.ConnectByPinName(m_pEncoder, m_pDemux, nullptr, nullptr)) return false;
    // The encoder's other output carries the same program stream into the file.
    if (!m_graph.ConnectByPinName(m_pEncoder, m_pDumpFilter, nullptr, nullptr)) {
        TRACE("CCardMan: encoder -> file writer failed\n");
        return false;
    }
    TRACE("MapStreamId\n");
    if (!m_pDemux->MapStreamId("Video", FALSE) || !m_pDemux->MapStreamId("Audio", TRUE)) return false;
    TRACE("Connect decode\n");
    if (!m_graph.ConnectByPinName(m_pDemux, m_pVideoDecoder, "Video", nullptr)) return false;
    if (!m_graph.ConnectByPinName(m_pDemux, m_pAudioDecoder, "Audio", nullptr)) return false;
    TRACE("Connect Render\n");
    if (!ConnectToVideoRenderer(m_pVideoDecoder, "Video Output")) return false;
    return m_graph.ConnectByPinName(m_pAudioDecoder, m_pSoundRender, nullptr, nullptr) != FALSE;
}

HRESULT CCardMan::TakeRecordFault() {
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (m_graph.GetEvent(&code, &param1, &param2, 0) == S_OK) {
        if (code == EC_ERRORABORT && SUCCEEDED(m_hrRecordFault))
            m_hrRecordFault = FAILED(HRESULT(param1)) ? HRESULT(param1) : E_FAIL;
        m_graph.FreeEventParams(code, param1, param2);
    }
    return m_hrRecordFault;
}

bool CCardMan::StartRecord(const char* fileName) {
    bool result;
    if (Settled(&result)) return result;
    StopGraph();
    bool ok = BuildEncoderGraph();
    if (m_pDumpFilter == nullptr || !m_pDumpFilter->SetFileName(fileName)) ok = false;
    // A graph that would not write the file is not run: nothing is reported as recorded.
    if (!ConnectEncoderGraph() || !ok) return false;
    return m_graph.Run() != FALSE;
}

void CCardMan::StopRecord() {
    m_graph.Stop();
    if (m_pDumpFilter != nullptr) m_pDumpFilter->SetFileName(nullptr);
    m_graph.DisconnectAllFilters();
    RemoveFilter(m_pDumpFilter);
    RemoveFilter(m_pEncoder);
}

void CCardMan::RemovePlayback() {
    RemoveFilter(m_pDumpFilter);
    RemoveFilter(m_pDemux);
    RemoveFilter(m_pVideoDecoder);
    RemoveFilter(m_pSoundRender);
}
