// The Xceive chip: its reset input on GPIO line 18, the register protocol, and how it judges a
// firmware load whatever the chunking, against records made here in the host's format.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hwsim/bench/Bench.h"
#include "hwsim/bench/TunerFitting.h"
#include "hwsim/boards/Card.h"
#include "hwsim/chips/XceiveTuner.h"
#include "platform/runtime.h"

namespace hwsim {
namespace {

constexpr DWORD kResetLine = 1u << 18;

// A data record of list `id` in the host's format: d[0], sequence, flags, CRC-8 check, filler.
std::vector<BYTE> Record(int id, int sequence, bool last, size_t length)
{
    std::vector<BYTE> record(length, 0x5A);
    record[0] = static_cast<BYTE>((id + 1) << 4 | (length - 1 <= 15 ? length - 1 : 0));
    record[1] = static_cast<BYTE>(sequence & 0xFF);
    record[2] = static_cast<BYTE>((sequence >> 8) << 6 | (last ? 0x20 : 0));
    if (length - 1 > 15) {
        record[4] = static_cast<BYTE>((length - 1) >> 8);
        record[5] = static_cast<BYTE>(length - 1);
    }
    BYTE crc = 0;
    for (size_t i = 0; i < length; ++i) {
        if (i == 3) continue;
        crc ^= record[i];
        for (int bit = 0; bit < 8; ++bit) crc = static_cast<BYTE>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    }
    record[3] = crc;
    return record;
}

class XceiveChip : public testing::Test {
protected:
    XceiveChip() : rf({{863250, "E69"}}), chip(rf) { bus.Attach(&chip); }
    ~XceiveChip() override { bus.Detach(&chip); }

    I2CResult Write(std::vector<BYTE> bytes) { return bus.WriteRaw(0xC2, bytes.data(), bytes.size()); }
    // Sends a record as the host does: d[0] and up to `payload` bytes a chunk.
    void Send(const std::vector<BYTE>& record, size_t payload)
    {
        for (size_t at = 1; at < record.size(); at += payload) {
            std::vector<BYTE> chunk = {record[0]};
            chunk.insert(chunk.end(), record.begin() + at, record.begin() + std::min(record.size(), at + payload));
            ASSERT_EQ(I2CResult::Ack, Write(chunk));
        }
    }
    // A base of NTSC (list 1) and its M/N patch (list 6), each `records` long.
    void LoadNtsc(size_t payload, int records = 3)
    {
        for (int i = 0; i < records; ++i) Send(Record(1, i, i == records - 1, i == 1 ? 40 : 4), payload);
        for (int i = 0; i < records; ++i) Send(Record(6, i, i == records - 1, 13), payload);
    }
    WORD LockRegister()
    {
        EXPECT_EQ(I2CResult::Ack, Write({0x00, 0x02}));
        BYTE answer[4] = {};
        EXPECT_EQ(I2CResult::Ack, bus.ReadRaw(0xC3, answer, 4));
        return static_cast<WORD>(answer[0] << 8 | answer[1]);
    }
    void Reset()
    {
        chip.SetReset(true);
        chip.SetReset(false);
    }

