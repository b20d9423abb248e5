// The keys of each section of the encoder profile file: the field and flag bit each one sets,
// and the cross-reference keys that name entries of other sections.
#pragma once

#include <windows.h>

#include <cstddef>

enum class ProfileField {
    Dword,
    Byte,        // the low 8 bits of the number
    Standard,    // "NTSC", "PAL" or "None" as a standard mask
    QMin,        // bits 0-6 of the packed bit-rate word
    Duplicate,   // bit 7
    QMax,        // bits 8-14
    MBBrc,       // bit 15
    WindowSize,  // bits 16-31
};

struct ProfileKey {
    const char* key;  // compared case-sensitively
    DWORD flag;
    size_t offset;  // of the field in the setting record
    ProfileField field;
};

struct ProfileReference {
    const char* key;
    int kind;  // the kind of setting it names
};

struct ProfileSection {
    int kind;  // SETTING_KIND_*
    int unknownKeyCode;
    const ProfileKey* keys;
    size_t keyCount;
    const ProfileReference* references;  // in the order their closing links are added
    size_t referenceCount;
};

extern const ProfileSection kStreamSection;
extern const ProfileSection kFrameRateSection;
extern const ProfileSection kResolutionSection;
extern const ProfileSection kBitrateSection;

const ProfileKey* FindProfileKey(const ProfileSection& section, const char* key);
// -1 when the key names no entry of another section.
int FindProfileReference(const ProfileSection& section, const char* key);
// Sets the key's field in the record and its flag bit: 0, or PROFILE_BAD_STANDARD for a standard
// the file cannot name.
int SetProfileKey(const ProfileKey& key, void* record, const char* value);
