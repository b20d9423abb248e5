// The valid combinations of a hand-built capability block, the standards and flag rules they
// rest on, blocks that claim more than they hold, and the profile file's key tables.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "cards/encoders/WisCapabilityMatch.h"
#include "cards/encoders/WisProfileKeys.h"

namespace {

const DWORD kNtsc = 0x807;
const DWORD kPal = 0x7F0;

// Two streams, a 525-line and a 625-line frame rate and size, and one stream-independent
// frame rate and size for every standard (0).
EncoderCapabilities HandBuiltBlock() {
    EncoderCapabilities caps = {};
    caps.streamCount = 2;
    caps.framerateCount = 3;
    caps.framerates[0].tv_standard = kNtsc;
    caps.framerates[1].tv_standard = kPal;
    caps.framerates[2].tv_standard = 0;
    caps.resolutionCount = 3;
    caps.resolutions[0].tv_standard = kNtsc;
    caps.resolutions[1].tv_standard = kPal;
    caps.resolutions[2].tv_standard = 0;
    return caps;
}

std::set<std::vector<DWORD>> Triples(const std::vector<ValidCombination>& list) {
    std::set<std::vector<DWORD>> triples;
    for (const ValidCombination& c : list) triples.insert({c.stream, c.resolution, c.framerate});
    return triples;
}

void Link(EncoderCapabilities& caps, DWORD fromKind, DWORD fromId, DWORD toKind, DWORD toId, BYTE closing) {
    SettingLink link = {fromKind, fromId, toKind, toId, closing, {}};
    ASSERT_GT(AddSettingLink(&caps, &link), 0);
}

TEST(WisCombinations, StandardPicksFrameRatesAndSizesThenLinksExclude) {
    EncoderCapabilities caps = HandBuiltBlock();
    std::vector<ValidCombination> list;
    ASSERT_EQ(0, BuildValidCombinations(&caps, 0, 0x1, list));  // NTSC_M
    EXPECT_EQ(Triples(list), (std::set<std::vector<DWORD>>{{0, 0, 0}, {1, 0, 0}}));
    ASSERT_EQ(0, BuildValidCombinations(&caps, 5, 0, list));  // the profile does not count
    EXPECT_EQ(Triples(list), (std::set<std::vector<DWORD>>{{0, 2, 2}, {1, 2, 2}}));
    // In table order: stream, then frame rate, then size.
    ASSERT_EQ(0, BuildValidCombinations(&caps, 0, 0x10, list));  // PAL_B
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(0u, list[0].stream);
    EXPECT_EQ(1u, list[1].stream);

    // Stream 1 only at the NTSC frame rate; the NTSC frame rate never at size 0 for stream 0.
    Link(caps, SETTING_KIND_STREAM, 1, SETTING_KIND_FRAMERATE, 0, 0);
    Link(caps, SETTING_KIND_STREAM, 1, SETTING_KIND_FRAMERATE, SETTING_LINK_ANY, 1);
    ASSERT_EQ(0, BuildValidCombinations(&caps, 0, 0x10, list));
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ(0u, list[0].stream);
    Link(caps, SETTING_KIND_FRAMERATE, 0, SETTING_KIND_RESOLUTION, 0, 1);
    EXPECT_EQ(PROFILE_NOT_SUPPORTED, BuildValidCombinations(&caps, 0, 0x1, list));
    EXPECT_TRUE(list.empty());
}

TEST(WisCombinations, AnyIdOnTheFromSideCoversEverySetting) {
    EncoderCapabilities caps = HandBuiltBlock();
    Link(caps, SETTING_KIND_STREAM, SETTING_LINK_ANY, SETTING_KIND_RESOLUTION, 2, 1);
    std::vector<ValidCombination> list;
    EXPECT_EQ(PROFILE_NOT_SUPPORTED, BuildValidCombinations(&caps, 0, 0, list));
    SettingLink query = {SETTING_KIND_RESOLUTION, 2, SETTING_KIND_STREAM, 0, 0, {}};
    EXPECT_EQ(0, FindSettingLink(&caps, &query));  // kinds are directed
}

TEST(WisCombinations, StandardsAndFlagRules) {
    EXPECT_TRUE(StandardsCompatible(0, 0));
    EXPECT_FALSE(StandardsCompatible(0, kNtsc));
    EXPECT_TRUE(StandardsCompatible(0x1, kNtsc));
    EXPECT_FALSE(StandardsCompatible(0x1, 0));
    EXPECT_FALSE(StandardsCompatible(0x11, kNtsc));
    EXPECT_TRUE(FlagsCover(0, 0x10));  // a capability without flags: every field counts
    EXPECT_TRUE(FlagsCover(0x11, 0x10));
    EXPECT_FALSE(FlagsCover(0x1, 0x10));
}

TEST(WisCombinations, BlockClaimingMoreThanItHoldsIsRefusedAndNotReadPast) {
    EncoderCapabilities caps = HandBuiltBlock();
    EXPECT_TRUE(CapabilitiesWithinArrays(&caps));
    for (DWORD EncoderCapabilities::*count :
         {&EncoderCapabilities::profileCount, &EncoderCapabilities::streamCount, &EncoderCapabilities::resolutionCount,
          &EncoderCapabilities::framerateCount, &EncoderCapabilities::linkCount}) {
        EncoderCapabilities bad = caps;
        bad.*count = 1000;
        EXPECT_FALSE(CapabilitiesWithinArrays(&bad));
    }
    // Read all the same, every table stops at its array's end.
    caps.streamCount = caps.resolutionCount = caps.framerateCount = 1000;
    caps.linkCount = 1000;
    std::vector<ValidCombination> list;
    EXPECT_EQ(0, BuildValidCombinations(&caps, 0, 0, list));
    EXPECT_EQ(30u * 28 * 28, list.size());  // sizes and frame rates 0 and 1 carry a standard
    StreamSetting wanted = {};
    wanted.compress_mode = 99;
    EXPECT_EQ(0xFFFFFFFFu, MatchStreamCapability(&caps, &wanted));
    EXPECT_EQ(-1, FindCapabilityByName(&caps, SETTING_KIND_STREAM, "none"));
}

TEST(WisProfileKeys, EveryKeySetsItsOwnFlagAndOnlyItsOwnField) {
    for (const ProfileSection* section : {&kStreamSection, &kFrameRateSection, &kResolutionSection, &kBitrateSection}) {
        DWORD seen = 0;
        for (size_t i = 0; i < section->keyCount; ++i) {
            const ProfileKey& key = section->keys[i];
            EXPECT_EQ(0u, seen & key.flag) << key.key;
            seen |= key.flag;
            BYTE record[368] = {};
            EXPECT_EQ(0, SetProfileKey(key, record, key.field == ProfileField::Standard ? "NTSC" : "1"));
            DWORD flags;
            std::memcpy(&flags, record + offsetof(SettingHead, flags), 4);
            EXPECT_EQ(key.flag, flags) << key.key;
            EXPECT_GE(key.offset, sizeof(SettingHead)) << key.key;
            for (size_t b = sizeof(SettingHead); b < sizeof record; ++b) {
                if (b < key.offset || b >= key.offset + 4) {
                    EXPECT_EQ(0, record[b]) << key.key << " byte " << b;
                }
            }
        }
        EXPECT_EQ(0u, seen & (SETTING_FLAG_NAME | SETTING_FLAG_DESC));
    }
    BYTE record[368] = {};
    EXPECT_EQ(PROFILE_BAD_STANDARD, SetProfileKey(*FindProfileKey(kFrameRateSection, "tv_standard"), record, "ntsc"));
}

}  // namespace
