// The encoder profile file read against the simulated encoder's capability block: its syntax,
// each section's rules, skipped entries and the setting links the entries leave.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "cards/encoders/WisCapabilityMatch.h"
#include "cards/encoders/WisProfileReader.h"
#include "hwsim/boards/WisEncoderCapabilities.h"
#include "platform/runtime.h"

namespace {

class WisProfileFile : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove(m_path); }

    // Reads the text as a profile file: the reader's code, with the line it stopped at.
    int Read(const std::string& text) {
        std::ofstream(m_path, std::ios::binary) << text;
        std::unique_ptr<ProfileReader> reader = OpenProfileFile(m_path.c_str());
        EXPECT_NE(nullptr, reader);
        if (!reader) return -1;
        int code = ParseProfileFile(reader.get(), &caps, &tables);
        EXPECT_EQ(code, GetProfileError(reader.get(), &line));
        return code;
    }

    int Excludes(DWORD fromKind, DWORD fromId, DWORD toKind, DWORD toId) const {
        SettingLink query = {fromKind, fromId, toKind, toId, 0, {}};
        return FindSettingLink(&caps, &query);
    }

    EncoderCapabilities caps = hwsim::WisEncoderCapabilities();
    ProfileTables tables = {};
    int line = 0;
    std::string m_path = platform::StateDir() + "/profile_under_test.txt";
};

// Where the station looks for the file: the Windows folder, made when it is first asked for.
std::string InstalledProfileFile() {
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, MAX_PATH);
    return platform::StateDir() + "/windows/video_profiles.txt";
}

const char kMpeg2[] = "[streamsetting]\nname=MPEG2\ncompress_mode=1\nsequence=3\n";

// ---- syntax ----

TEST_F(WisProfileFile, HeadersAreTakenInAnyCaseAndKeysOnlyAsWritten) {
    EXPECT_EQ(0, Read("[StreamSetting]\nname=MPEG2\ncompress_mode=1\nsequence=3\n"));
    EXPECT_EQ(1u, tables.stream.count);
    EXPECT_EQ(PROFILE_UNKNOWN_STREAM_KEY, Read("[streamsetting]\nName=MPEG2\n"));
    EXPECT_EQ(2, line);
    EXPECT_EQ(PROFILE_UNKNOWN_FRAMERATE_KEY, Read("[frameratesetting]\nname=\"25 fps\"\nwidth=720\n"));
    EXPECT_EQ(PROFILE_UNKNOWN_RESOLUTION_KEY, Read("[resolutionsetting]\nname=720x576\nframe_rate=1\n"));
    EXPECT_EQ(PROFILE_UNKNOWN_BITRATE_KEY, Read("[bitratesetting]\nname=b\nrescfg=720x576\n"));
}

TEST_F(WisProfileFile, LinesOutsideEveryEntryAreRefused) {
    tables.stream.count = 99;  // the caller's tables stay as they were
    EXPECT_EQ(PROFILE_OUTSIDE_SECTION, Read("// settings\n\ncompress_mode=1\n" + std::string(kMpeg2)));
    EXPECT_EQ(3, line);
    EXPECT_EQ(99u, tables.stream.count);
    EXPECT_EQ(PROFILE_OUTSIDE_SECTION, Read("[videosetting]\n"));
    EXPECT_EQ(PROFILE_OUTSIDE_SECTION, Read("just words\n"));
    // Inside an entry such a line breaks it.
    EXPECT_EQ(PROFILE_ENTRY_BROKEN, Read(std::string(kMpeg2) + "[videosetting]\n"));
    EXPECT_EQ(5, line);
}

TEST_F(WisProfileFile, CommentsBlanksAndQuotes) {
    ASSERT_EQ(0, Read("[bitratesetting] // first\n"
                      "  name = \"at  http://host // x\"   // the rest goes\r\n"
                      "desc = two  words\t here\n"
                      "target_bitrate = 4 000 000\n"
                      "Q=0//\n"));
    const BitrateSetting& b = tables.bitrate.settings[0];
    EXPECT_STREQ("at  http://host // x", b.head.name);
    EXPECT_STREQ("twowordshere", b.head.desc);
    EXPECT_EQ(4000000u, b.target_bitrate);
    EXPECT_EQ(SETTING_FLAG_NAME | SETTING_FLAG_DESC | 0x4u | 0x80u, b.head.flags);
}

