// The WIS card's pin formats: the video pins' MPEG formats with the encoder extension behind
// the normal block, and the audio pin's format.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "cards/encoders/WiseCaptureFilter.h"
#include "graph/FormatBlock.h"
#include "dvdmedia.h"
#include "mmreg.h"
#include "wisencodercontrol.h"

namespace {

constexpr ULONG kExtensionSize = sizeof(TCFG_FORMAT_EXTENSION);
constexpr size_t kMpeg1Head = offsetof(MPEG1VIDEOINFO, bSequenceHeader);
constexpr size_t kMpeg2Head = offsetof(MPEG2VIDEOINFO, dwSequenceHeader);

// The MPEG-4 stream's biCompression by its mpeg4_mode: 0 the encoder's own, then DX50, MP4S, DIVX.
constexpr DWORD kMpeg4Codes[] = {0x04504D57, MAKEFOURCC('D', 'X', '5', '0'), MAKEFOURCC('M', 'P', '4', 'S'),
                                 MAKEFOURCC('D', 'I', 'V', 'X')};

struct FreeType {
    void operator()(AM_MEDIA_TYPE* mt) const { DeleteMediaType(mt); }
};

// Hands each stream capability of `config` in turn to `take`, its media type freed after the
// call, until `take` gives an answer, which is then the answer; FALSE when none did or the count
// cannot be read. A capability that cannot be read is passed over (and traced when `failure`
// is given).
template <class Take>
BOOL TakeStreamCaps(IAMStreamConfig* config, size_t capsSize, const char* failure, Take take) {
    int count = 0;
    int size = 0;
    if (FAILED(config->GetNumberOfCapabilities(&count, &size))) return FALSE;
    std::vector<BYTE> scc(size > 0 ? static_cast<size_t>(size) : capsSize);
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* raw = nullptr;
        if (config->GetStreamCaps(i, &raw, scc.data()) != S_OK || raw == nullptr) {
            if (failure != nullptr) OutputDebugStringA(failure);
            if (raw != nullptr) DeleteMediaType(raw);
            continue;
        }
        std::unique_ptr<AM_MEDIA_TYPE, FreeType> mt(raw);
        if (const std::optional<BOOL> answer = take(mt.get())) return *answer;
    }
    return FALSE;
}

// Where a capability's video header lies in its block, and how large the normal block is;
// false when the capability is not the stream's or its block is smaller than its structure.
struct VideoBlock {
    VIDEOINFOHEADER* header = nullptr;
    ULONGLONG normalSize = 0;  // wide enough for any sequence-header size a driver names
};

bool FindVideoBlock(const AM_MEDIA_TYPE& mt, DWORD mode, BYTE mpeg4Mode, VideoBlock* block) {
    BYTE* format = mt.pbFormat;
    if (format == nullptr) return false;
    if (mode == 0) {
        if (!IsEqualGUID(mt.subtype, MEDIASUBTYPE_MPEG1Payload) || !IsEqualGUID(mt.formattype, FORMAT_MPEGVideo) ||
            mt.cbFormat < kMpeg1Head) {
            return false;
        }
        const auto* info = reinterpret_cast<MPEG1VIDEOINFO*>(format);
        block->header = reinterpret_cast<VIDEOINFOHEADER*>(format);
        block->normalSize = ULONGLONG(kMpeg1Head) + info->cbSequenceHeader;
    } else if (mode == 1) {
        if (!IsEqualGUID(mt.subtype, MEDIASUBTYPE_MPEG2_VIDEO) || !IsEqualGUID(mt.formattype, FORMAT_MPEG2Video) ||
            mt.cbFormat < kMpeg2Head) {
            return false;
        }
        const auto* info = reinterpret_cast<MPEG2VIDEOINFO*>(format);
        // VIDEOINFOHEADER2 starts with the same fields up to dwBitRate and AvgTimePerFrame; its
        // bitmap header lies further on, so the caller reaches it through the MPEG-2 block.
        block->header = nullptr;
        block->normalSize = ULONGLONG(kMpeg2Head) + info->cbSequenceHeader;
    } else {
        if (!IsEqualGUID(mt.formattype, FORMAT_VideoInfo) || mt.cbFormat < sizeof(VIDEOINFOHEADER)) return false;
        auto* info = reinterpret_cast<VIDEOINFOHEADER*>(format);
        if (mpeg4Mode >= std::size(kMpeg4Codes) || info->bmiHeader.biCompression != kMpeg4Codes[mpeg4Mode]) return false;
        if (info->bmiHeader.biSize < kExtensionSize + sizeof(BITMAPINFOHEADER)) return false;
        block->header = info;
        block->normalSize = 48 + ULONGLONG(info->bmiHeader.biSize) - kExtensionSize;
    }
    // A sequence header that does not fit the block is refused.
    return block->normalSize <= mt.cbFormat;
}

}  // namespace

