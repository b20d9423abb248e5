// Matching the station's encoder settings to the device's capabilities.
#include "cards/encoders/WisCapabilityMatch.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

DWORD Bounded(DWORD count, DWORD size) { return std::min(count, size); }

// A name field of the driver's, which need not be terminated, against a name.
bool NameEquals(const char (&field)[64], const char* name) {
    size_t length = strnlen(field, sizeof field);
    return std::strlen(name) == length && std::memcmp(field, name, length) == 0;
}

// A field that the capability marks as significant must be equal.
template <typename Field>
bool Agrees(DWORD capFlags, DWORD bit, Field wanted, Field offered) {
    return !FlagsCover(capFlags, bit) || wanted == offered;
}

bool StreamMatches(const StreamSetting& s, const StreamSetting& c) {
    DWORD f = c.head.flags;
    return s.compress_mode == c.compress_mode && Agrees(f, 0x10, s.mpeg4_mode, c.mpeg4_mode) &&
           Agrees(f, 0x400, s.DVD_compliant, c.DVD_compliant) && Agrees(f, 0x2, s.sequence, c.sequence) &&
           Agrees(f, 0x4, s.gop_mode, c.gop_mode) && Agrees(f, 0x8, s.gop_size, c.gop_size) &&
           Agrees(f, 0x20, s.deinterlace_mode, c.deinterlace_mode) && Agrees(f, 0x40, s.search_range, c.search_range) &&
           Agrees(f, 0x80, s.gop_head_enable, c.gop_head_enable) &&
           Agrees(f, 0x100, s.seq_head_enable, c.seq_head_enable) && Agrees(f, 0x200, s.aspect_ratio, c.aspect_ratio);
}

bool FrameRateMatches(const FrameRateSetting& s, const FrameRateSetting& c) {
    DWORD f = c.head.flags;
    return s.frame_rate == c.frame_rate && StandardsCompatible(LONG(s.tv_standard), LONG(c.tv_standard)) &&
           Agrees(f, 0x4, s.drop_frame, c.drop_frame) && Agrees(f, 0x2, s.ivtc_enable, c.ivtc_enable);
}

bool ResolutionMatches(const ResolutionSetting& s, const ResolutionSetting& c) {
    if (s.width != c.width || s.height != c.height) return false;
    if (!StandardsCompatible(LONG(s.tv_standard), LONG(c.tv_standard))) return false;
    if (!FlagsCover(c.head.flags, 0x10)) return true;
    return s.h_sub_offset == c.h_sub_offset && s.v_sub_offset == c.v_sub_offset && s.h_scale_enb == c.h_scale_enb &&
           s.v_scale_enb == c.v_scale_enb;
}

template <typename Setting, typename Matches>
DWORD FirstMatch(const Setting* table, DWORD count, const Setting& setting, Matches matches) {
    for (DWORD i = 0; i < Bounded(count, ENCODER_MAX_CAPABILITIES); ++i) {
        if (matches(setting, table[i])) return i;
    }
    return 0xFFFFFFFFu;
}

template <typename Setting>
int FirstNamed(const Setting* table, DWORD count, const char* name) {
    for (DWORD i = 0; i < Bounded(count, ENCODER_MAX_CAPABILITIES); ++i) {
        if (NameEquals(table[i].head.name, name)) return int(i);
    }
    return -1;
}

bool Excluded(const EncoderCapabilities* caps, DWORD fromKind, DWORD fromId, DWORD toKind, DWORD toId) {
    SettingLink query = {fromKind, fromId, toKind, toId, 0, {}};
    return FindSettingLink(caps, &query) != 0;
}

}  // namespace

BOOL FlagsCover(DWORD flags, DWORD mask) { return flags == 0 || (flags & mask) == mask; }

BOOL StandardsCompatible(long wanted, long offered) {
    if (wanted == 0) return offered == 0;
    return offered != 0 && (wanted & offered) == wanted;
}