TEST_F(WisProfileFile, LongNamesAndDescsAreCutToTheirFields) {
    std::string name(100, 'n');
    std::string desc(300, 'd');
    ASSERT_EQ(0, Read("[bitratesetting]\nname=" + name + "\ndesc=" + desc + "\ntarget_bitrate=1\nQ=1\n"));
    const BitrateSetting& b = tables.bitrate.settings[0];
    EXPECT_EQ(name.substr(0, 63), b.head.name);
    EXPECT_EQ(desc.substr(0, 255), b.head.desc);
}

TEST_F(WisProfileFile, PackedBitRateWordAndByteFields) {
    ASSERT_EQ(0, Read("[bitratesetting]\nname=b\ntarget_bitrate=1\nQ=1\nQMin=5\nDuplicate=1\nQMax=40\n"
                      "MBBrc=3\nWindowSize=300\nconverge_speed=356\n"));
    const BitrateSetting& b = tables.bitrate.settings[0];
    EXPECT_EQ(5u | 1u << 7 | 40u << 8 | 1u << 15 | 300u << 16, b.packed);
    EXPECT_EQ(100, b.converge_speed);  // 356 in a byte
    EXPECT_EQ(0x1F000u, b.head.flags & 0x1F000u);
}

// ---- each section's rules ----

TEST_F(WisProfileFile, EntryRulesGiveTheirCodes) {
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"[resolutionsetting]\nname=720x576\ntv_standard=PAL\nwidth=720\nheight=576\nh_sub_offset=8\n",
         PROFILE_SCALING_INCOMPLETE},
        {"[bitratesetting]\nname=b\ntarget_bitrate=6000000\npeak_bitrate=4000000\nQ=0\n", PROFILE_TARGET_ABOVE_PEAK},
        {"[streamsetting]\nname=MPEG4\ncompress_mode=4\nsequence=1\n", PROFILE_BAD_MPEG4_MODE},
        {"[streamsetting]\nname=MPEG4\ncompress_mode=4\nsequence=1\nmpeg4_mode=4\n", PROFILE_BAD_MPEG4_MODE},
        {"[frameratesetting]\nname=\"25 fps\"\ntv_standard=SECAM\nframe_rate=25025\n", PROFILE_BAD_STANDARD},
        {"[streamsetting]\ncompress_mode=1\nsequence=3\n", PROFILE_NAME_MISSING},
        {"[streamsetting]\nname=MPEG2\nsequence=3\n", PROFILE_NO_COMPRESS_MODE},
        {"[streamsetting]\nname=MPEG2\ncompress_mode=2\nsequence=3\n", PROFILE_BAD_COMPRESS_MODE},
        {"[streamsetting]\nname=MPEG2\ncompress_mode=1\n", PROFILE_BAD_SEQUENCE},
        {"[streamsetting]\nname=MPEG1\ncompress_mode=0\nsequence=3\ndeinterlace_mode=2\n", PROFILE_BAD_DEINTERLACE},
        {"[streamsetting]\nname=MPEG2\ncompress_mode=1\nsequence=3\nsearch_range=48\n", PROFILE_BAD_SEARCH_RANGE},
        {"[streamsetting]\nname=MPEG2\ncompress_mode=1\nsequence=3\naspect_ratio=4\n", PROFILE_BAD_ASPECT_RATIO},
        {"[frameratesetting]\nname=\"25 fps\"\ntv_standard=PAL\n", PROFILE_FRAMERATE_INCOMPLETE},
        {"[resolutionsetting]\nname=720x576\nwidth=720\nheight=576\n", PROFILE_RESOLUTION_INCOMPLETE},
        {"[bitratesetting]\nname=b\ntarget_bitrate=1\n", PROFILE_BITRATE_INCOMPLETE},
        {"[bitratesetting]\nname=b\ntarget_bitrate=1\nQ=1\nlambda=101\n", PROFILE_BAD_LAMBDA},
        {"[bitratesetting]\nname=b\ntarget_bitrate=1\nQ=1\nIQ=3\nPQ=3\n", PROFILE_BAD_QUANTISER},
        {"[bitratesetting]\nname=b\ntarget_bitrate=1\nQ=1\nIQ=3\nPQ=3\nBQ=33\n", PROFILE_BAD_QUANTISER},
        {"[bitratesetting]\nname=b\ntarget_bitrate=1\nQ=1\n[bitratesetting]\nname=b\ntarget_bitrate=2\nQ=1\n",
         PROFILE_NAME_USED},
    };
    for (const auto& c : cases) EXPECT_EQ(c.code, Read(c.text)) << c.text;
}

