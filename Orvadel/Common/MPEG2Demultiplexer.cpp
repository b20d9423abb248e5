#include "MPEG2Demultiplexer.h"

#include <dvdmedia.h>
#include <mmreg.h>
#include <uuids.h>

#include <cstddef>
#include <cstring>

#include "graph/StrA2W.h"

namespace {

// The sequence header of a 720 x 480 main-profile stream, with its sequence extension.
const BYTE kSequenceHeader[86] = {
    0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x09, 0xC4, 0x23, 0x81,
    0x10, 0x11, 0x11, 0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13, 0x14, 0x14,
    0x14, 0x14, 0x14, 0x15, 0x15, 0x15, 0x15, 0x15, 0x15, 0x16, 0x16, 0x16,
    0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17,
    0x18, 0x18, 0x18, 0x19, 0x18, 0x18, 0x18, 0x19, 0x1A, 0x1A, 0x1A, 0x1A,
    0x19, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1C, 0x1C, 0x1C, 0x1C, 0x1E, 0x1E,
    0x1E, 0x1F, 0x1F, 0x21, 0x00, 0x00, 0x01, 0xB5, 0x14, 0x82, 0x00, 0x01,
    0x00, 0x00,
};

constexpr size_t kVideoBlockSize = offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + sizeof(kSequenceHeader);
static_assert(kVideoBlockSize == 218);

struct VideoFormatBlock {
    alignas(MPEG2VIDEOINFO) BYTE bytes[kVideoBlockSize];
    VideoFormatBlock() {
        std::memset(bytes, 0, sizeof(bytes));
        MPEG2VIDEOINFO info{};
        info.hdr.rcSource = {0, 0, 720, 480};
        info.hdr.dwBitRate = 4000000;
        info.hdr.AvgTimePerFrame = 333667;
        info.hdr.dwPictAspectRatioX = 4;
        info.hdr.dwPictAspectRatioY = 3;
        info.hdr.bmiHeader.biSize = 40;
        info.hdr.bmiHeader.biWidth = 720;
        info.hdr.bmiHeader.biHeight = 480;
        info.hdr.bmiHeader.biXPelsPerMeter = 2000;
        info.hdr.bmiHeader.biYPelsPerMeter = 53031;
        info.dwStartTimeCode = 0x6F498;
        info.cbSequenceHeader = sizeof(kSequenceHeader);
        info.dwProfile = AM_MPEG2Profile_Main;
        info.dwLevel = AM_MPEG2Level_Main;
        std::memcpy(bytes, &info, offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
        std::memcpy(bytes + offsetof(MPEG2VIDEOINFO, dwSequenceHeader), kSequenceHeader, sizeof(kSequenceHeader));
    }
};

MPEG1WAVEFORMAT MakeAudioFormat() {
    MPEG1WAVEFORMAT format{};
    format.wfx.wFormatTag = WAVE_FORMAT_MPEG;
    format.wfx.nChannels = 2;
    format.wfx.nSamplesPerSec = 48000;
    format.wfx.nAvgBytesPerSec = 32000;
    format.wfx.nBlockAlign = 768;
    format.wfx.wBitsPerSample = 0;
    format.wfx.cbSize = sizeof(MPEG1WAVEFORMAT) - sizeof(WAVEFORMATEX);
    format.fwHeadLayer = ACM_MPEG_LAYER2;
    format.dwHeadBitrate = 256000;
    format.fwHeadMode = ACM_MPEG_STEREO;
    format.fwHeadModeExt = 1;
    format.wHeadEmphasis = 1;
    format.fwHeadFlags = ACM_MPEG_ID_MPEG1 | ACM_MPEG_PROTECTIONBIT | ACM_MPEG_ORIGINALHOME;
    return format;
}

AM_MEDIA_TYPE MakeType(REFGUID major, REFGUID sub, REFGUID formatType, ULONG size, const void* block) {
    AM_MEDIA_TYPE type{};
    type.majortype = major;
    type.subtype = sub;
    type.bFixedSizeSamples = TRUE;
    type.bTemporalCompression = FALSE;
    type.lSampleSize = 0;
    type.formattype = formatType;
    type.cbFormat = size;
    type.pbFormat = static_cast<BYTE*>(const_cast<void*>(block));
    return type;
}

}  // namespace

CFilterClassRecord CMPEG2Demultiplexer::s_classRecord(&CLSID_MPEG2Demultiplexer, nullptr, "MPEG-2 Demultiplexer",
                                                      &CMPEG2Demultiplexer::CreateInstance);

CRootFilter* CMPEG2Demultiplexer::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CMPEG2Demultiplexer>(s_classRecord, graph, flag);
}

