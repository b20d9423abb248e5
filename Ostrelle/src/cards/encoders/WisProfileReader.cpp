// The reader of the station's encoder profile file "video_profiles.txt" (in the Windows folder).
#include "cards/encoders/WisProfileReader.h"

#include <io.h>

#include <cctype>
#include <cstring>

#include "cards/encoders/WisCapabilityMatch.h"
#include "cards/encoders/WisProfileKeys.h"
#include "cards/encoders/WisProfileValidation.h"

namespace {

const char kProfileFileName[] = "/video_profiles.txt";

const struct {
    const char* header;
    int token;
} kSectionHeaders[] = {
    {"[streamsetting]", PROFILE_TOKEN_STREAM},
    {"[frameratesetting]", PROFILE_TOKEN_FRAMERATE},
    {"[resolutionsetting]", PROFILE_TOKEN_RESOLUTION},
    {"[bitratesetting]", PROFILE_TOKEN_BITRATE},
};

// Ends the line at the first "//" outside double quotes.
void StripComment(char* line) {
    bool quoted = false;
    char* slash = nullptr;  // a single '/' waiting for its second
    for (char* p = line; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (*p == '/') {
            if (quoted) continue;
            if (slash) {
                *slash = '\0';
                return;
            }
            slash = p;
        } else {
            slash = nullptr;
        }
    }
}

// Drops line ends, blanks and tabs outside double quotes, and the quotes themselves.
void StripBlanks(char* line) {
    bool quoted = false;
    char* out = line;
    for (const char* p = line; *p; ++p) {
        char c = *p;
        if (c == '\r' || c == '\n') continue;
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) continue;
        *out++ = c;
    }
    *out = '\0';
}

