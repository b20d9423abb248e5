// The stream headers of the WIS encoder, byte for byte from the encoder extension.
#include <gtest/gtest.h>

#include <vector>

#include "cards/encoders/WisStreamHeaders.h"

namespace {

TCFG_FORMAT_EXTENSION Extension(DWORD width, DWORD height, DWORD frameRate) {
    TCFG_FORMAT_EXTENSION e = {};
    e.resolution.width = width;
    e.resolution.height = height;
    e.framerate.frame_rate = frameRate;
    return e;
}

std::vector<BYTE> Bytes(const BYTE* header, int length) { return std::vector<BYTE>(header, header + length); }

std::vector<BYTE> Slice(const BYTE* header, int from, int count) {
    return std::vector<BYTE>(header + from, header + from + count);
}

TEST(WisStreamHeaders, FrameRateCodesFollowTheTableAndDefaultTo4) {
    for (int i = 0; i < 8; ++i) EXPECT_EQ(i + 1, FrameRateCode(kWisFrameRates[i])) << kWisFrameRates[i];
    EXPECT_EQ(3, FrameRateCode(25025));
    EXPECT_EQ(4, FrameRateCode(29970));
    EXPECT_EQ(4, FrameRateCode(0));
    EXPECT_EQ(0x78563412u, ToBigEndian32(0x12345678u));
}

TEST(WisStreamHeaders, Mpeg2SequenceHeaderOf720x480At30000) {
    TCFG_FORMAT_EXTENSION e = Extension(720, 480, 30000);
    BYTE* header = nullptr;
    ASSERT_EQ(22, BuildMpeg2SequenceHeader(&e, &header));
    EXPECT_EQ(Bytes(header, 22),
              (std::vector<BYTE>{0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x17, 0xED, 0x23,
                                 0x80, 0x00, 0x00, 0x01, 0xB5, 0x14, 0x8A, 0x00, 0x01, 0x00, 0x00}));
    // Interlaced for a DVD stream and for deinterlace mode 2.
    e.stream.DVD_compliant = 1;
    BuildMpeg2SequenceHeader(&e, &header);
    EXPECT_EQ(0x82, header[17]);
    e.stream.DVD_compliant = 0;
    e.stream.deinterlace_mode = 2;
    BuildMpeg2SequenceHeader(&e, &header);
    EXPECT_EQ(0x82, header[17]);
    e.stream.deinterlace_mode = 1;
    BuildMpeg2SequenceHeader(&e, &header);
    EXPECT_EQ(0x8A, header[17]);
}

TEST(WisStreamHeaders, Mpeg1SequenceHeaderTakesTheAspectRatioOnlyForDvdStreams) {
    TCFG_FORMAT_EXTENSION e = Extension(720, 576, 25025);
    e.stream.DVD_compliant = 1;
    e.stream.aspect_ratio = 3;
    BYTE* header = nullptr;
    ASSERT_EQ(12, BuildMpeg1SequenceHeader(&e, &header));
    EXPECT_EQ(Bytes(header, 12),
              (std::vector<BYTE>{0x00, 0x00, 0x01, 0xB3, 0x2D, 0x02, 0x40, 0x33, 0xFF, 0xFF, 0xF2, 0xA8}));
    e.stream.DVD_compliant = 0;
    BuildMpeg1SequenceHeader(&e, &header);
    EXPECT_EQ(0x23, header[7]);  // 4:3
    e.framerate.frame_rate = 29970;
    BuildMpeg1SequenceHeader(&e, &header);
    EXPECT_EQ(0x24, header[7]);
}

TEST(WisStreamHeaders, Mpeg4VolHeaderWritesTheWidthInStepsOf4) {
    TCFG_FORMAT_EXTENSION e = Extension(720, 576, 25025);
    BYTE* header = nullptr;
    ASSERT_EQ(18, BuildMpeg4VolHeader(&e, &header));
    const std::vector<BYTE> for720 = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x20, 0x00,
                                      0x84, 0x5D, 0x4C, 0x28, 0xB4, 0x22, 0x40, 0xA3, 0x1F};
    EXPECT_EQ(Bytes(header, 18), for720);
    e.resolution.width = 722;  // bits 1..0 of the width are not carried
    BuildMpeg4VolHeader(&e, &header);
    EXPECT_EQ(Bytes(header, 18), for720);
    e = Extension(1920, 1088, 30000);
    BuildMpeg4VolHeader(&e, &header);
    EXPECT_EQ(Slice(header, 12, 4), (std::vector<BYTE>{0x29, 0xE0, 0x24, 0x40}));
}

TEST(WisStreamHeaders, PrivateHeaderCarriesModeSizesAndBitRate) {
    TCFG_FORMAT_EXTENSION e = Extension(352, 288, 25025);
    e.stream.compress_mode = 65;
    e.stream.sequence = 1;
    e.bitrate.target_bitrate = 1500000;
    BYTE* header = nullptr;
    ASSERT_EQ(24, BuildPrivateStreamHeader(&e, &header));
    EXPECT_EQ(Bytes(header, 24),
              (std::vector<BYTE>{0x00, 0x00, 0x01, 0xF1, 0x01, 65, 1, 0x00, 0x00, 0x00, 0x16, 0x00,
                                 0x00, 0x00, 0x12, 0x00, 0x16, 0xE3, 0x60, 0x01, 0x40, 0x01, 0x00, 0x00}));
    e.stream.compress_mode = 1;
    BuildPrivateStreamHeader(&e, &header);
    EXPECT_EQ(0xC1, header[19]);  // (1 - 64) in a byte
}

TEST(WisStreamHeaders, EachBuilderKeepsItsOwnBuffer) {
    TCFG_FORMAT_EXTENSION a = Extension(720, 480, 30000);
    TCFG_FORMAT_EXTENSION b = Extension(352, 240, 30000);
    BYTE* first = nullptr;
    BYTE* second = nullptr;
    BYTE* other = nullptr;
    BuildMpeg2SequenceHeader(&a, &first);
    BuildMpeg1SequenceHeader(&b, &other);
    EXPECT_EQ(0x2D, first[4]);  // the MPEG-1 builder did not touch it
    BuildMpeg2SequenceHeader(&b, &second);
    EXPECT_EQ(first, second);  // the next call of the same builder overwrites it
    EXPECT_EQ(0x16, first[4]);
}

}  // namespace
