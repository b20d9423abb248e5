// The video decoder as the tuners read it: the picture and line-count bits of register 0x1F,
// refreshed at each read, and plain registers beside them.
#include <gtest/gtest.h>

#include <optional>

#include "hwsim/bus/I2CBus.h"
#include "hwsim/chips/VideoDecoder.h"

namespace hwsim {
namespace {

class VideoDecoderTest : public testing::Test {
protected:
    VideoDecoderTest() : decoder(0x25, [this] { return picture; }) { bus.Attach(&decoder); }
    ~VideoDecoderTest() override { bus.Detach(&decoder); }

    BYTE Register(BYTE reg) {
        BYTE value = 0xEE;
        EXPECT_EQ(I2CResult::Ack, bus.ReadSub(0x4A, reg, &value, 1));
        return value;
    }

    std::optional<Station> picture;
    VideoDecoder decoder;
    I2CBus bus;
};

TEST_F(VideoDecoderTest, StatusFollowsThePictureAndItsLineCountAtEachRead) {
    EXPECT_EQ(VideoDecoder::kNoPicture, Register(0x1F) & (VideoDecoder::kNoPicture | VideoDecoder::k525Lines));
    picture = Station{471250, "C21", 625};
    EXPECT_EQ(0, Register(0x1F) & (VideoDecoder::kNoPicture | VideoDecoder::k525Lines));
    picture = Station{91250, "J1", 525};
    EXPECT_EQ(VideoDecoder::k525Lines, Register(0x1F) & (VideoDecoder::kNoPicture | VideoDecoder::k525Lines));
    picture.reset();
    EXPECT_EQ(VideoDecoder::kNoPicture, Register(0x1F) & VideoDecoder::kNoPicture);
}

TEST_F(VideoDecoderTest, KeepsItsOtherStatusBitsAndPlainRegisters) {
    decoder.Poke(0x1F, 0x0F);
    picture = Station{471250, "C21", 625};
    EXPECT_EQ(0x0F, Register(0x1F));
    BYTE input = 0x03;
    ASSERT_EQ(I2CResult::Ack, bus.WriteSub(0x4A, VideoDecoder::kInputSelect, &input, 1));
    EXPECT_EQ(0x03, Register(VideoDecoder::kInputSelect));
    BYTE probe = 0;
    EXPECT_EQ(I2CResult::Ack, bus.ReadRaw(0x4B, &probe, 1));  // a one-byte probe is answered
    EXPECT_EQ(I2CResult::Nack, bus.ReadRaw(0x43, &probe, 1));
}

}  // namespace
}  // namespace hwsim