CComPtr<IAMStreamConfig> CWiseCaptureFilter::PinStreamConfig(const char* name) {
    CComPtr<IAMStreamConfig> config;
    CRootPin* pin = FindPin(name);
    if (pin == nullptr || pin->GetPin() == nullptr) return config;
    if (FAILED(pin->GetPin()->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)))) config.Release();
    return config;
}

BOOL CWiseCaptureFilter::ApplyPinFormat(IAMStreamConfig* config, EncoderConfig* c) {
    if (config == nullptr || c == nullptr) return FALSE;
    const DWORD width = c->resolution.width;
    const DWORD height = c->resolution.height;
    const DWORD rate = c->framerate.frame_rate;
    const DWORD bitrate = c->bitrate.target_bitrate;
    const DWORD mode = c->stream.compress_mode;
    // Refused here, though the old code did not: the frame time is 10010000000 divided by the
    // rate, and a rate of 0 divided by zero.
    if (rate == 0) {
        TRACE("wisproxy: frame rate 0\n");
        return FALSE;
    }
    if (mode != 0 && mode != 1 && mode != 4) return FALSE;

    return TakeStreamCaps(config, sizeof(VIDEO_STREAM_CONFIG_CAPS), "[wisproxy]: GetSteamCaps Failed!",
                          [&](AM_MEDIA_TYPE* mt) -> std::optional<BOOL> {
        VideoBlock block;
        if (!FindVideoBlock(*mt, mode, c->stream.mpeg4_mode, &block)) return std::nullopt;

        VIDEOINFOHEADER* vih = block.header;
        MPEG2VIDEOINFO* mpeg2 = mode == 1 ? reinterpret_cast<MPEG2VIDEOINFO*>(mt->pbFormat) : nullptr;
        BITMAPINFOHEADER& bmi = mpeg2 != nullptr ? mpeg2->hdr.bmiHeader : vih->bmiHeader;
        if (static_cast<DWORD>(bmi.biWidth) != width || static_cast<DWORD>(bmi.biHeight) != height) return std::nullopt;

        REFERENCE_TIME& avgTime = mpeg2 != nullptr ? mpeg2->hdr.AvgTimePerFrame : vih->AvgTimePerFrame;
        DWORD& bitRate = mpeg2 != nullptr ? mpeg2->hdr.dwBitRate : vih->dwBitRate;
        avgTime = static_cast<REFERENCE_TIME>(10010000000LL / rate);
        bmi.biWidth = static_cast<LONG>(width);
        bmi.biHeight = static_cast<LONG>(height);
        bmi.biSizeImage = width * height * 3 / 2;
        bitRate = bitrate;
        if (mpeg2 != nullptr) {
            mpeg2->hdr.dwPictAspectRatioX = width;
            mpeg2->hdr.dwPictAspectRatioY = height;
        }

        // Only where the whole extension fits, though the old code wrote it behind any block
        // larger than the normal one: a block with less room was overrun.
        if (mt->cbFormat >= block.normalSize + ULONGLONG(kExtensionSize)) {
            TCFG_FORMAT_EXTENSION extension = {c->stream, c->framerate, c->resolution, c->bitrate};
            std::memcpy(mt->pbFormat + block.normalSize, &extension, kExtensionSize);
            if (mode == 4 && m_pEncoderControl != nullptr) {
                CComPtr<IWisFormatExtension> formatExtension;
                if (SUCCEEDED(m_pEncoderControl->QueryInterface(IID_IWisFormatExtension,
                                                                reinterpret_cast<void**>(&formatExtension))) &&
                    formatExtension != nullptr) {
                    DWORD answer = 0;
                    formatExtension->SetFormatExtension(&extension, &answer);
                }
            }
        } else {
            TRACE("wisproxy: format block of %lu bytes has no room for the encoder extension\n",
                  static_cast<unsigned long>(mt->cbFormat));
        }

        char text[128];
        const char* kind = mode == 0 ? "MPEG1" : mode == 1 ? "MPEG2" : "videoinfo";
        std::snprintf(text, sizeof text, "%s width: %d height: %d fps: %d bps: %d", kind, static_cast<int>(width),
                      static_cast<int>(height), static_cast<int>(avgTime & 0xFFFF), static_cast<int>(bitrate));
        OutputDebugStringA(text);

        BOOL result = TRUE;
        AM_MEDIA_TYPE* current = nullptr;
        if (SUCCEEDED(config->GetFormat(&current)) && current != nullptr) DeleteMediaType(current);
        if (FAILED(config->SetFormat(mt))) {
            OutputDebugStringA("wisproxy: set pin format failed");
            result = FALSE;
        }
        current = nullptr;
        if (SUCCEEDED(config->GetFormat(&current)) && current != nullptr) DeleteMediaType(current);
        return result;
    });
}