TEST_F(WisProfileFile, ThirtyFirstEntryOfATableIsRefused) {
    std::string text;
    for (int i = 0; i <= 30; ++i) text += "[bitratesetting]\nname=b" + std::to_string(i) + "\ntarget_bitrate=1\nQ=1\n";
    EXPECT_EQ(PROFILE_TABLE_FULL, Read(text));
    EXPECT_EQ(30u, tables.bitrate.count);
}

TEST_F(WisProfileFile, ChecksFillDefaultsAndSwitches) {
    ASSERT_EQ(0, Read("[streamsetting]\nname=MPEG2\ncompress_mode=1\nsequence=3\ngop_mode=7\nDVD_compliant=9\n"
                      "seq_head_enable=5\n"
                      "[resolutionsetting]\nname=720x576\ntv_standard=PAL\nwidth=720\nheight=576\nmax_bitrate=1\n"
                      "h_sub_offset=1\nv_sub_offset=2\nh_scale_enb=1\nv_scale_enb=1\n"
                      "[bitratesetting]\nname=b\ntarget_bitrate=1\nQ=1\nIQ=3\nPQ=4\nBQ=5\n"));
    const StreamSetting& s = tables.stream.settings[0];
    EXPECT_EQ(1, s.gop_mode);
    EXPECT_EQ(1, s.DVD_compliant);
    EXPECT_EQ(1, s.seq_head_enable);
    const ResolutionSetting& r = tables.resolution.settings[0];
    EXPECT_EQ(1, r.h_sub_window);
    EXPECT_EQ(1, r.v_sub_window);
    EXPECT_EQ(0x10u | 0x400u | 0x800u, r.head.flags & (0x10u | 0x400u | 0x800u));
    EXPECT_EQ(9800000u, r.max_bitrate);  // the device's bounds, not the file's
    EXPECT_EQ(1000000u, r.min_bitrate);
    EXPECT_EQ(0x100u, tables.bitrate.settings[0].head.flags & 0x100u);
}

// ---- matching and skipped entries ----

TEST_F(WisProfileFile, EntryTheDeviceCannotDoIsSkippedAndReadingGoesOn) {
    // compress mode 3 is a valid setting the simulated encoder does not offer.
    ASSERT_EQ(0, Read("[streamsetting]\nname=MPEG2\ncompress_mode=3\nsequence=3\n" + std::string(kMpeg2) +
                      "[streamsetting]\nname=DivX\ncompress_mode=4\nsequence=2\nmpeg4_mode=2\n"));
    ASSERT_EQ(1u, tables.stream.count);
    EXPECT_STREQ("MPEG2", tables.stream.settings[0].head.name);
    EXPECT_EQ(1u, tables.stream.capability[0]);
    // A real error after a skipped entry stays an error.
    EXPECT_EQ(PROFILE_BAD_SEQUENCE,
              Read("[streamsetting]\nname=MPEG2\ncompress_mode=3\nsequence=3\n[streamsetting]\nname=MPEG2\n"
                   "compress_mode=1\nsequence=0\n"));
}

TEST_F(WisProfileFile, SkippedEntryLeavesNothingToTheNextEntryOfItsTable) {
    ASSERT_EQ(0, Read("[streamsetting]\nname=MPEG2\ncompress_mode=3\nsequence=3\ngop_size=99\nDVD_compliant=1\n"
                      "aspect_ratio=3\ndesc=skipped\n" +
                      std::string(kMpeg2)));
    const StreamSetting& s = tables.stream.settings[0];
    EXPECT_EQ(0u, s.gop_size);
    EXPECT_EQ(0, s.aspect_ratio);
    EXPECT_EQ(0, s.DVD_compliant);
    EXPECT_STREQ("", s.head.desc);
    EXPECT_EQ(SETTING_FLAG_NAME | 0x1u | 0x2u, s.head.flags);
}

TEST_F(WisProfileFile, SkippedEntryTakesItsLinksBackWithIt) {
    const DWORD driverLinks = caps.linkCount;
    ASSERT_EQ(0, Read("[streamsetting]\nname=MPEG2\ncompress_mode=3\nsequence=3\nrescfg=720x480\n" +
                      std::string(kMpeg2)));
    EXPECT_EQ(driverLinks, caps.linkCount);
    EXPECT_EQ(0, Excludes(1, 1, 2, 1));  // MPEG2 at 720x576 stays open
    EXPECT_EQ(0, Excludes(1, 1, 2, 2));
}

