// The start-of-stream headers of the WIS encoder's elementary stream, built from the encoder extension.
#include "cards/encoders/WisStreamHeaders.h"

#include <cstring>

const DWORD kWisFrameRates[8] = {24000, 24024, 25025, 30000, 30030, 50050, 60000, 60060};

namespace {

// Every header's fixed parts.
const BYTE kSequenceHeaderCode[4] = {0x00, 0x00, 0x01, 0xB3};
// bit_rate_value 0x3FFFF, marker, vbv_buffer_size_value 597, constrained_parameters_flag 0, no
// quantiser matrices.
const BYTE kMpeg1RateAndBuffer[4] = {0xFF, 0xFF, 0xF2, 0xA8};
// bit_rate_value 24500 (9.8 Mbit/s), marker, vbv_buffer_size_value 112, no quantiser matrices.
const BYTE kMpeg2RateAndBuffer[4] = {0x17, 0xED, 0x23, 0x80};
// extension_start_code, sequence extension id 1 with the first half of Main profile at Main level.
const BYTE kMpeg2ExtensionStart[5] = {0x00, 0x00, 0x01, 0xB5, 0x14};
// Size and bit-rate extensions 0, marker, vbv_buffer_size_extension 0, low_delay 0,
// frame_rate_extension 0.
const BYTE kMpeg2ExtensionTail[4] = {0x00, 0x01, 0x00, 0x00};
// video_object_start_code, video_object_layer_start_code, then a simple object with square
// pixels, rectangular, and the top 14 bits of vop_time_increment_resolution 30000.
const BYTE kMpeg4VolStart[12] = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x20, 0x00, 0x84, 0x5D, 0x4C};
// marker, progressive, obmc disabled, no sprite, 8 bit, H.263 quantisation, complexity
// estimation and resync markers disabled, no data partitioning or scalability, stuffing.
const BYTE kMpeg4VolTail[2] = {0xA3, 0x1F};
const BYTE kPrivateStart[5] = {0x00, 0x00, 0x01, 0xF1, 0x01};
const BYTE kPrivateTail[4] = {0x40, 0x01, 0x00, 0x00};

DWORD Width(const TCFG_FORMAT_EXTENSION* e) { return e->resolution.width; }
DWORD Height(const TCFG_FORMAT_EXTENSION* e) { return e->resolution.height; }

// Bytes 0-7 of the MPEG-1 and MPEG-2 sequence headers: start code, 12-bit sizes, aspect ratio
// (the stream's own only for DVD-compliant streams, else 4:3) and frame_rate_code.
void WriteSequenceStart(const TCFG_FORMAT_EXTENSION* e, BYTE* header) {
    DWORD w = Width(e);
    DWORD h = Height(e);
    int aspect = e->stream.DVD_compliant != 0 ? e->stream.aspect_ratio : 2;
    std::memcpy(header, kSequenceHeaderCode, 4);
    header[4] = BYTE(w >> 4);
    header[5] = BYTE(((w << 4) & 0xF0) + ((h >> 8) & 0x0F));
    header[6] = BYTE(h & 0xFF);
    header[7] = BYTE((aspect << 4) + FrameRateCode(e->framerate.frame_rate));
}

void PutBigEndian(BYTE* at, DWORD value) {
    DWORD swapped = ToBigEndian32(value);
    std::memcpy(at, &swapped, 4);
}

}  // namespace

int FrameRateCode(DWORD frameRate) {
    for (int i = 0; i < 8; ++i) {
        if (kWisFrameRates[i] == frameRate) return i + 1;
    }
    return 4;
}

DWORD ToBigEndian32(DWORD value) {
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

int BuildMpeg1SequenceHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out) {
    thread_local BYTE header[12];
    WriteSequenceStart(extension, header);
    std::memcpy(header + 8, kMpeg1RateAndBuffer, 4);
    *out = header;
    return sizeof header;
}

int BuildMpeg2SequenceHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out) {
    thread_local BYTE header[22];
    WriteSequenceStart(extension, header);
    std::memcpy(header + 8, kMpeg2RateAndBuffer, 4);
    std::memcpy(header + 12, kMpeg2ExtensionStart, 5);
    // Interlaced (progressive_sequence 0) for DVD streams and deinterlace mode 2, else progressive.
    bool interlaced = extension->stream.DVD_compliant != 0 || extension->stream.deinterlace_mode == 2;
    header[17] = interlaced ? 0x82 : 0x8A;
    std::memcpy(header + 18, kMpeg2ExtensionTail, 4);
    *out = header;
    return sizeof header;
}

int BuildMpeg4VolHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out) {
    thread_local BYTE header[18];
    DWORD w = Width(extension);
    DWORD h = Height(extension);
    std::memcpy(header, kMpeg4VolStart, 12);
    header[12] = BYTE(0x28 + ((w >> 10) & 7));
    header[13] = BYTE((w >> 2) & 0xFF);
    header[14] = BYTE(0x20 + ((h >> 8) & 0x1F));  // width bits 1..0 are written as 0
    header[15] = BYTE(h & 0xFF);
    std::memcpy(header + 16, kMpeg4VolTail, 2);
    *out = header;
    return sizeof header;
}

int BuildPrivateStreamHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out) {
    thread_local BYTE header[24];
    DWORD mode = extension->stream.compress_mode;
    std::memcpy(header, kPrivateStart, 5);
    header[5] = BYTE(mode & 0xFF);
    header[6] = BYTE(extension->stream.sequence & 0xFF);
    PutBigEndian(header + 7, Width(extension) >> 4);
    PutBigEndian(header + 11, Height(extension) >> 4);
    PutBigEndian(header + 15, extension->bitrate.target_bitrate);
    header[19] = BYTE((mode - 64) & 0xFF);
    std::memcpy(header + 20, kPrivateTail, 4);
    *out = header;
    return sizeof header;
}
