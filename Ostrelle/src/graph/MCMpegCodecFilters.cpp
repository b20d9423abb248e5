// The wrappers of the MainConcept MPEG multiplexer, audio and video codecs and splitter.
#include "graph/MCMpegCodecFilters.h"

#include "graph/FilterWrapperClass.h"
#include "graph/MCForward.h"

namespace {

constexpr DWORD kMuxParam25 = 0x25;
constexpr DWORD kDecoderParam20 = 0x20;

struct OutputFormat {
    DWORD fourCC;
    DWORD enable;
};
// The video decoder's outputs: YUY2 only.
const OutputFormat kDefaultOutputFormats[] = {
    {MAKEFOURCC('Y', 'U', 'Y', '2'), 1}, {MAKEFOURCC('B', 'G', 'R', '4'), 0}, {MAKEFOURCC('B', 'G', 'R', '3'), 0},
    {MAKEFOURCC('R', '5', '5', '5'), 0}, {MAKEFOURCC('R', '5', '6', '5'), 0}, {MAKEFOURCC('U', 'Y', 'V', 'Y'), 0},
    {MAKEFOURCC('Y', 'V', '1', '2'), 0},
};

}  // namespace

// ---- multiplexer ----
CFilterClassRecord CMCMuxFilter::s_classRecord = Record(&CLSID_MCMpegMultiplexer, nullptr,
                                                        "MainConcept Demo MPEG Multiplexer");

CMCMuxFilter::~CMCMuxFilter() {
    m_pFileSink.Release();
    m_pMuxParams.Release();
    m_pMuxSettings.Release();
}

BOOL CMCMuxFilter::Init() {
    m_pMuxSettings.Release();
    m_pMuxParams.Release();
    m_pFileSink.Release();
    m_bDyncPin = TRUE;
    if (!IsValid()) return FALSE;
    return MCQueryEach(m_pFilter,
                       IID_IMCMuxSettings, m_pMuxSettings,
                       IID_IMCMuxParams, m_pMuxParams,
                       IID_IFileSinkFilter, m_pFileSink);
}

BOOL CMCMuxFilter::SetMuxParam25(DWORD value) { return SetMuxParam(kMuxParam25, value); }

// ---- audio decoder ----
CFilterClassRecord CMCAudioDecoderFilter::s_classRecord = Record(&CLSID_MCMpegAudioDecoder, nullptr,
                                                                 "MainConcept Demo MPEG Audio Decoder");

CMCAudioDecoderFilter::~CMCAudioDecoderFilter() = default;

BOOL CMCAudioDecoderFilter::Init() { return CRootFilter::Init(); }

// ---- audio encoder ----
CFilterClassRecord CMCAudioEncoderFilter::s_classRecord = Record(&CLSID_MCMpegAudioEncoder, nullptr,
                                                                 "MainConcept Demo MPEG Audio Encoder");

CMCAudioEncoderFilter::~CMCAudioEncoderFilter() { ReleaseAudioGroup(); }

BOOL CMCAudioEncoderFilter::Init() {
    ReleaseAudioGroup();
    if (!IsValid()) return FALSE;
    return OpenAudioGroup(m_pFilter);
}

// ---- splitter ----
CFilterClassRecord CMCSplitterFilter::s_classRecord = Record(&CLSID_MCMpegSplitter, nullptr,
                                                             "MainConcept Demo MPEG Splitter");

CMCSplitterFilter::~CMCSplitterFilter() { m_pSplitterParams.Release(); }

BOOL CMCSplitterFilter::Init() {
    m_pSplitterParams.Release();
    m_bDyncPin = TRUE;
    if (!IsValid()) return FALSE;
    return MCQuery(m_pFilter, IID_IMCSplitterParams, m_pSplitterParams);
}

BOOL CMCSplitterFilter::GetSplitterParam(DWORD id, DWORD* value) {
    return MCForward(m_pSplitterParams.p, &IMCSplitterParams::GetParam, id, value);
}
BOOL CMCSplitterFilter::SetSplitterParam(DWORD id, DWORD value) {
    return MCForward(m_pSplitterParams.p, &IMCSplitterParams::SetParam, id, value);
}

