// The keys of each section of the encoder profile file.
#include "cards/encoders/WisProfileKeys.h"

#include <cstdlib>
#include <cstring>

#include "cards/encoders/WisProfileTables.h"
#include "wisencoder.h"

namespace {

#define KEY(Record, name, flag, kind) {#name, flag, offsetof(Record, name), ProfileField::kind}

const ProfileKey kStreamKeys[] = {
    KEY(StreamSetting, compress_mode, 0x1, Dword),      KEY(StreamSetting, sequence, 0x2, Dword),
    KEY(StreamSetting, gop_mode, 0x4, Byte),            KEY(StreamSetting, gop_size, 0x8, Dword),
    KEY(StreamSetting, mpeg4_mode, 0x10, Byte),         KEY(StreamSetting, DVD_compliant, 0x400, Byte),
    KEY(StreamSetting, deinterlace_mode, 0x20, Byte),   KEY(StreamSetting, search_range, 0x40, Byte),
    KEY(StreamSetting, gop_head_enable, 0x80, Byte),    KEY(StreamSetting, seq_head_enable, 0x100, Byte),
    KEY(StreamSetting, aspect_ratio, 0x200, Byte),
};

const ProfileKey kFrameRateKeys[] = {
    KEY(FrameRateSetting, tv_standard, 0x8, Standard),
    KEY(FrameRateSetting, frame_rate, 0x1, Dword),
    KEY(FrameRateSetting, drop_frame, 0x4, Dword),
    KEY(FrameRateSetting, ivtc_enable, 0x2, Byte),
};

const ProfileKey kResolutionKeys[] = {
    KEY(ResolutionSetting, tv_standard, 0x200, Standard), KEY(ResolutionSetting, width, 0x1, Dword),
    KEY(ResolutionSetting, height, 0x2, Dword),           KEY(ResolutionSetting, h_sub_window, 0x4, Byte),
    KEY(ResolutionSetting, v_sub_window, 0x8, Byte),      KEY(ResolutionSetting, h_sub_offset, 0x1000, Dword),
    KEY(ResolutionSetting, v_sub_offset, 0x2000, Dword),  KEY(ResolutionSetting, h_scale_enb, 0x4000, Byte),
    KEY(ResolutionSetting, v_scale_enb, 0x8000, Byte),    KEY(ResolutionSetting, sub_sample, 0x100, Byte),
    KEY(ResolutionSetting, max_bitrate, 0x400, Dword),    KEY(ResolutionSetting, min_bitrate, 0x800, Dword),
};

#define PACKED(name, flag, kind) {name, flag, offsetof(BitrateSetting, packed), ProfileField::kind}

const ProfileKey kBitrateKeys[] = {
    KEY(BitrateSetting, target_bitrate, 0x4, Dword), KEY(BitrateSetting, peak_bitrate, 0x8, Dword),
    KEY(BitrateSetting, vbv_buffer, 0x10, Dword),    KEY(BitrateSetting, converge_speed, 0x20, Byte),
    KEY(BitrateSetting, lambda, 0x40, Byte),         KEY(BitrateSetting, Q, 0x80, Dword),
    KEY(BitrateSetting, IQ, 0x200, Byte),            KEY(BitrateSetting, PQ, 0x400, Byte),
    KEY(BitrateSetting, BQ, 0x800, Byte),            PACKED("QMin", 0x1000, QMin),
    PACKED("QMax", 0x2000, QMax),                    PACKED("Duplicate", 0x4000, Duplicate),
    PACKED("MBBrc", 0x8000, MBBrc),                  PACKED("WindowSize", 0x10000, WindowSize),
};

#undef KEY
#undef PACKED

const ProfileReference kStreamReferences[] = {
    {"rescfg", SETTING_KIND_RESOLUTION}, {"fpscfg", SETTING_KIND_FRAMERATE}, {"ctlcfg", SETTING_KIND_BITRATE}};
const ProfileReference kFrameRateReferences[] = {{"rescfg", SETTING_KIND_RESOLUTION},
                                                 {"ctlcfg", SETTING_KIND_BITRATE}};
const ProfileReference kResolutionReferences[] = {{"ctlcfg", SETTING_KIND_BITRATE}};

// A field of the packed bit-rate word: its lowest bit and its mask there.
struct PackedBits {
    int shift;
    DWORD mask;
};

PackedBits PackedBitsOf(ProfileField field) {
    switch (field) {
    case ProfileField::QMin:
        return {0, 0x7F};
    case ProfileField::Duplicate:
        return {7, 0x1};
    case ProfileField::QMax:
        return {8, 0x7F};
    case ProfileField::MBBrc:
        return {15, 0x1};
    default:
        return {16, 0xFFFF};
    }
}

bool StandardOf(const char* value, DWORD* standard) {
    if (std::strcmp(value, "NTSC") == 0) {
        *standard = 0x807;
    } else if (std::strcmp(value, "PAL") == 0) {
        *standard = 0x7F0;
    } else if (std::strcmp(value, "None") == 0) {
        *standard = 0;
    } else {
        return false;
    }
    return true;
}

}  // namespace