const AM_MEDIA_TYPE& CMPEG2Demultiplexer::VideoPinType() {
    static const VideoFormatBlock block;
    static const AM_MEDIA_TYPE type =
        MakeType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, kVideoBlockSize, block.bytes);
    return type;
}

const AM_MEDIA_TYPE& CMPEG2Demultiplexer::AudioPinType() {
    static const MPEG1WAVEFORMAT block = MakeAudioFormat();
    static const AM_MEDIA_TYPE type =
        MakeType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, FORMAT_WaveFormatEx, sizeof(block), &block);
    return type;
}

CMPEG2Demultiplexer::CMPEG2Demultiplexer(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {}

CMPEG2Demultiplexer::CMPEG2Demultiplexer(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}

CMPEG2Demultiplexer::~CMPEG2Demultiplexer() = default;

HRESULT CMPEG2Demultiplexer::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) {
    return S_OK;
}

BOOL CMPEG2Demultiplexer::Init() {
    m_pDemux.Release();
    SetCreatedByClsid(TRUE);
    if (m_pFilter != nullptr) {
        m_pFilter->QueryInterface(IID_IMpeg2Demultiplexer, reinterpret_cast<void**>(&m_pDemux));
    }
    if (m_pDemux == nullptr) {
        // Without its pin control the filter is of no use here: the wrapper lets it go.
        FreePinList();
        m_pFilter.Release();
        return FALSE;
    }
    return TRUE;
}

BOOL CMPEG2Demultiplexer::CreateOutputPin(CString name, int kind) {
    if (m_pDemux == nullptr) return FALSE;
    const AM_MEDIA_TYPE& type = kind == 0 ? VideoPinType() : AudioPinType();
    CStrA2W wide(name);
    CComPtr<IPin> pin;
    HRESULT hr = m_pDemux->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&type), const_cast<LPWSTR>(wide.Convert()), &pin);
    if (FAILED(hr)) return FALSE;
    BuildPinList();
    return TRUE;
}

BOOL CMPEG2Demultiplexer::SetOutputPinMediaType(CString name, AM_MEDIA_TYPE* type) {
    if (m_pDemux == nullptr) return FALSE;
    CStrA2W wide(name);
    return SUCCEEDED(m_pDemux->SetOutputPinMediaType(const_cast<LPWSTR>(wide.Convert()), type)) ? TRUE : FALSE;
}

BOOL CMPEG2Demultiplexer::DeleteOutputPin(CString name) {
    if (m_pDemux == nullptr) return FALSE;
    CStrA2W wide(name);
    if (FAILED(m_pDemux->DeleteOutputPin(const_cast<LPWSTR>(wide.Convert())))) return FALSE;
    BuildPinList();
    return TRUE;
}

BOOL CMPEG2Demultiplexer::MapStreamId(CString pinName, BOOL audio) {
    CRootPin* pin = FindPin(pinName);
    if (pin == nullptr || pin->GetPin() == nullptr) return FALSE;
    CComPtr<IMPEG2StreamIdMap> map;
    if (FAILED(pin->GetPin()->QueryInterface(IID_IMPEG2StreamIdMap, reinterpret_cast<void**>(&map))) || map == nullptr) {
        return FALSE;
    }
    const ULONG streamId = audio ? 0xC0 : 0xE0;
    return SUCCEEDED(map->MapStreamId(streamId, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0)) ? TRUE : FALSE;
}