TEST_F(WisProfileFile, ANameOfOneCapabilityOverTheFieldsOfAnotherIsSkipped) {
    // DivX's fields (capability 3) under the name MPEG2 (capability 1).
    ASSERT_EQ(0, Read("[streamsetting]\nname=MPEG2\ncompress_mode=4\nsequence=2\nmpeg4_mode=3\nrescfg=720x480\n"));
    EXPECT_EQ(0u, tables.stream.count);
    EXPECT_EQ(0, Excludes(1, 1, 2, 1));
}

TEST_F(WisProfileFile, CapabilitiesMatchBySignificantFieldsAndStandard) {
    ASSERT_EQ(0, Read("[streamsetting]\nname=DivX\ncompress_mode=4\nsequence=2\nmpeg4_mode=3\ngop_size=12\n"
                      "[frameratesetting]\nname=\"25 fps\"\ntv_standard=PAL\nframe_rate=25025\n"
                      "[frameratesetting]\nname=\"29.97 fps\"\ntv_standard=PAL\nframe_rate=30000\n"
                      "[resolutionsetting]\nname=352x240\ntv_standard=NTSC\nwidth=352\nheight=240\n"));
    EXPECT_EQ(3u, tables.stream.capability[0]);  // gop_size is not significant, mpeg4_mode is
    ASSERT_EQ(1u, tables.framerate.count);       // 30000 is offered for NTSC only
    EXPECT_EQ(1u, tables.framerate.capability[0]);
    EXPECT_EQ(2u, tables.resolution.capability[0]);
    EXPECT_EQ(3000000u, tables.resolution.settings[0].max_bitrate);
}

// ---- names and links ----

TEST_F(WisProfileFile, NamesMustNameACapabilityOfTheirKind) {
    EXPECT_EQ(PROFILE_NO_SETTING_ID, Read("[streamsetting]\nname=H264\n"));
    EXPECT_EQ(PROFILE_NO_SETTING_ID, Read("[streamsetting]\nname=720x576\n"));
    EXPECT_EQ(PROFILE_NO_SETTING_ID, Read("[streamsetting]\nname=MPEG2\nrescfg=1024x768\n"));
    // The entry's own name comes before its cross-references.
    EXPECT_EQ(PROFILE_NO_SETTING_ID, Read("[streamsetting]\nrescfg=720x576\nname=MPEG2\n"));
    // A bit rate is named by ctlcfg only below its own entry.
    EXPECT_EQ(PROFILE_NO_SETTING_ID, Read(std::string(kMpeg2) + "ctlcfg=b\n[bitratesetting]\nname=b\n"));
}

TEST_F(WisProfileFile, CrossReferencesAllowExactlyTheNamedPairs) {
    ASSERT_EQ(0, Read("[bitratesetting]\nname=low\ntarget_bitrate=1\nQ=1\n"
                      "[bitratesetting]\nname=high\ntarget_bitrate=2\nQ=1\n" +
                      std::string(kMpeg2) +
                      "rescfg=720x576\nfpscfg=\"25 fps\"\nrescfg=720x480\nctlcfg=high\n"
                      "[frameratesetting]\nname=\"14.99 fps\"\ntv_standard=NTSC\nframe_rate=15000\nrescfg=320x240\n"));
    // The driver's own 3 links, then MPEG2's 4 and its 3 closing links, then the frame rate's 2.
    ASSERT_EQ(12u, caps.linkCount);
    const SettingLink& closing = caps.links[7];
    EXPECT_EQ(SETTING_KIND_RESOLUTION, int(closing.toKind));
    EXPECT_EQ(SETTING_LINK_ANY, closing.toId);
    EXPECT_EQ(1, closing.closing);
    EXPECT_EQ(1u, caps.links[6].toId);  // ctlcfg=high: the second bit-rate entry
    // MPEG2 (stream 1) at 720x576 (resolution 1) and 720x480 (0) only, at 25 fps (1) only.
    EXPECT_EQ(0, Excludes(1, 1, 2, 1));
    EXPECT_EQ(0, Excludes(1, 1, 2, 0));
    EXPECT_EQ(PROFILE_LINK_EXCLUDES, Excludes(1, 1, 2, 2));
    EXPECT_EQ(0, Excludes(1, 1, 4, 1));
    EXPECT_EQ(PROFILE_LINK_EXCLUDES, Excludes(1, 1, 4, 0));
    EXPECT_EQ(PROFILE_LINK_EXCLUDES, Excludes(1, 1, 3, 0));
    // Other streams are not restricted by it; MPEG1 keeps the driver's own links.
    EXPECT_EQ(0, Excludes(1, 2, 2, 2));
    EXPECT_EQ(0, Excludes(1, 0, 2, 3));
    EXPECT_EQ(PROFILE_LINK_EXCLUDES, Excludes(1, 0, 2, 1));
    // 14.99 fps (3) only at 320x240 (5).
    EXPECT_EQ(0, Excludes(4, 3, 2, 5));
    EXPECT_EQ(PROFILE_LINK_EXCLUDES, Excludes(4, 3, 2, 2));
    EXPECT_EQ(0, Excludes(4, 0, 2, 2));
}