const ProfileSection kStreamSection = {SETTING_KIND_STREAM,   PROFILE_UNKNOWN_STREAM_KEY,
                                       kStreamKeys,           std::size(kStreamKeys),
                                       kStreamReferences,     std::size(kStreamReferences)};
const ProfileSection kFrameRateSection = {SETTING_KIND_FRAMERATE, PROFILE_UNKNOWN_FRAMERATE_KEY,
                                          kFrameRateKeys,         std::size(kFrameRateKeys),
                                          kFrameRateReferences,   std::size(kFrameRateReferences)};
const ProfileSection kResolutionSection = {SETTING_KIND_RESOLUTION, PROFILE_UNKNOWN_RESOLUTION_KEY,
                                           kResolutionKeys,         std::size(kResolutionKeys),
                                           kResolutionReferences,   std::size(kResolutionReferences)};
const ProfileSection kBitrateSection = {SETTING_KIND_BITRATE, PROFILE_UNKNOWN_BITRATE_KEY,
                                        kBitrateKeys,         std::size(kBitrateKeys),
                                        nullptr,              0};

const ProfileKey* FindProfileKey(const ProfileSection& section, const char* key) {
    for (size_t i = 0; i < section.keyCount; ++i) {
        if (std::strcmp(section.keys[i].key, key) == 0) return &section.keys[i];
    }
    return nullptr;
}

int FindProfileReference(const ProfileSection& section, const char* key) {
    for (size_t i = 0; i < section.referenceCount; ++i) {
        if (std::strcmp(section.references[i].key, key) == 0) return int(i);
    }
    return -1;
}

int SetProfileKey(const ProfileKey& key, void* record, const char* value) {
    BYTE* field = static_cast<BYTE*>(record) + key.offset;
    DWORD number = DWORD(std::atoi(value));
    switch (key.field) {
    case ProfileField::Dword:
        std::memcpy(field, &number, sizeof number);
        break;
    case ProfileField::Byte:
        *field = BYTE(number);
        break;
    case ProfileField::Standard:
        if (!StandardOf(value, &number)) return PROFILE_BAD_STANDARD;
        std::memcpy(field, &number, sizeof number);
        break;
    default: {
        PackedBits bits = PackedBitsOf(key.field);
        DWORD word;
        std::memcpy(&word, field, sizeof word);
        word = (word & ~(bits.mask << bits.shift)) | ((number & bits.mask) << bits.shift);
        std::memcpy(field, &word, sizeof word);
        break;
    }
    }
    DWORD flags;
    std::memcpy(&flags, static_cast<BYTE*>(record) + offsetof(SettingHead, flags), sizeof flags);
    flags |= key.flag;
    std::memcpy(static_cast<BYTE*>(record) + offsetof(SettingHead, flags), &flags, sizeof flags);
    return 0;
}
