// The station's own encoder settings, read from "video_profiles.txt": one table per setting
// kind, each setting with the index of the device capability it was matched to, and the
// combinations of stream, resolution and frame-rate capabilities the device allows.
#pragma once

#include <windows.h>

#include "wisencoder.h"

#define PROFILE_TABLE_SIZE 30

#pragma pack(push, 1)

// Capability index k belongs to setting k.
template <typename Setting>
struct ProfileTable {
    DWORD count;
    Setting settings[PROFILE_TABLE_SIZE];
    DWORD capability[PROFILE_TABLE_SIZE];
};

struct ProfileTables {
    ProfileTable<StreamSetting> stream;
    ProfileTable<ResolutionSetting> resolution;
    ProfileTable<BitrateSetting> bitrate;  // its capability indexes are not used
    ProfileTable<FrameRateSetting> framerate;
};

// Capability indexes of one allowed combination.
struct ValidCombination {
    DWORD stream;
    DWORD resolution;
    DWORD framerate;
};

#pragma pack(pop)

static_assert(sizeof(ProfileTable<StreamSetting>) == 10804);
static_assert(sizeof(ProfileTables) == 43336);
static_assert(offsetof(ProfileTables, resolution) == 10804 && offsetof(ProfileTables, bitrate) == 21968 &&
              offsetof(ProfileTables, framerate) == 32772);
static_assert(sizeof(ValidCombination) == 12);

// The profile reader's codes (0: success).
enum ProfileError {
    PROFILE_NO_FILE = 1,
    PROFILE_OUTSIDE_SECTION = 2,
    PROFILE_NO_SETTING_ID = 5,  // a name not found, or the link table full
    PROFILE_NOT_SUPPORTED = 24,  // the device cannot do the entry: skipped
    PROFILE_UNKNOWN_STREAM_KEY = 26,
    PROFILE_UNKNOWN_BITRATE_KEY = 27,
    PROFILE_UNKNOWN_RESOLUTION_KEY = 28,
    PROFILE_UNKNOWN_FRAMERATE_KEY = 29,
    PROFILE_TABLE_FULL = 37,
    PROFILE_NAME_MISSING = 38,
    PROFILE_NAME_USED = 39,
    PROFILE_BAD_STANDARD = 41,
    PROFILE_NO_COMPRESS_MODE = 42,
    PROFILE_BAD_COMPRESS_MODE = 43,
    PROFILE_BAD_SEQUENCE = 44,
    PROFILE_BAD_MPEG4_MODE = 45,
    PROFILE_BAD_DEINTERLACE = 47,
    PROFILE_BAD_SEARCH_RANGE = 48,
    PROFILE_BAD_ASPECT_RATIO = 49,
    PROFILE_FRAMERATE_INCOMPLETE = 50,
    PROFILE_BITRATE_INCOMPLETE = 51,
    PROFILE_TARGET_ABOVE_PEAK = 53,
    PROFILE_BAD_CONVERGE_SPEED = 54,
    PROFILE_BAD_LAMBDA = 55,
    PROFILE_BAD_QUANTISER = 56,
    PROFILE_RESOLUTION_INCOMPLETE = 57,
    PROFILE_SCALING_INCOMPLETE = 59,
    PROFILE_NO_MEMORY = 60,
    PROFILE_LINK_EXCLUDES = 61,
    PROFILE_ENTRY_BROKEN = 62,
};