// Copies text into a field, cut to the field's size with its terminator kept.
template <size_t N>
void CopyCut(char (&field)[N], const char* text) {
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

int Fail(ProfileReader* reader, int code) {
    reader->error = code;
    return code;
}

// One entry of a section: its keys, links, checks and match.
class EntryParser {
public:
    EntryParser(ProfileReader* reader, const ProfileSection& section) : m_reader(reader), m_section(section) {}

    template <typename Setting, typename Validate, typename Match>
    int Parse(int* token, ProfileTable<Setting>& table, Validate validate, Match match) {
        if (table.count >= PROFILE_TABLE_SIZE) return PROFILE_TABLE_FULL;
        DWORD slot = table.count;
        Setting* setting = &table.settings[slot];
        // Cleared first, so nothing of a skipped entry in this slot carries into this one.
        std::memset(setting, 0, sizeof *setting);
        table.capability[slot] = 0;
        m_reader->entryName[0] = '\0';
        const DWORD linksBefore = m_reader->caps->linkCount;
        if (int code = ReadKeys(token, &setting->head, setting, slot)) return code;
        if (int code = AddClosingLinks()) return code;
        if (*token == PROFILE_TOKEN_OTHER) return PROFILE_ENTRY_BROKEN;
        if (int code = validate(setting, table.settings, slot)) return code;
        DWORD index = match(m_reader->caps, setting);
        // The device cannot do it, or its fields are those of another capability than the one
        // its name names: skipped, and its links taken back with it.
        if (index == 0xFFFFFFFFu || (m_section.kind != SETTING_KIND_BITRATE && m_ownId >= 0 && index != DWORD(m_ownId))) {
            TakeBackLinks(linksBefore);
            return PROFILE_NOT_SUPPORTED;
        }
        table.capability[slot] = index;
        ++table.count;
        return 0;
    }

private:
    int ReadKeys(int* token, SettingHead* head, void* record, DWORD slot) {
        for (;;) {
            char* key = nullptr;
            char* value = nullptr;
            *token = ReadProfileLine(m_reader, &key, &value);
            if (*token == PROFILE_TOKEN_EMPTY) continue;
            if (*token == PROFILE_TOKEN_UNREADABLE) return PROFILE_NO_FILE;
            if (*token != PROFILE_TOKEN_KEY) return 0;
            if (int code = TakeKey(key, value, head, record, slot)) return code;
        }
    }

    int TakeKey(const char* key, const char* value, SettingHead* head, void* record, DWORD slot) {
        if (std::strcmp(key, "name") == 0) {
            CopyCut(head->name, value);
            CopyCut(m_reader->entryName, value);
            head->flags |= SETTING_FLAG_NAME;
            m_ownId = LookupSettingId(m_reader, head->name, m_section.kind, int(slot));
            return m_ownId < 0 ? PROFILE_NO_SETTING_ID : 0;
        }
        if (std::strcmp(key, "desc") == 0) {
            CopyCut(head->desc, value);
            head->flags |= SETTING_FLAG_DESC;
            return 0;
        }
        int reference = FindProfileReference(m_section, key);
        if (reference >= 0) return AddReference(reference, value);
        const ProfileKey* known = FindProfileKey(m_section, key);
        if (!known) return m_section.unknownKeyCode;
        return SetProfileKey(*known, record, value);
    }

    // A link from this entry to the named one; the entry's own name must come first.
    int AddReference(int reference, const char* value) {
        int kind = m_section.references[reference].kind;
        int id = LookupSettingId(m_reader, value, kind, -1);
        if (m_ownId < 0 || id < 0) return PROFILE_NO_SETTING_ID;
        m_referenced[reference] = true;
        return Link(DWORD(id), kind, 0);
    }

    // After the entry's own links: every other entry of a kind it named is excluded.
    int AddClosingLinks() {
        for (size_t i = 0; i < m_section.referenceCount; ++i) {
            if (!m_referenced[i]) continue;
            if (int code = Link(SETTING_LINK_ANY, m_section.references[i].kind, 1)) return code;
        }
        return 0;
    }

    void TakeBackLinks(DWORD count) {
        EncoderCapabilities* caps = m_reader->caps;
        while (caps->linkCount > count && caps->linkCount <= ENCODER_MAX_LINKS) caps->links[--caps->linkCount] = {};
    }

    int Link(DWORD toId, int toKind, BYTE closing) {
        SettingLink link = {DWORD(m_section.kind), DWORD(m_ownId), DWORD(toKind), toId, closing, {}};
        return AddSettingLink(m_reader->caps, &link) < 0 ? PROFILE_NO_SETTING_ID : 0;
    }

    ProfileReader* m_reader;
    const ProfileSection& m_section;
    int m_ownId = -1;
    bool m_referenced[3] = {};
};

DWORD MatchNothing(const EncoderCapabilities*, const BitrateSetting*) { return 0; }

int ParseSection(ProfileReader* reader, int* token) {
    ProfileTables& t = reader->tables;
    switch (*token) {
    case PROFILE_TOKEN_STREAM:
        return EntryParser(reader, kStreamSection).Parse(token, t.stream, ValidateStreamSetting, MatchStreamCapability);
    case PROFILE_TOKEN_FRAMERATE:
        return EntryParser(reader, kFrameRateSection)
            .Parse(token, t.framerate, ValidateFrameRateSetting, MatchFrameRateCapability);
    case PROFILE_TOKEN_RESOLUTION:
        return EntryParser(reader, kResolutionSection)
            .Parse(token, t.resolution, ValidateResolutionSetting, MatchResolutionCapability);
    default:
        return EntryParser(reader, kBitrateSection).Parse(token, t.bitrate, ValidateBitrateSetting, MatchNothing);
    }
}

}  // namespace

ProfileReader::~ProfileReader() {
    if (file) fclose(file);
}

std::unique_ptr<ProfileReader> OpenProfileFile(const char* path) {
    if (path == nullptr || _access(path, 0) != 0) return nullptr;
    FILE* file = fopen(path, "rt");
    if (file == nullptr) return nullptr;
    auto reader = std::make_unique<ProfileReader>();
    reader->file = file;
    reader->started = 1;
    return reader;
}

void CloseProfileFile(ProfileReader* reader) {
    if (reader == nullptr) return;
    if (reader->file) fclose(reader->file);
    reader->file = nullptr;
    reader->error = 0;
    reader->line = 0;
}