// ---- video decoder ----
CFilterClassRecord CMCVideoDecoderFilter::s_classRecord = Record(&CLSID_MCMpegVideoDecoder, nullptr,
                                                                 "MainConcept Demo MPEG Video Decoder");

CMCVideoDecoderFilter::~CMCVideoDecoderFilter() {
    m_pDecoderOutput.Release();
    m_pDecoderParams.Release();
}

BOOL CMCVideoDecoderFilter::Init() {
    m_pDecoderParams.Release();
    m_pDecoderOutput.Release();
    if (!IsValid()) return FALSE;
    if (!MCQuery(m_pFilter, IID_IMCDecoderParams, m_pDecoderParams)) return FALSE;
    if (!MCQuery(m_pFilter, IID_IMCDecoderOutput, m_pDecoderOutput)) return FALSE;
    if (!SetDefaultOutputFormats()) return FALSE;
    return SetDecoderParam(kDecoderParam20, 0);
}

BOOL CMCVideoDecoderFilter::SetDecoderParam(DWORD id, DWORD value) {
    return MCForward(m_pDecoderParams.p, &IMCDecoderParams::SetParam, id, value);
}
BOOL CMCVideoDecoderFilter::GetDecoderParam(DWORD id, DWORD* value) {
    return MCForward(m_pDecoderParams.p, &IMCDecoderParams::GetParam, id, value);
}
BOOL CMCVideoDecoderFilter::DecoderOutput3(DWORD v1, DWORD v2) {
    return MCForward(m_pDecoderOutput.p, &IMCDecoderOutput::Output3, v1, v2);
}
BOOL CMCVideoDecoderFilter::DecoderOutput4(DWORD v1, DWORD v2) {
    return MCForward(m_pDecoderOutput.p, &IMCDecoderOutput::Output4, v1, v2);
}
BOOL CMCVideoDecoderFilter::SetOutputFormat(DWORD fourCC, DWORD enable) {
    return MCForward(m_pDecoderOutput.p, &IMCDecoderOutput::SetOutputFormat, fourCC, enable);
}

BOOL CMCVideoDecoderFilter::GetDecoderRecord(MC_DECODER_RECORD* record) {
    if (m_pDecoderOutput == nullptr) return FALSE;
    if (record != nullptr) record->dwField[0] = sizeof(MC_DECODER_RECORD);
    return MCForward(m_pDecoderOutput.p, &IMCDecoderOutput::GetRecord, record);
}

BOOL CMCVideoDecoderFilter::SetDecoderRecord(MC_DECODER_RECORD record) {
    if (m_pDecoderOutput == nullptr) return FALSE;
    record.dwField[0] = sizeof(MC_DECODER_RECORD);
    return MCForward(m_pDecoderOutput.p, &IMCDecoderOutput::SetRecord, &record);
}

BOOL CMCVideoDecoderFilter::SetDecoderField4(DWORD value) {
    MC_DECODER_RECORD record = {};
    if (!GetDecoderRecord(&record)) return FALSE;
    record.dwField[4] = value;
    return SetDecoderRecord(record);
}

BOOL CMCVideoDecoderFilter::GetDecoderField4(int* out) {
    if (out == nullptr) return FALSE;
    MC_DECODER_RECORD record = {};
    const BOOL read = GetDecoderRecord(&record);
    *out = static_cast<int>(record.dwField[4]);
    return read;
}

BOOL CMCVideoDecoderFilter::SetDefaultOutputFormats() {
    if (m_pDecoderOutput == nullptr) return FALSE;
    for (const OutputFormat& format : kDefaultOutputFormats) {
        if (!SetOutputFormat(format.fourCC, format.enable)) return FALSE;
    }
    return TRUE;
}

// ---- video encoder ----
CFilterClassRecord CMCVideoEncoderFilter::s_classRecord = Record(&CLSID_MCMpegVideoEncoder, nullptr,
                                                                 "MainConcept Demo MPEG Video Encoder");

CMCVideoEncoderFilter::~CMCVideoEncoderFilter() { ReleaseVideoGroup(); }

BOOL CMCVideoEncoderFilter::Init() {
    ReleaseVideoGroup();
    if (!IsValid()) return FALSE;
    return OpenVideoGroup(m_pFilter);
}
