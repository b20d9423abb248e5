// Fuzz target: the encoder profile file ("video_profiles.txt") read against a capability block.
// The input's first byte counts patches of the simulated encoder's block (each an offset of two
// bytes and a value) that follow it; the rest is the file. A block whose counts exceed their
// arrays is refused before the file is read, as the card does. Whatever the file holds, the block
// keeps its counts within its arrays and every table entry names a capability the block has; the
// links a file read without error adds join settings that exist.
#include <cstdio>
#include <cstring>
#include <memory>

#include "cards/encoders/WisCapabilityMatch.h"
#include "cards/encoders/WisProfileReader.h"
#include "hwsim/boards/WisEncoderCapabilities.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

const EncoderCapabilities& Simulated() {
    static const EncoderCapabilities caps = hwsim::WisEncoderCapabilities();
    return caps;
}

DWORD CountOf(const EncoderCapabilities& caps, const ProfileTables& tables, DWORD kind) {
    switch (kind) {
    case SETTING_KIND_STREAM: return caps.streamCount;
    case SETTING_KIND_RESOLUTION: return caps.resolutionCount;
    case SETTING_KIND_FRAMERATE: return caps.framerateCount;
    case SETTING_KIND_BITRATE: return tables.bitrate.count;
    default: return 0;
    }
}

template <typename Setting>
void CheckTable(const ProfileTable<Setting>& table, DWORD capabilities) {
    Check(table.count <= PROFILE_TABLE_SIZE);
    for (DWORD i = 0; i < table.count; ++i) Check(table.capability[i] < capabilities);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    auto* caps = new EncoderCapabilities(Simulated());
    const size_t patches = data[0];
    size_t at = 1;
    for (size_t i = 0; i < patches && at + 3 <= size; ++i, at += 3) {
        const size_t offset = (size_t(data[at]) | size_t(data[at + 1]) << 8) * 7 % sizeof *caps;
        reinterpret_cast<uint8_t*>(caps)[offset] = data[at + 2];
    }
    if (!CapabilitiesWithinArrays(caps) || at > size) {
        delete caps;
        return 0;
    }
    const DWORD ownLinks = caps->linkCount;
    auto reader = std::make_unique<ProfileReader>();
    reader->file = fmemopen(const_cast<uint8_t*>(data + at), size - at, "r");
    if (size == at || !reader->file) {
        delete caps;
        return 0;
    }
    reader->started = 1;
    auto* tables = new ProfileTables{};
    const int code = ParseProfileFile(reader.get(), caps, tables);
    Check(CapabilitiesWithinArrays(caps));
    CheckTable(tables->stream, caps->streamCount);
    CheckTable(tables->resolution, caps->resolutionCount);
    CheckTable(tables->framerate, caps->framerateCount);
    Check(tables->bitrate.count <= PROFILE_TABLE_SIZE);
    // A file read without error: its links join its own settings and the block's.
    for (DWORD i = ownLinks; code == 0 && i < caps->linkCount; ++i) {
        const SettingLink& link = caps->links[i];
        Check(link.fromId < CountOf(*caps, *tables, link.fromKind));
        Check(link.toId == SETTING_LINK_ANY || link.toId < CountOf(*caps, *tables, link.toKind));
    }
    delete tables;
    delete caps;
    return 0;
}