int GetProfileError(const ProfileReader* reader, int* line) {
    if (line) *line = reader ? reader->line : 0;
    return reader ? reader->error : PROFILE_NO_FILE;
}

int ReadProfileLine(ProfileReader* reader, char** key, char** value) {
    *key = nullptr;
    *value = nullptr;
    char* line = reader->buffer;
    if (fgets(line, sizeof reader->buffer, reader->file) == nullptr) {
        return ferror(reader->file) ? PROFILE_TOKEN_UNREADABLE : PROFILE_TOKEN_END;
    }
    ++reader->line;
    StripComment(line);
    StripBlanks(line);
    if (line[0] == '\0') return PROFILE_TOKEN_EMPTY;
    if (line[0] == '[') {
        for (char* p = line; *p; ++p) *p = char(std::tolower(static_cast<unsigned char>(*p)));
        for (const auto& section : kSectionHeaders) {
            if (std::strcmp(line, section.header) == 0) return section.token;
        }
        return PROFILE_TOKEN_OTHER;
    }
    char* equals = std::strchr(line, '=');
    if (equals == nullptr) return PROFILE_TOKEN_OTHER;
    *equals = '\0';
    *key = line;
    *value = equals + 1;
    return PROFILE_TOKEN_KEY;
}

int LookupSettingId(const ProfileReader* reader, const char* name, int kind, int limit) {
    if (kind != SETTING_KIND_BITRATE) return FindCapabilityByName(reader->caps, kind, name);
    const ProfileTable<BitrateSetting>& table = reader->tables.bitrate;
    DWORD end = limit >= 0 ? DWORD(limit) + 1 : table.count;
    for (DWORD i = 0; i < end && i < PROFILE_TABLE_SIZE; ++i) {
        if (std::strncmp(table.settings[i].head.name, name, sizeof table.settings[i].head.name) == 0) return int(i);
    }
    return -1;
}

int ParseProfileFile(ProfileReader* reader, EncoderCapabilities* caps, ProfileTables* tables) {
    if (reader == nullptr) return PROFILE_NO_FILE;
    if (reader->file == nullptr || caps == nullptr || tables == nullptr) return Fail(reader, PROFILE_NO_FILE);
    reader->caps = caps;
    int token = PROFILE_TOKEN_EMPTY;
    for (;;) {
        if (token == PROFILE_TOKEN_EMPTY) {
            char* key;
            char* value;
            token = ReadProfileLine(reader, &key, &value);
        }
        if (token == PROFILE_TOKEN_END) break;
        if (token == PROFILE_TOKEN_UNREADABLE) return Fail(reader, PROFILE_NO_FILE);
        if (token == PROFILE_TOKEN_EMPTY) continue;
        if (token == PROFILE_TOKEN_KEY || token == PROFILE_TOKEN_OTHER) return Fail(reader, PROFILE_OUTSIDE_SECTION);
        int code = Fail(reader, ParseSection(reader, &token));
        if (code != 0 && code != PROFILE_NOT_SUPPORTED) break;
    }
    // Entries the device cannot do were skipped, the last one too; the file is read.
    if (reader->error == PROFILE_NOT_SUPPORTED) reader->error = 0;
    *tables = reader->tables;
    return reader->error;
}

BOOL LoadVideoProfiles(EncoderCapabilities* caps, ProfileTables* tables) {
    char path[MAX_PATH] = {};
    DWORD length = GetWindowsDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof kProfileFileName > MAX_PATH) return FALSE;
    std::strcat(path, kProfileFileName);
    std::unique_ptr<ProfileReader> reader = OpenProfileFile(path);
    if (!reader) {
        TRACE("video_profiles.txt: cannot open %s\n", path);
        return FALSE;
    }
    int code = ParseProfileFile(reader.get(), caps, tables);
    if (code != 0) {
        int line = 0;
        GetProfileError(reader.get(), &line);
        TRACE("video_profiles.txt: error %d at line %d (%s)\n", code, line, reader->entryName);
    }
    CloseProfileFile(reader.get());
    return code == 0;
}