TEST_F(WisProfileFile, LinkTableNeverGrowsPast300) {
    caps.linkCount = 298;
    EXPECT_EQ(PROFILE_NO_SETTING_ID, Read(std::string(kMpeg2) + "rescfg=720x576\nrescfg=720x480\n"));
    EXPECT_EQ(300u, caps.linkCount);
    SettingLink link = {1, 0, 2, 0, 0, {}};
    EXPECT_EQ(-3, AddSettingLink(&caps, &link));
    EXPECT_EQ(300u, caps.linkCount);
    caps.linkCount = 5000;  // a block that claims more than it holds is not written either
    EXPECT_EQ(-3, AddSettingLink(&caps, &link));
    EXPECT_EQ(5000u, caps.linkCount);
}

// ---- the repository's file ----

TEST(WisShippedProfileFile, LoadsFromTheWindowsFolderAgainstTheSimulatedEncoder) {
    EncoderCapabilities caps = hwsim::WisEncoderCapabilities();
    ProfileTables tables = {};
    EXPECT_FALSE(LoadVideoProfiles(&caps, &tables));  // no file yet
    std::string installed = InstalledProfileFile();
    std::filesystem::copy_file(hwsim::WisProfileFileSource(), installed,
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(LoadVideoProfiles(&caps, &tables));
    EXPECT_EQ(4u, tables.stream.count);
    EXPECT_EQ(4u, tables.framerate.count);
    EXPECT_EQ(6u, tables.resolution.count);
    EXPECT_EQ(5u, tables.bitrate.count);
    // Every entry matched the capability of its own name.
    for (DWORD i = 0; i < tables.stream.count; ++i) EXPECT_EQ(i, tables.stream.capability[i]);
    for (DWORD i = 0; i < tables.framerate.count; ++i) EXPECT_EQ(i, tables.framerate.capability[i]);
    for (DWORD i = 0; i < tables.resolution.count; ++i) EXPECT_EQ(i, tables.resolution.capability[i]);
    // A 525-line profile: MPEG-1 only at 352x240, 14.99 fps only at 352x240 and 320x240.
    std::vector<ValidCombination> combinations;
    ASSERT_EQ(0, BuildValidCombinations(&caps, 0, 0x1, combinations));
    EXPECT_EQ(33u, combinations.size());
    for (const ValidCombination& c : combinations) {
        if (c.stream == 0) {
            EXPECT_EQ(2u, c.resolution);
        }
        if (c.framerate == 3) {
            EXPECT_TRUE(c.resolution == 2 || c.resolution == 5);
        }
    }
    std::filesystem::remove(installed);
}

TEST(WisShippedProfileFile, AFolderOfTheFilesNameIsNotLoaded) {
    EncoderCapabilities caps = hwsim::WisEncoderCapabilities();
    ProfileTables tables = {};
    std::string installed = InstalledProfileFile();
    std::filesystem::create_directories(installed);
    EXPECT_FALSE(LoadVideoProfiles(&caps, &tables));
    // A stream that cannot be read is no end of the file: the reader asks.
    ProfileReader reader;
    reader.file = (fopen)(installed.c_str(), "r");  // the C library's own, which opens a folder
    ASSERT_NE(nullptr, reader.file);
    EXPECT_EQ(PROFILE_NO_FILE, ParseProfileFile(&reader, &caps, &tables));
    std::filesystem::remove(installed);
}

TEST(WisShippedProfileFile, AFileWithAnErrorIsNotLoadedAndSaysWhere) {
    EncoderCapabilities caps = hwsim::WisEncoderCapabilities();
    ProfileTables tables = {};
    std::string installed = InstalledProfileFile();
    std::ofstream(installed) << "[bitratesetting]\nname=b\ntarget_bitrate=6000000\npeak_bitrate=4000000\nQ=0\n";
    platform::ClearTrace();
    EXPECT_FALSE(LoadVideoProfiles(&caps, &tables));
    EXPECT_TRUE(platform::TraceContains("video_profiles.txt: error 53 at line 5 (b)"));
    std::filesystem::remove(installed);
}

}  // namespace
