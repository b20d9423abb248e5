// The MPEG encoder chip's rate control: whatever the pictures, the program stream keeps to the
// maximum bit rate the host set (with the audio's 256 kbit/s and the multiplex on top).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "hwsim/boards/CardSignal.h"
#include "hwsim/chips/Mpeg2Encoder.h"

namespace hwsim {
namespace {

// Bits a second of `seconds` of pictures from `fill` at 720x576, 25 a second.
double StreamRate(DWORD average, DWORD maximum, int seconds, const std::function<void(std::vector<BYTE>&)>& fill) {
    Mpeg2Encoder encoder;
    Mpeg2Encoder::Settings settings;
    settings.averageBitRate = average;
    settings.maximumBitRate = maximum;
    EXPECT_TRUE(encoder.Open(settings));
    std::vector<BYTE> uyvy(720 * 576 * 2);
    size_t bytes = 0;
    for (int picture = 0; picture < 25 * seconds; ++picture) {
        fill(uyvy);
        EXPECT_TRUE(encoder.EncodeVideo(uyvy.data(), uyvy.size()));
        bytes += encoder.TakeOutput().size();
    }
    encoder.Flush();
    bytes += encoder.TakeOutput().size();
    return bytes * 8.0 / seconds;
}

TEST(Mpeg2EncoderChip, NoiseKeepsToTheMaximumBitRateTheHostSet) {
    // The picture of a card tuned where no station is.
    CardSignal snow;
    snow.kind = CardSignal::Kind::Noise;
    ULONGLONG frame = 0;
    std::vector<BYTE> yuy2(720 * 576 * 2);
    const auto noise = [&](std::vector<BYTE>& uyvy) {
        snow.DrawYuy2(frame++, 720, 576, yuy2.data());
        for (size_t i = 0; i < yuy2.size(); i += 2) {
            uyvy[i] = yuy2[i + 1];
            uyvy[i + 1] = yuy2[i];
        }
    };
    // The station's recording settings: 6 Mbit/s on average, 9.8 Mbit/s at most.
    const double rate = StreamRate(6000000, 9800000, 4, noise);
    EXPECT_LT(rate, 9800000.0 + 256000.0 + 400000.0);  // the audio and the pack overhead on top
}

}  // namespace
}  // namespace hwsim
