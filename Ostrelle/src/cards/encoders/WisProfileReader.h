// The reader of the station's encoder profile file "video_profiles.txt" (in the Windows folder):
// one entry per section header, [streamsetting], [frameratesetting], [resolutionsetting] or
// [bitratesetting], then "key=value" lines; "//" starts a comment outside double quotes, blanks
// count only inside them. Each entry is checked, matched to a capability of the device (an entry
// the device cannot do is skipped), and its cross-references ("rescfg", "fpscfg", "ctlcfg")
// become setting links of the capability block.
//
// Setting ids are capability indexes: an entry's name and every cross-reference must name a
// capability of the device. Bit-rate settings have no capability of their own; their ids are
// their places in the file's bit-rate table, so a "ctlcfg" names a bit-rate entry written above it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>

#include "cards/encoders/WisProfileTables.h"
#include "wisencoder.h"

// Tokens of ReadProfileLine.
enum ProfileToken {
    PROFILE_TOKEN_EMPTY = 0,
    PROFILE_TOKEN_STREAM = 1,
    PROFILE_TOKEN_FRAMERATE = 2,
    PROFILE_TOKEN_RESOLUTION = 3,
    PROFILE_TOKEN_BITRATE = 4,
    PROFILE_TOKEN_KEY = 5,
    PROFILE_TOKEN_OTHER = 6,  // an unknown section header or a line without '='
    PROFILE_TOKEN_END = 7,
    PROFILE_TOKEN_UNREADABLE = 8,  // the file could not be read on (not its end)
};

// The state of one load, from OpenProfileFile to CloseProfileFile.
struct ProfileReader {
    FILE* file = nullptr;
    int error = 0;
    char entryName[1000] = {};  // the name of the entry being read
    int line = 0;               // lines read so far
    char buffer[1000] = {};
    int started = 0;
    EncoderCapabilities* caps = nullptr;
    ProfileTables tables = {};

    ~ProfileReader();
};

// NULL when the file is not there or cannot be opened.
std::unique_ptr<ProfileReader> OpenProfileFile(const char* path);
void CloseProfileFile(ProfileReader* reader);
// The error code; the number of the last line read through `line` when given.
int GetProfileError(const ProfileReader* reader, int* line);

// Reads the whole file against the capability block, which gains the file's setting links, and
// copies the settings read to `tables`: 0, or the first error's code. Entries the device cannot
// do are skipped, with the links they made taken back, and so is an entry whose fields match
// another capability than the one its name names; a file with skipped entries still reads as
// 0. A file that cannot be read on (a read error, not its end) gives PROFILE_NO_FILE.
int ParseProfileFile(ProfileReader* reader, EncoderCapabilities* caps, ProfileTables* tables);
// One line as a token; for PROFILE_TOKEN_KEY the key and value point into the reader's buffer.
int ReadProfileLine(ProfileReader* reader, char** key, char** value);

// The id of a setting name of the kind: the first capability with that name, or for bit-rate
// settings the first such entry of the file's table up to `limit` (the entries read so far when
// negative); -1 when there is none.
int LookupSettingId(const ProfileReader* reader, const char* name, int kind, int limit);

// The file in the Windows folder: TRUE when it was read without error.
BOOL LoadVideoProfiles(EncoderCapabilities* caps, ProfileTables* tables);