BOOL CapabilitiesWithinArrays(const EncoderCapabilities* caps) {
    return caps->profileCount <= ENCODER_MAX_PROFILES && caps->streamCount <= ENCODER_MAX_CAPABILITIES &&
           caps->resolutionCount <= ENCODER_MAX_CAPABILITIES && caps->framerateCount <= ENCODER_MAX_CAPABILITIES &&
           caps->linkCount <= ENCODER_MAX_LINKS;
}

DWORD MatchStreamCapability(const EncoderCapabilities* caps, const StreamSetting* setting) {
    return FirstMatch(caps->streams, caps->streamCount, *setting, StreamMatches);
}

DWORD MatchFrameRateCapability(const EncoderCapabilities* caps, const FrameRateSetting* setting) {
    return FirstMatch(caps->framerates, caps->framerateCount, *setting, FrameRateMatches);
}

DWORD MatchResolutionCapability(const EncoderCapabilities* caps, ResolutionSetting* setting) {
    DWORD index = FirstMatch(caps->resolutions, caps->resolutionCount, *setting, ResolutionMatches);
    if (index != 0xFFFFFFFFu) {
        setting->max_bitrate = caps->resolutions[index].max_bitrate;
        setting->min_bitrate = caps->resolutions[index].min_bitrate;
    }
    return index;
}

int FindCapabilityByName(const EncoderCapabilities* caps, int kind, const char* name) {
    switch (kind) {
    case SETTING_KIND_STREAM:
        return FirstNamed(caps->streams, caps->streamCount, name);
    case SETTING_KIND_RESOLUTION:
        return FirstNamed(caps->resolutions, caps->resolutionCount, name);
    case SETTING_KIND_FRAMERATE:
        return FirstNamed(caps->framerates, caps->framerateCount, name);
    default:
        return -1;
    }
}

int AddSettingLink(EncoderCapabilities* caps, const SettingLink* link) {
    if (caps->linkCount >= ENCODER_MAX_LINKS) return -3;
    caps->links[caps->linkCount] = *link;
    return int(++caps->linkCount);
}

int FindSettingLink(const EncoderCapabilities* caps, const SettingLink* query) {
    for (DWORD i = 0; i < Bounded(caps->linkCount, ENCODER_MAX_LINKS); ++i) {
        const SettingLink& link = caps->links[i];
        if (link.fromKind != query->fromKind || link.toKind != query->toKind) continue;
        if (link.fromId != query->fromId && link.fromId != SETTING_LINK_ANY) continue;
        if (link.toId != query->toId && link.toId != SETTING_LINK_ANY) continue;
        return link.closing ? PROFILE_LINK_EXCLUDES : 0;
    }
    return 0;
}

int BuildValidCombinations(const EncoderCapabilities* caps, int /*profile*/, long standard,
                           std::vector<ValidCombination>& combinations) {
    combinations.clear();
    DWORD streams = Bounded(caps->streamCount, ENCODER_MAX_CAPABILITIES);
    DWORD framerates = Bounded(caps->framerateCount, ENCODER_MAX_CAPABILITIES);
    DWORD resolutions = Bounded(caps->resolutionCount, ENCODER_MAX_CAPABILITIES);
    try {
        combinations.reserve(size_t(streams) * framerates * resolutions);
    } catch (const std::bad_alloc&) {
        return PROFILE_NO_MEMORY;
    }
    for (DWORD s = 0; s < streams; ++s) {
        for (DWORD f = 0; f < framerates; ++f) {
            if (!StandardsCompatible(standard, LONG(caps->framerates[f].tv_standard))) continue;
            for (DWORD r = 0; r < resolutions; ++r) {
                if (!StandardsCompatible(standard, LONG(caps->resolutions[r].tv_standard))) continue;
                if (Excluded(caps, SETTING_KIND_STREAM, s, SETTING_KIND_FRAMERATE, f) ||
                    Excluded(caps, SETTING_KIND_STREAM, s, SETTING_KIND_RESOLUTION, r) ||
                    Excluded(caps, SETTING_KIND_FRAMERATE, f, SETTING_KIND_RESOLUTION, r))
                    continue;
                combinations.push_back({s, r, f});
            }
        }
    }
    return combinations.empty() ? PROFILE_NOT_SUPPORTED : 0;
}
