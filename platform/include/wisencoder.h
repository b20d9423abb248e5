// The WIS GO7007SB driver's encoder records, as they travel between the driver and its callers:
// little-endian and packed. The four setting records also ride behind a video pin's format block
// as TCFG_FORMAT_EXTENSION. A flag bit of a setting says which of its fields were given (in a
// capability record: which fields must match).
#pragma once

#include <bit>
#include <cstddef>

#include "platform/wintypes.h"

static_assert(std::endian::native == std::endian::little, "the encoder records are little-endian");

#pragma pack(push, 1)

// The head every setting record starts with.
struct SettingHead {
    char name[64];   // NUL-terminated
    char desc[256];  // NUL-terminated
    DWORD flags;
    DWORD reserved;
};

// Flag bits of the head, in every setting record.
#define SETTING_FLAG_DESC 0x10000000u
#define SETTING_FLAG_NAME 0x20000000u

struct StreamSetting {
    SettingHead head;
    DWORD compress_mode;  // 0x1
    DWORD sequence;       // 0x2
    BYTE gop_mode;        // 0x4
    BYTE reserved1[3];
    DWORD gop_size;          // 0x8
    BYTE mpeg4_mode;         // 0x10
    BYTE DVD_compliant;      // 0x400
    BYTE deinterlace_mode;   // 0x20
    BYTE search_range;       // 0x40
    BYTE gop_head_enable;    // 0x80
    BYTE seq_head_enable;    // 0x100
    BYTE aspect_ratio;       // 0x200
    BYTE reserved2[5];
};

struct FrameRateSetting {
    SettingHead head;
    DWORD tv_standard;  // 0x8; an AnalogVideoStandard mask
    DWORD frame_rate;   // 0x1; frames per second times 1001
    DWORD drop_frame;   // 0x4
    BYTE ivtc_enable;   // 0x2
    BYTE reserved[7];
};

struct ResolutionSetting {
    SettingHead head;
    DWORD tv_standard;  // 0x200
    DWORD width;        // 0x1
    DWORD height;       // 0x2
    BYTE h_sub_window;  // 0x4
    BYTE v_sub_window;  // 0x8
    BYTE reserved1[2];
    DWORD h_sub_offset;  // 0x1000
    DWORD v_sub_offset;  // 0x2000
    BYTE h_scale_enb;    // 0x4000
    BYTE v_scale_enb;    // 0x8000
    BYTE sub_sample;     // 0x100
    BYTE reserved2;
    DWORD max_bitrate;  // 0x400
    DWORD min_bitrate;  // 0x800
    DWORD reserved3;
};
// 0x10: all four scaling fields (h/v_sub_offset, h/v_scale_enb) were given.

struct BitrateSetting {
    SettingHead head;
    DWORD target_bitrate;  // 0x4
    DWORD peak_bitrate;    // 0x8
    DWORD vbv_buffer;      // 0x10
    BYTE converge_speed;   // 0x20
    BYTE lambda;           // 0x40
    BYTE reserved1[2];
    DWORD Q;   // 0x80
    BYTE IQ;   // 0x200
    BYTE PQ;   // 0x400
    BYTE BQ;   // 0x800
    BYTE reserved2;
    // Bits 0-6 QMin (0x1000), bit 7 Duplicate (0x4000), bits 8-14 QMax (0x2000), bit 15 MBBrc
    // (0x8000), bits 16-31 WindowSize (0x10000).
    DWORD packed;
};
// 0x100: IQ, PQ and BQ were all given.

// The encoder extension behind a video pin's normal format block.
struct TCFG_FORMAT_EXTENSION {
    StreamSetting stream;
    FrameRateSetting framerate;
    ResolutionSetting resolution;
    BitrateSetting bitrate;
};

// The driver's current configuration. The head beyond the profile name and the standard mask is
// the driver's own and passed through unchanged.
struct EncoderConfig {
    char profileName[64];
    BYTE head1[264];
    LONG standard;  // the profile's AnalogVideoStandard mask
    BYTE head2[380];
    StreamSetting stream;
    ResolutionSetting resolution;
    FrameRateSetting framerate;
    BitrateSetting bitrate;
};

// Setting kinds of a link.
#define SETTING_KIND_STREAM 1
#define SETTING_KIND_RESOLUTION 2
#define SETTING_KIND_BITRATE 3
#define SETTING_KIND_FRAMERATE 4
#define SETTING_LINK_ANY 0xFFFFFFFFu

// Which settings of two kinds may be combined: the first link that names a pair decides, and a
// closing link excludes the pair.
struct SettingLink {
    DWORD fromKind;
    DWORD fromId;
    DWORD toKind;
    DWORD toId;  // SETTING_LINK_ANY: every setting of toKind
    BYTE closing;
    BYTE reserved[3];
};

// A named encoder profile of the driver; the rest of the record is the driver's own.
struct EncoderProfile {
    char name[64];
    BYTE reserved[296];
};

#define ENCODER_MAX_PROFILES 16
#define ENCODER_MAX_CAPABILITIES 30
#define ENCODER_MAX_LINKS 300

// What the encoder can do, as the driver describes it.
struct EncoderCapabilities {
    DWORD profileCount;
    EncoderProfile profiles[ENCODER_MAX_PROFILES];
    DWORD streamCount;
    StreamSetting streams[ENCODER_MAX_CAPABILITIES];
    DWORD resolutionCount;
    ResolutionSetting resolutions[ENCODER_MAX_CAPABILITIES];
    DWORD framerateCount;
    FrameRateSetting framerates[ENCODER_MAX_CAPABILITIES];
    DWORD linkCount;
    SettingLink links[ENCODER_MAX_LINKS];
};

#pragma pack(pop)

static_assert(sizeof(SettingHead) == 328);
static_assert(sizeof(StreamSetting) == 356);
static_assert(offsetof(StreamSetting, gop_size) == 340 && offsetof(StreamSetting, aspect_ratio) == 350);
static_assert(sizeof(FrameRateSetting) == 348);
static_assert(offsetof(FrameRateSetting, ivtc_enable) == 340);
static_assert(sizeof(ResolutionSetting) == 368);
static_assert(offsetof(ResolutionSetting, h_sub_offset) == 344 && offsetof(ResolutionSetting, max_bitrate) == 356);
static_assert(sizeof(BitrateSetting) == 356);
static_assert(offsetof(BitrateSetting, Q) == 344 && offsetof(BitrateSetting, packed) == 352);
static_assert(sizeof(TCFG_FORMAT_EXTENSION) == 1428);
static_assert(offsetof(TCFG_FORMAT_EXTENSION, framerate) == 356 && offsetof(TCFG_FORMAT_EXTENSION, resolution) == 704 &&
              offsetof(TCFG_FORMAT_EXTENSION, bitrate) == 1072);
static_assert(sizeof(EncoderConfig) == 2140);
static_assert(offsetof(EncoderConfig, standard) == 328 && offsetof(EncoderConfig, stream) == 712 &&
              offsetof(EncoderConfig, resolution) == 1068 && offsetof(EncoderConfig, framerate) == 1436 &&
              offsetof(EncoderConfig, bitrate) == 1784);
static_assert(sizeof(SettingLink) == 20);
static_assert(sizeof(EncoderCapabilities) == 43940);
static_assert(offsetof(EncoderCapabilities, streamCount) == 5764 && offsetof(EncoderCapabilities, linkCount) == 37936);