    RfEnvironment rf;
    XceiveTuner chip;
    I2CBus bus;
};

TEST_F(XceiveChip, RegisterWritesSetModeAndFrequencyAndTheLockReadsZeroWithoutFirmware)
{
    BYTE probe = 0;
    EXPECT_EQ(I2CResult::Ack, bus.ReadRaw(0xC3, &probe, 1));  // answers before any firmware
    EXPECT_EQ(I2CResult::Ack, Write({0x00, 0x02, 0x00, 0x00}));
    EXPECT_EQ(I2CResult::Ack, Write({0x00, 0x02, 0x00, 0x00, 0x00}));  // the sound-IF class's form
    EXPECT_EQ(chip.ModeWrites(), 2);
    EXPECT_EQ(I2CResult::Ack, Write({0x00, 0x00, 0xD7, 0xD0}));
    EXPECT_EQ(chip.FrequencyWord(), 0xD7D0);
    EXPECT_EQ(chip.TunedKHz(), 863250);
    EXPECT_EQ(I2CResult::Ack, Write({0x00, 0x00, 0x0A, 0xB0, 0x00}));
    EXPECT_EQ(chip.TunedKHz(), 42750);
    EXPECT_FALSE(chip.Tunable());
    EXPECT_EQ(LockRegister(), 0);
}

TEST_F(XceiveChip, CompleteBaseThenPatchMakeItTunableWhateverTheChunking)
{
    for (size_t payload : {63u, 8u, 7u, 3u}) {
        SCOPED_TRACE(payload);
        Reset();
        LoadNtsc(payload);
        EXPECT_TRUE(chip.Tunable()) << chip.LoadError();
        EXPECT_EQ(chip.Base(), "XcBaseNtsc");
        EXPECT_EQ(chip.Patch(), "XcPatchMn");
        EXPECT_EQ(chip.RecordsAccepted(), 6u);
        ASSERT_EQ(I2CResult::Ack, Write({0x00, 0x00, 0xD7, 0xD0}));
        EXPECT_TRUE(chip.Locked());
        EXPECT_EQ(LockRegister(), 1);
        ASSERT_EQ(I2CResult::Ack, Write({0x00, 0x00, 0x0A, 0xB0}));  // no station there
        EXPECT_EQ(LockRegister(), 0);
    }
}

TEST_F(XceiveChip, ASoundIfPatchFitsEitherBase)
{
    for (int base : {0, 1}) {
        Reset();
        Send(Record(base, 0, true, 4), 63);
        Send(Record(7, 0, true, 13), 7);  // XcPatchSifBgi
        EXPECT_TRUE(chip.Tunable()) << chip.LoadError();
        EXPECT_EQ(chip.Patch(), "XcPatchSifBgi");
    }
}

TEST_F(XceiveChip, TornReorderedForeignOrWronglyChunkedLoadsLeaveItUntunableUntilReset)
{
    struct Case {
        const char* what;
        std::function<void()> load;
    };
    const Case cases[] = {
        {"base cut short", [&] {
             Send(Record(1, 0, false, 4), 63);
             Send(Record(6, 0, true, 13), 63);
         }},
        {"record torn", [&] {
             const auto big = Record(1, 0, true, 40);
             ASSERT_EQ(I2CResult::Ack, Write(std::vector<BYTE>(big.begin(), big.begin() + 8)));
             Send(Record(6, 0, true, 13), 63);
         }},
        {"records reordered", [&] {
             Send(Record(1, 1, false, 4), 63);
             Send(Record(1, 0, true, 4), 63);
         }},
        {"patch of the other family", [&] {
             Send(Record(0, 0, true, 4), 63);
             Send(Record(6, 0, true, 13), 63);
         }},
        {"patch without a base", [&] { Send(Record(6, 0, true, 13), 63); }},
        {"d[0] not repeated", [&] {
             const auto record = Record(6, 0, true, 13);
             ASSERT_EQ(I2CResult::Ack, Write(std::vector<BYTE>(record.begin(), record.begin() + 8)));
             ASSERT_EQ(I2CResult::Ack, Write(std::vector<BYTE>(record.begin() + 8, record.end())));
         }},
        {"check value wrong", [&] {
             auto record = Record(1, 0, true, 4);
             record[3] ^= 1;
             Send(record, 63);
         }},
        {"second base without reset", [&] {
             LoadNtsc(63);
             Send(Record(1, 0, true, 4), 63);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        c.load();
        if (!chip.LoadError().empty()) LoadNtsc(63);  // a refused load stays refused
        EXPECT_FALSE(chip.Tunable());
        EXPECT_TRUE(chip.Patch().empty());
        Reset();
        EXPECT_TRUE(chip.LoadError().empty());
        LoadNtsc(7);
        EXPECT_TRUE(chip.Tunable()) << chip.LoadError();
    }
}

TEST_F(XceiveChip, AFreshChipRefusesABaseThatNoResetPulsePreceded)
{
    LoadNtsc(63);
    EXPECT_FALSE(chip.Tunable());
    EXPECT_EQ(chip.LoadError(), "XcBaseNtsc without a reset");
    Reset();
    LoadNtsc(63);
    EXPECT_TRUE(chip.Tunable()) << chip.LoadError();
    // A lone byte, as a block read's sub-address write, is no chunk of a record.
    ASSERT_EQ(I2CResult::Ack, Write({0xC2}));
    EXPECT_TRUE(chip.Tunable()) << chip.LoadError();
}

TEST_F(XceiveChip, HeldInResetItAnswersNothingAndForgetsItsFirmware)
{
    Reset();
    LoadNtsc(63);
    ASSERT_TRUE(chip.Tunable());
    platform::AdvanceClock(1000);
    const ULONGLONG start = platform::ClockNow();
    chip.SetReset(true);
    BYTE probe = 0;
    EXPECT_EQ(I2CResult::Nack, bus.ReadRaw(0xC3, &probe, 1));
    EXPECT_EQ(I2CResult::Nack, Write({0x00, 0x02, 0x00, 0x00}));
    platform::AdvanceClock(200);
    chip.SetReset(false);
    EXPECT_FALSE(chip.Tunable());
    EXPECT_TRUE(chip.Base().empty());
    ASSERT_EQ(chip.ResetPulses().size(), 2u);
    EXPECT_EQ(chip.ResetPulses()[1].assertedAt, start);
    EXPECT_EQ(chip.ResetPulses()[1].HeldMs(), 200u);
}

// ---- on a board ----

TEST(XceiveFitting, ModelsOfTheFamilyGetTheChipWithResetOnLine18AndLockInTheBridge)
{
    for (int model : {90, 91, 136, 137}) {
        SCOPED_TRACE(model);
        auto bench = Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": )" +
                                     std::to_string(model) + R"(}], "stations": [{"kHz": 863250}]})");
        Card& card = *bench->Cards()[0];
        auto* chip = dynamic_cast<XceiveTuner*>(card.Chip("tuner"));
        ASSERT_NE(chip, nullptr);
        EXPECT_EQ(chip->Address(), 0x61);
        Saa713x& bridge = card.Bridge();

        // Line 18 driven low holds the chip; driven high or let go releases it.
        bridge.Write(Saa713x::kGpioMode, kResetLine);
        bridge.Write(Saa713x::kGpioStatus, 0);
        EXPECT_TRUE(chip->InReset());
        bridge.Write(Saa713x::kGpioStatus, kResetLine);
        EXPECT_FALSE(chip->InReset());
        bridge.Write(Saa713x::kGpioStatus, 0);
        EXPECT_TRUE(chip->InReset());
        bridge.Write(Saa713x::kGpioMode, 0);
        EXPECT_FALSE(chip->InReset());
        EXPECT_EQ(chip->ResetPulses().size(), 2u);

        // Unlocked: bit 0 of register 0x3A set, no picture.
        EXPECT_EQ(bridge.Read(0x38) >> 16 & 1, 1u);
        EXPECT_FALSE(TunerSeesPicture(card));
        EXPECT_EQ(bridge.Read(Saa713x::kVideoStatus) & 1, 0u);
    }
}

}  // namespace
}  // namespace hwsim
