// The firmware set: every list has the shape the tuners and the chip expect, every data record
// describes itself, and the bytes stay the same from build to build.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tuners/XcFirmware.h"
#include "tuners/XcFirmwareGenerator.h"

namespace {

struct Walk {
    int records = 0;
    std::vector<std::pair<int, int>> sleeps;  // record number, ms
    std::vector<int> resets;                  // record numbers
    std::vector<std::vector<BYTE>> data;      // the data records
    bool ended = false;
    size_t endAt = 0;
};

Walk WalkList(const XcFirmware& list)
{
    Walk walk;
    size_t at = 0;
    while (at + 2 <= list.size) {
        const WORD head = static_cast<WORD>(list.data[at] << 8 | list.data[at + 1]);
        at += 2;
        if (head == 0xFFFF) {
            walk.ended = true;
            walk.endAt = at;
            break;
        }
        ++walk.records;
        if (head == 0) {
            walk.resets.push_back(walk.records);
        } else if (head & 0x8000) {
            walk.sleeps.push_back({walk.records, head & 0x7FFF});
        } else {
            if (at + head > list.size) break;
            walk.data.emplace_back(list.data + at, list.data + at + head);
            at += head;
        }
    }
    return walk;
}

struct Expected {
    size_t size;
    int records;
    std::vector<int> resets;
    std::vector<std::pair<int, int>> sleeps;
    size_t largest;
    int dataRecords;
};

const Expected kPalSecam = {8714, 957, {1}, {{6, 100}, {939, 10}}, 2985, 954};
const Expected kNtsc = {8684, 952, {1}, {{6, 100}, {934, 10}}, 2985, 949};
const Expected kStandardPatch = {171, 23, {}, {}, 13, 23};
const Expected kSoundIfPatch = {163, 21, {}, {}, 13, 21};

const Expected& ExpectedShape(const XcFirmware* list)
{
    if (list == &XcBasePalSecam) return kPalSecam;
    if (list == &XcBaseNtsc) return kNtsc;
    const std::string name = list->name;
    return name.find("Sif") != std::string::npos ? kSoundIfPatch : kStandardPatch;
}

// FNV-1a over a list's bytes.
uint32_t Fingerprint(const XcFirmware& list)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < list.size; ++i) hash = (hash ^ list.data[i]) * 16777619u;
    return hash;
}

}  // namespace

TEST(XcFirmware, EveryListHasItsSizeRecordsSleepsAndEndWord)
{
    ASSERT_EQ(XcFirmwareSet().size(), 11u);
    for (const XcFirmware* list : XcFirmwareSet()) {
        SCOPED_TRACE(list->name);
        const Expected& expected = ExpectedShape(list);
        const Walk walk = WalkList(*list);
        EXPECT_EQ(list->size, expected.size);
        ASSERT_TRUE(walk.ended);
        EXPECT_EQ(walk.endAt, list->size);  // the end word is the last two bytes
        EXPECT_EQ(walk.records, expected.records);
        EXPECT_EQ(walk.resets, expected.resets);
        EXPECT_EQ(walk.sleeps, expected.sleeps);
        EXPECT_EQ(static_cast<int>(walk.data.size()), expected.dataRecords);
        size_t largest = 0;
        size_t largeCount = 0;
        for (const auto& record : walk.data) {
            largest = std::max(largest, record.size());
            if (record.size() == 2985) ++largeCount;
            EXPECT_GE(record.size(), 4u);  // no record too short to describe itself
        }
        EXPECT_EQ(largest, expected.largest);
        if (expected.largest == 2985) {
            EXPECT_EQ(largeCount, 1u);
        }
    }
    // The bases' small records: four bytes, one of five.
    std::map<size_t, int> lengths;
    for (const auto& record : WalkList(XcBasePalSecam).data) ++lengths[record.size()];
    EXPECT_EQ(lengths, (std::map<size_t, int>{{4, 952}, {5, 1}, {2985, 1}}));
}

TEST(XcFirmware, EveryDataRecordCarriesItsListSequenceAndCheck)
{
    int id = 0;
    for (const XcFirmware* list : XcFirmwareSet()) {
        SCOPED_TRACE(list->name);
        const Walk walk = WalkList(*list);
        for (size_t i = 0; i < walk.data.size(); ++i) {
            const std::vector<BYTE>& record = walk.data[i];
            EXPECT_EQ(record[0] >> 4, id + 1) << i;
            EXPECT_NE(record[0], 0x00) << i;
            const size_t code = record[0] & 0x0F;
            const size_t payload = code != 0 ? code : static_cast<size_t>(record[4] << 8 | record[5]);
            EXPECT_EQ(payload, record.size() - 1) << i;
            EXPECT_EQ(static_cast<size_t>(record[1] | (record[2] >> 6) << 8), i);
            EXPECT_EQ((record[2] & 0x20) != 0, i + 1 == walk.data.size()) << i;
            EXPECT_EQ(record[3], xcfw::RecordCheck(record.data(), record.size())) << i;
        }
        ++id;
    }
}

TEST(XcFirmware, TheBytesAreTheSameOnEveryBuild)
{
    // Pinned fingerprints: a change of the generator shows here first.
    const std::map<std::string, uint32_t> pinned = {
        {"XcBasePalSecam", 1043662760u}, {"XcBaseNtsc", 2390059423u},  {"XcPatchPalBg", 2774949500u},
        {"XcPatchDk", 2956377680u},      {"XcPatchPalI", 3234636790u}, {"XcPatchSecamBgL", 1451431924u},
        {"XcPatchMn", 1029714895u},      {"XcPatchSifBgi", 2507960995u}, {"XcPatchSifDk", 601193472u},
        {"XcPatchSifL", 938687711u},     {"XcPatchSifMn", 3500409845u},
    };
    for (const XcFirmware* list : XcFirmwareSet()) {
        auto it = pinned.find(list->name);
        ASSERT_NE(it, pinned.end()) << list->name;
        EXPECT_EQ(Fingerprint(*list), it->second) << list->name;
    }
    // The generator run now gives the compiled bytes.
    const auto again = xcfw::Generate<171>({3, 171, 23, false, {}, 13, 3});
    EXPECT_TRUE(std::equal(again.begin(), again.end(), XcPatchDk.data));
}
