// The EM28xx boxes: their devices on the Empia driver, the chips on their bus (EEPROM, box
// controller with the bench's tuner type code or the TV box's key controller, video decoder at
// 0x4A, the PLL at 0xC6), the bench entry's type code, and one box per bench.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/bench/CardKind.h"
#include "hwsim/boards/Card.h"
#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/drivers/EmpiaDriver.h"
#include "ksmedia.h"
#include "platform/devicetree.h"
#include "support/BenchFixture.h"
#include "uuids.h"

namespace hwsim {
namespace {

using Em28xxBoxes = BenchFixture;

// The boxes, as the card-kind rows tell.
const std::vector<std::string> kBoxes =
    CaptureNamesWhere([](const CardKind& kind) { return IsEm28xxBox(kind.captureName); });

std::string OneBox(const std::string& kind, const std::string& extra = "") {
    return R"({"cards": [{"kind": ")" + kind + R"(", "tuner": 97)" + extra + R"(}], "stations": [{"kHz": 471250}]})";
}

bool Answers(Card& card, BYTE address8) {
    BYTE byte = 0;
    return card.Bus().ReadRaw(address8 | 1, &byte, 1) == I2CResult::Ack;
}

BYTE ReadRegister(Card& card, BYTE address8, BYTE reg) {
    BYTE value = 0;
    EXPECT_EQ(I2CResult::Ack, card.Bus().ReadSub(address8, reg, &value, 1));
    return value;
}

TEST_F(Em28xxBoxes, EachBoxCarriesItsControllerDecoderAndPllOnTheEmpiaDriver) {
    for (const std::string& kind : kBoxes) {
        SCOPED_TRACE(kind);
        auto bench = Bench::FromText(OneBox(kind));
        BenchDevices devices(*bench);
        Card& card = *bench->Cards()[0];
        EXPECT_NE(nullptr, dynamic_cast<EmpiaDriver*>(&devices.Driver(card)));
        EXPECT_NE(0u, devices.CaptureDevice(card));
        EXPECT_NE(0u, devices.CrossbarDevice(card));
        EXPECT_TRUE(Answers(card, 0xA0));
        EXPECT_TRUE(Answers(card, 0x4A));
        EXPECT_TRUE(Answers(card, 0xC6));
        EXPECT_TRUE(Answers(card, 0x86));  // model 97's IF demodulator
        EXPECT_FALSE(Answers(card, 0xC0));
        EXPECT_FALSE(Answers(card, 0x42));  // the module's own decoder is not wired on a box
        const bool tvBox = kind == "Vorlane USB TV Box Video";
        EXPECT_EQ(!tvBox, Answers(card, 0x60));
        EXPECT_EQ(tvBox, Answers(card, 0xBB));
        EXPECT_EQ(!tvBox, HasEm28xxBoxController(kind));
    }
    auto bench = Bench::FromText(OneBox("USB 2800 Video"));
    BenchDevices devices(*bench);
    Card& card = *bench->Cards()[0];
    EXPECT_NE(0u, devices.TunerDevice(card));
}

TEST_F(Em28xxBoxes, ControllerServesTheBenchTypeCodeAndOneKeyPerPress) {
    auto bench = Bench::FromText(OneBox("USB 2820 Video", R"(, "tunerTypeCode": 6, "keys": [21, 22])"));
    Card& card = *bench->Cards()[0];
    EXPECT_EQ(6, ReadRegister(card, 0x60, 0x32));
    EXPECT_EQ(1, ReadRegister(card, 0x60, 0x30));
    EXPECT_EQ(21, ReadRegister(card, 0x60, 0x31));
    EXPECT_EQ(1, ReadRegister(card, 0x60, 0x30));  // the next key follows
    EXPECT_EQ(22, ReadRegister(card, 0x60, 0x31));
    EXPECT_EQ(0, ReadRegister(card, 0x60, 0x30));

    // Older benches read as before: type code 0.
    auto older = Bench::FromText(OneBox("USB 2800 Video"));
    EXPECT_EQ(0, ReadRegister(*older->Cards()[0], 0x60, 0x32));
}

// The TV box's host acknowledges before it reads the key: the next key waits for that read.
TEST_F(Em28xxBoxes, TvBoxKeyControllerHoldsTheKeyUntilItIsReadAfterTheAcknowledge) {
    auto bench = Bench::FromText(OneBox("Vorlane USB TV Box Video", R"(, "keys": [5, 6])"));
    Card& card = *bench->Cards()[0];
    const BYTE zero = 0;
    EXPECT_EQ(1, ReadRegister(card, 0xBA, 0x30));
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteSub(0xBA, 0x30, &zero, 1));
    EXPECT_EQ(0, ReadRegister(card, 0xBA, 0x30));
    EXPECT_EQ(5, ReadRegister(card, 0xBA, 0x31));
    EXPECT_EQ(1, ReadRegister(card, 0xBA, 0x30));
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteSub(0xBA, 0x30, &zero, 1));
    EXPECT_EQ(6, ReadRegister(card, 0xBA, 0x31));
    EXPECT_EQ(0, ReadRegister(card, 0xBA, 0x30));
}

TEST_F(Em28xxBoxes, DecoderStatusFollowsThePllAtC6AndRegister2IsPlain) {
    auto bench = Bench::FromText(OneBox("USB 2800 Video"));
    Card& card = *bench->Cards()[0];
    EXPECT_NE(0, ReadRegister(card, 0x4A, 0x1F) & 0x40);  // no picture yet
    // 471.25 MHz + 38.9 MHz IF in 62.5 kHz steps, control and band bytes after the divider.
    const unsigned divider = (471250 + 38900) * 1000 / 62500;
    const BYTE pll[] = {static_cast<BYTE>(divider >> 8), static_cast<BYTE>(divider), 0x86, 0x04};
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0xC6, pll, sizeof(pll)));
    EXPECT_EQ(0, ReadRegister(card, 0x4A, 0x1F) & 0x40);
    const BYTE mode = 0xC3;
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteSub(0x4A, 2, &mode, 1));
    EXPECT_EQ(0xC3, ReadRegister(card, 0x4A, 2));
}

TEST_F(Em28xxBoxes, BenchRefusesATypeCodeWithoutControllerAndASecondBox) {
    EXPECT_THROW(Bench::FromText(OneBox("Vorlane USB TV Box Video", R"(, "tunerTypeCode": 1)")), BenchError);
    EXPECT_THROW(Bench::FromText(OneBox("USB 2800 Video", R"(, "tunerTypeCode": 256)")), BenchError);
    EXPECT_THROW(Bench::FromText(OneBox("713x TV Card Capture", R"(, "tunerTypeCode": 1)")), BenchError);
    EXPECT_THROW(Bench::FromText(R"({"cards": [{"kind": "USB 2800 Video"}, {"kind": "USB 2881 Video"}]})"), BenchError);
    EXPECT_NO_THROW(Bench::FromText(R"({"cards": [{"kind": "USB 2800 Video"}, {"kind": "713x TV Card Capture"}]})"));
}

TEST_F(Em28xxBoxes, ChipsMayBeTakenAwayByAFault) {
    auto bench = Bench::FromText(OneBox("USB 2821 Video", R"(, "faults": [{"chip": "remote", "kind": "absent"}])"));
    Card& card = *bench->Cards()[0];
    EXPECT_FALSE(Answers(card, 0x60));
    EXPECT_TRUE(Answers(card, 0x4A));
}

}  // namespace
}  // namespace hwsim
