// Tuning the MPEG-2 box's PLL tuner through the box, by frequency and by channel, against the
// tuner chip on the test board; the lock wait on the test clock; the status and picture
// routines on the board's decoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>

#include "access/Mpeg2BoxAccess.h"
#include "access/Mpeg2BoxDecoder.h"
#include "access/Mpeg2BoxTuning.h"
#include "hwsim/drivers/BoxDriver.h"
#include "support/BoxBoard.h"

namespace {

class Mpeg2BoxTuningTest : public BoxBoardTest<BoxBoard::Family::Mpeg2Box> {
protected:
    // The lock polls of the last tuning, as the driver logged them.
    int LockPolls()
    {
        int polls = 0;
        for (const std::string& line : board.Driver().Log().Lines()) {
            if (line.find("Get BOX.20") == 0 && line.find("mode 01") != std::string::npos) ++polls;
        }
        return polls;
    }
};

TEST_F(Mpeg2BoxTuningTest, FrequencyGivesDividerAndBandControl)
{
    struct Row {
        DWORD kHz;
        WORD divider;
        BYTE control;
        BYTE band;
    };
    for (const Row& row : {Row{55250, 1506, 0xCE, 0x01}, Row{170000, 3342, 0xCE, 0x02}, Row{450000, 7822, 0xCE, 0x08}}) {
        SCOPED_TRACE(row.kHz);
        EXPECT_TRUE(CMpeg2BoxTuning::SetFrequency(board.Filter(), row.kHz));
        EXPECT_EQ(row.divider, board.Tuner().Divider());
        EXPECT_EQ(row.control, board.Tuner().ControlByte());
        EXPECT_EQ(row.band, board.Tuner().BandByte());
    }
    EXPECT_TRUE(platform::TraceContains("Freq : 55250     SetChannel : 05e2 , ce01\n"));
}

TEST_F(Mpeg2BoxTuningTest, LockWaitStopsAtLockOrAfterFiftyPollsTenMillisecondsApart)
{
    const ULONGLONG start = platform::ClockNow();
    ASSERT_TRUE(CMpeg2BoxTuning::SetFrequency(board.Filter(), 55250));  // on air: locks at once
    EXPECT_EQ(1, LockPolls());
    EXPECT_LT(platform::ClockNow() - start, 10u);

    board.Clear();
    const ULONGLONG off = platform::ClockNow();
    ASSERT_TRUE(CMpeg2BoxTuning::SetFrequency(board.Filter(), 300000));  // nothing on air
    EXPECT_EQ(50, LockPolls());
    EXPECT_GE(platform::ClockNow() - off, 490u);
    EXPECT_LT(platform::ClockNow() - off, 600u);

    // A failed poll ends the wait; the wait still answers TRUE.
    board.Clear();
    board.Tuner().NackTransfers(0, 0, -1);
    EXPECT_TRUE(CMpeg2BoxTuning::WaitForLock(board.Filter(), 0x60, 0));
    EXPECT_EQ(1, LockPolls());
    board.Tuner().ClearFaults();
}

// The channel tables as the box's tuning documents them, typed in: per region the tuner device
// and the low, mid and high band control words; the dividers in 62.5 kHz steps.
struct RegionRow {
    BYTE device;
    WORD band[3];  // low, mid, high
};
constexpr RegionRow kRegionRows[6] = {
    {0x61, {0x8E02, 0x8E04, 0x8E01}}, {0x61, {0x8EA0, 0x8E90, 0x8E30}}, {0x60, {0x8EA0, 0x8E90, 0x8E30}},
    {0x61, {0x8E01, 0x8E02, 0x8E08}}, {0x60, {0x8E01, 0x8E02, 0x8E08}}, {0x60, {0xCE01, 0xCE02, 0xCE04}},
};
enum Band { kLow, kMid, kHigh };

// A run of channels first..last: divider start + 96 per channel above first, in `band`.
struct Run {
    int first;
    int last;
    WORD start;
    Band band;
};
constexpr Run kCableRuns[] = {{2, 4, 1616, kLow}, {5, 6, 1968, kLow}, {7, 13, 3536, kMid}, {14, 69, 8272, kHigh}};
constexpr Run kAirRuns[] = {{1, 1, 1904, kLow},    {2, 4, 1616, kLow},    {5, 6, 1968, kLow},
                            {7, 13, 3536, kMid},   {14, 20, 2672, kLow},  {21, 22, 3344, kMid},
                            {23, 62, 4208, kMid},  {63, 94, 8048, kHigh}, {95, 99, 2192, kLow},
                            {100, 125, 11120, kHigh}};
constexpr WORD kRegion3Firsts[12] = {2192, 2288, 2384, 3472, 3568, 3664, 3760, 3824, 3920, 4016, 4112, 4208};

// The divider and band of a channel, or false when the region has none for it.
bool TableDivider(int region, int channel, bool cable, WORD* divider, Band* band)
{
    if (region == 3) {
        if (channel < 1 || channel > 62) return false;  // 63 has no divider (entry 0)
        *divider = channel <= 12 ? kRegion3Firsts[channel - 1] : static_cast<WORD>(8272 + 96 * (channel - 13));
        *band = channel <= 3 ? kLow : channel <= 12 ? kMid : cable ? kHigh : channel <= 21 ? kLow : kMid;
        return true;
    }
    const Run* runs = cable ? kCableRuns : kAirRuns;
    const size_t count = cable ? std::size(kCableRuns) : std::size(kAirRuns);
    for (size_t i = 0; i < count; ++i) {
        if (channel < runs[i].first || channel > runs[i].last) continue;
        *divider = static_cast<WORD>(runs[i].start + 96 * (channel - runs[i].first));
        *band = runs[i].band;
        return true;
    }
    return false;
}

// Every channel of every region against what the tuner was programmed with.
TEST_F(Mpeg2BoxTuningTest, EveryRegionsChannelsReachTheTuner)
{
    board.Card().RemoveChip("tuner");
    hwsim::PllTuner::Options options;
    options.address7 = 0x61;
    auto* second = static_cast<hwsim::PllTuner*>(
        board.Card().AddChip("tuner61", std::make_unique<hwsim::PllTuner>(board.Card().Rf(), options)));
    auto* first = static_cast<hwsim::PllTuner*>(
        board.Card().AddChip("tuner", std::make_unique<hwsim::PllTuner>(board.Card().Rf(), hwsim::PllTuner::Options())));
    int tuned = 0;
    for (int region = 0; region <= 5; ++region) {
        for (bool cable : {true, false}) {
            for (int channel = 0; channel <= 126; ++channel) {
                SCOPED_TRACE(testing::Message() << "region " << region << " cable " << cable << " channel " << channel);
                WORD divider = 0;
                Band band = kLow;
                const bool known = TableDivider(region, channel, cable, &divider, &band);
                board.Clear();
                ASSERT_EQ(known, CMpeg2BoxTuning::SetChannel(board.Filter(), region, channel, cable) != FALSE);
                if (!known) {
                    EXPECT_EQ("", board.Card().Bus().LogText());
                    continue;
                }
                ++tuned;
                const WORD control = kRegionRows[region].band[band];
                const hwsim::PllTuner& tuner = kRegionRows[region].device == 0x61 ? *second : *first;
                // The PLL takes its control and divider bytes in either order; region 3 sends
                // the control word first.
                EXPECT_EQ(divider, tuner.Divider());
                EXPECT_EQ(control >> 8, tuner.ControlByte());
                EXPECT_EQ(control & 0xFF, tuner.BandByte());
                const WORD firstWord = region == 3 ? control : divider;
                char head[32];
                std::snprintf(head, sizeof(head), "%02X W %02X %02X", tuner.Address() << 1, firstWord >> 8,
                              firstWord & 0xFF);
                EXPECT_EQ(0u, board.Card().Bus().LogText().find(head)) << board.Card().Bus().LogText();
                if (region == 5) {
                    EXPECT_EQ(0xA0, tuner.AuxByte().value_or(0));
                }
            }
        }
    }
    EXPECT_GT(tuned, 800);
}

TEST_F(Mpeg2BoxTuningTest, ChannelTableEdges)
{
    WORD divider = 0;
    WORD control = 0;
    ASSERT_TRUE(CMpeg2BoxTuning::ChannelDivider(0, 69, TRUE, &divider, &control));
    EXPECT_EQ(13552, divider);
    EXPECT_EQ(0x8E01, control);
    EXPECT_FALSE(CMpeg2BoxTuning::ChannelDivider(0, 70, TRUE, &divider, &control));
    EXPECT_FALSE(CMpeg2BoxTuning::ChannelDivider(0, 126, FALSE, &divider, &control));
    EXPECT_FALSE(CMpeg2BoxTuning::ChannelDivider(6, 5, FALSE, &divider, &control));
    EXPECT_FALSE(CMpeg2BoxTuning::ChannelDivider(-1, 5, FALSE, &divider, &control));
    ASSERT_TRUE(CMpeg2BoxTuning::ChannelDivider(5, 100, FALSE, &divider, &control));
    EXPECT_EQ(11120, divider);
    EXPECT_EQ(0xCE04, control);
    // Region 3's table: 12 dividers, then 8272 rising by 96 to channel 62.
    for (int channel = 13; channel <= 62; ++channel) {
        EXPECT_EQ(8272 + 96 * (channel - 13), CMpeg2BoxTuning::kRegion3Dividers[channel]) << channel;
    }
    ASSERT_TRUE(CMpeg2BoxTuning::ChannelDivider(3, 62, TRUE, &divider, &control));
    EXPECT_EQ(12976, divider);
    EXPECT_EQ(0x8E08, control);
    ASSERT_TRUE(CMpeg2BoxTuning::ChannelDivider(3, 21, FALSE, &divider, &control));
    EXPECT_EQ(0x8E01, control);
}

// Channel 63 of region 3 without the cable flag has no divider (table entry 0): refused,
// rather than tuning the tuner to divider 0.
TEST_F(Mpeg2BoxTuningTest, RegionThreeChannel63IsRefusedNotTunedToZero)
{
    EXPECT_FALSE(CMpeg2BoxTuning::SetChannel(board.Filter(), 3, 63, FALSE));
    EXPECT_EQ(0u, board.Driver().Log().Size());
}

TEST_F(Mpeg2BoxTuningTest, StatusAndPictureRoutinesOnTheDecoder)
{
    hwsim::RegisterFileDevice& decoder = board.Chip("decoder");
    decoder.Poke(31, 0x22);  // bit 5 and bit 1
    EXPECT_TRUE(CMpeg2BoxDecoder::WaitDecoderReady(board.Filter()));
    EXPECT_FALSE(CMpeg2BoxDecoder::GetDecoderFlag(board.Filter()));
    EXPECT_TRUE(platform::TraceContains("VALUE = 0x22\n"));
    EXPECT_EQ(1u, CMpeg2BoxDecoder::GetDecoderStatusBit(board.Filter(), 1));
    EXPECT_EQ(0u, CMpeg2BoxDecoder::GetDecoderStatusBit(board.Filter(), 2));
    DWORD status = 0;
    ASSERT_TRUE(CMpeg2BoxDecoder::ReadDecoderStatus(board.Filter(), &status));
    EXPECT_EQ(0x22u, status);

    decoder.Poke(31, 0x40);  // never ready: 50 reads, 10 ms apart
    const ULONGLONG start = platform::ClockNow();
    EXPECT_FALSE(CMpeg2BoxDecoder::WaitDecoderReady(board.Filter()));
    EXPECT_GE(platform::ClockNow() - start, 490u);

    decoder.Poke(2, 0xA0);
    ASSERT_TRUE(CMpeg2BoxDecoder::SelectInput(board.Filter(), 1, 1));
    EXPECT_EQ(0xA3, decoder.Peek(2));
    EXPECT_FALSE(CMpeg2BoxDecoder::SelectInput(board.Filter(), 0, 1));

    ASSERT_TRUE(CMpeg2BoxDecoder::SetPictureRegister(board.Filter(), 0, 9, 10));
    EXPECT_EQ(199, decoder.Peek(9));
    long value = 0;
    ASSERT_TRUE(CMpeg2BoxDecoder::GetPictureRegister(board.Filter(), 0, 9, &value));
    EXPECT_EQ(10, value);
    ASSERT_TRUE(CMpeg2BoxDecoder::SetPictureRegister(board.Filter(), 1, 13, 100));
    EXPECT_EQ(static_cast<BYTE>(100 - 127), decoder.Peek(13));

    ASSERT_TRUE(CMpeg2BoxDecoder::SetDevice43(board.Filter(), 5, 1));
    EXPECT_EQ(0x36, board.Chip("device43").Peek(0));
    EXPECT_EQ(0x10, board.Chip("device43").Peek(1));
    board.Clear();
    EXPECT_TRUE(CMpeg2BoxDecoder::SetDevice43(board.Filter(), 1, 1));
    EXPECT_EQ(0u, board.Driver().Log().Size());

    ASSERT_TRUE(CMpeg2BoxDecoder::WriteDevice51(board.Filter(), 7, 0x42));
    BYTE byte = 0;
    ASSERT_TRUE(CMpeg2BoxDecoder::ReadDevice51(board.Filter(), 7, &byte));
    EXPECT_EQ(0x42, byte);

    CMpeg2BoxTuning::SetFrequency(board.Filter(), 55250);
    platform::ClearTrace();
    ASSERT_TRUE(CMpeg2BoxDecoder::GetTunerStatus(board.Filter(), &status));
    EXPECT_EQ(board.Tuner().Status(), status);
    EXPECT_TRUE(platform::TraceContains("Signal : "));
}

}  // namespace
