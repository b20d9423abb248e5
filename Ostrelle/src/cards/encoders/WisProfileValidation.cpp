// The checks of one entry of the encoder profile file, after its last key.
#include "cards/encoders/WisProfileValidation.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

bool Given(const SettingHead& head, DWORD flag) { return (head.flags & flag) != 0; }

template <typename Setting>
int CheckName(const Setting* s, const Setting* earlier, DWORD earlierCount) {
    if (!Given(s->head, SETTING_FLAG_NAME) || s->head.name[0] == '\0') return PROFILE_NAME_MISSING;
    for (DWORD i = 0; i < earlierCount; ++i) {
        if (std::strncmp(earlier[i].head.name, s->head.name, sizeof s->head.name) == 0) return PROFILE_NAME_USED;
    }
    return 0;
}

// A switch left out is off; one given is on when not 0.
void Switch(const SettingHead& head, DWORD flag, BYTE& value) {
    if (!Given(head, flag)) {
        value = 0;
    } else if (value != 0) {
        value = 1;
    }
}

bool OneOf(DWORD value, std::initializer_list<DWORD> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

}  // namespace

int ValidateStreamSetting(StreamSetting* s, const StreamSetting* earlier, DWORD earlierCount) {
    if (int code = CheckName(s, earlier, earlierCount)) return code;
    const SettingHead& head = s->head;
    if (!Given(head, 0x1)) return PROFILE_NO_COMPRESS_MODE;
    if (!OneOf(s->compress_mode, {0, 1, 3, 4, 8, 64, 65, 67, 68})) return PROFILE_BAD_COMPRESS_MODE;
    if (!OneOf(s->sequence, {1, 2, 3})) return PROFILE_BAD_SEQUENCE;
    Switch(head, 0x4, s->gop_mode);
    if (!Given(head, 0x8)) s->gop_size = 0;
    if (!Given(head, 0x10)) {
        if (s->compress_mode == 4 || s->compress_mode == 68) return PROFILE_BAD_MPEG4_MODE;
        s->mpeg4_mode = 0;
    } else if (s->mpeg4_mode > 3) {
        return PROFILE_BAD_MPEG4_MODE;
    }
    Switch(head, 0x400, s->DVD_compliant);
    if (Given(head, 0x20) && ((s->deinterlace_mode == 2 && s->compress_mode != 1) || s->deinterlace_mode > 2))
        return PROFILE_BAD_DEINTERLACE;
    if (Given(head, 0x40) && !OneOf(s->search_range, {16, 32, 64, 128})) return PROFILE_BAD_SEARCH_RANGE;
    if (Given(head, 0x80) && s->gop_head_enable != 0) s->gop_head_enable = 1;
    if (Given(head, 0x100) && s->seq_head_enable != 0) s->seq_head_enable = 1;
    if (Given(head, 0x200) && !OneOf(s->aspect_ratio, {1, 2, 3})) return PROFILE_BAD_ASPECT_RATIO;
    return 0;
}

int ValidateFrameRateSetting(FrameRateSetting* s, const FrameRateSetting* earlier, DWORD earlierCount) {
    if (int code = CheckName(s, earlier, earlierCount)) return code;
    if (!Given(s->head, 0x1) || !Given(s->head, 0x8)) return PROFILE_FRAMERATE_INCOMPLETE;
    if (Given(s->head, 0x2) && s->ivtc_enable != 0) s->ivtc_enable = 1;
    return 0;
}

int ValidateResolutionSetting(ResolutionSetting* s, const ResolutionSetting* earlier, DWORD earlierCount) {
    if (int code = CheckName(s, earlier, earlierCount)) return code;
    SettingHead& head = s->head;
    if (!Given(head, 0x1) || !Given(head, 0x2) || !Given(head, 0x200)) return PROFILE_RESOLUTION_INCOMPLETE;
    head.flags |= 0x400 | 0x800;  // the device's bounds replace the file's when the entry is matched
    if (!Given(head, 0x4)) s->h_sub_window = 1;
    if (!Given(head, 0x8)) s->v_sub_window = 1;
    if (!Given(head, 0x100)) s->sub_sample = 0;
    const DWORD scaling = 0x1000 | 0x2000 | 0x4000 | 0x8000;
    if ((head.flags & scaling) == scaling) {
        head.flags |= 0x10;
    } else if ((head.flags & scaling) != 0) {
        return PROFILE_SCALING_INCOMPLETE;
    }
    return 0;
}

int ValidateBitrateSetting(BitrateSetting* s, const BitrateSetting* earlier, DWORD earlierCount) {
    if (int code = CheckName(s, earlier, earlierCount)) return code;
    SettingHead& head = s->head;
    if (!Given(head, 0x4) || !Given(head, 0x80)) return PROFILE_BITRATE_INCOMPLETE;
    if (Given(head, 0x8) && s->target_bitrate > s->peak_bitrate) return PROFILE_TARGET_ABOVE_PEAK;
    if (Given(head, 0x20) && s->converge_speed > 100) return PROFILE_BAD_CONVERGE_SPEED;
    if (Given(head, 0x40) && s->lambda > 100) return PROFILE_BAD_LAMBDA;
    const DWORD quantisers = 0x200 | 0x400 | 0x800;
    if ((head.flags & quantisers) == 0) return 0;
    if ((head.flags & quantisers) != quantisers) return PROFILE_BAD_QUANTISER;
    head.flags |= 0x100;
    for (BYTE q : {s->IQ, s->PQ, s->BQ}) {
        if (q < 1 || q > 32) return PROFILE_BAD_QUANTISER;
    }
    return 0;
}