BOOL CWiseCaptureFilter::ApplyAudioFormat(IAMStreamConfig* config, AudioFormatInfo* info) {
    if (config == nullptr || info == nullptr) return FALSE;
    return TakeStreamCaps(config, sizeof(AUDIO_STREAM_CONFIG_CAPS), nullptr, [&](AM_MEDIA_TYPE* mt) -> std::optional<BOOL> {
        auto* wave = FormatBlockAs<WAVEFORMATEX>(mt, FORMAT_WaveFormatEx);
        if (wave == nullptr || wave->wFormatTag != info->formatTag) return std::nullopt;
        wave->nChannels = static_cast<WORD>(info->channels);
        wave->nSamplesPerSec = info->samplesPerSec;
        wave->wBitsPerSample = static_cast<WORD>(info->bitsPerSample);
        wave->nBlockAlign = info->blockAlign;
        wave->nAvgBytesPerSec = info->avgBytesPerSec;
        // TRUE only when the format took, though the old code answered TRUE whatever SetFormat
        // returned.
        return config->SetFormat(mt) == S_OK ? TRUE : FALSE;
    });
}

BOOL CWiseCaptureFilter::SetAudioFormat(AudioFormatInfo* info) {
    CComPtr<IAMStreamConfig> config = PinStreamConfig("Audio Capture");
    if (config == nullptr) return FALSE;
    return ApplyAudioFormat(config, info);
}

BOOL CWiseCaptureFilter::GetAudioFormat(AudioFormatInfo* info) {
    if (info == nullptr) return FALSE;
    CComPtr<IAMStreamConfig> config = PinStreamConfig("Audio Capture");
    if (config == nullptr) return FALSE;
    AM_MEDIA_TYPE* raw = nullptr;
    if (FAILED(config->GetFormat(&raw)) || raw == nullptr) return FALSE;
    std::unique_ptr<AM_MEDIA_TYPE, FreeType> mt(raw);
    if (!IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx) || mt->pbFormat == nullptr ||
        mt->cbFormat < sizeof(WAVEFORMATEX)) {
        return FALSE;
    }
    const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
    info->formatTag = wave->wFormatTag;
    info->samplesPerSec = wave->nSamplesPerSec;
    info->channels = wave->nChannels;
    info->bitsPerSample = wave->wBitsPerSample;
    info->blockAlign = wave->nBlockAlign;
    info->avgBytesPerSec = wave->nAvgBytesPerSec;
    info->extraSize = 0;
    return TRUE;
}
