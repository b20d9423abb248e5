// The boards of the Wolbry, Elgrin and Wandry boxes and the Fimbrel card: each kind's driver,
// EEPROM address, key controller wiring and devices, the line that holds a fitted Xceive chip
// in reset, and the Fimbrel encoder's own settings set.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/EncoderFilter.h"
#include "hwsim/chips/I2CKeyController.h"
#include "hwsim/chips/XceiveTuner.h"
#include "hwsim/drivers/BoxDriver.h"
#include "hwsim/drivers/FimbrelDriver.h"
#include "hwsim/drivers/VendorCommandDriver.h"
#include "support/BenchFixture.h"

namespace hwsim {
namespace {

struct BoardRow {
    const char* kind;
    bool (*driverIs)(KsDriver& driver);
    BYTE eeprom7;
    BYTE readyRegister;
    BYTE keyRegister;
    bool tunerDevice;
    bool tvAudioAndEncoder;
    DWORD xceiveReset;
};

template <class Driver>
bool Is(KsDriver& driver) {
    return dynamic_cast<Driver*>(&driver) != nullptr;
}

const BoardRow kRows[] = {
    {"vorlane Wolbry Device", &Is<BoxDriver>, 0x51, 0x30, 0x31, true, false, BoxDriver::kTunerResetLine},
    {"Elgrin Capture", &Is<VendorCommandDriver>, 0x50, 0x30, 0x31, false, false, 1u << 1},
    {"Wandry Capture", &Is<VendorCommandDriver>, 0x50, 0x30, 0x31, false, false, 1u << 1},
    {"Conexant Fimbrel Video Capture", &Is<FimbrelDriver>, 0x50, 0xAA, 0xAB, true, true, FimbrelDriver::kTunerResetLine},
};

class UsbBoxBoardsTest : public BenchFixture {
protected:
    void Plug(const std::string& card) {
        devices.reset();
        bench = Bench::FromText(R"({"cards": [)" + card + "]}");
        devices = std::make_unique<BenchDevices>(*bench);
    }
    void TearDown() override {
        devices.reset();
        bench.reset();
        BenchFixture::TearDown();
    }
    Card& Board() { return *bench->Cards()[0]; }

    std::unique_ptr<Bench> bench;
    std::unique_ptr<BenchDevices> devices;
};

TEST_F(UsbBoxBoardsTest, EachKindHasItsDriverEepromKeyControllerAndDevices) {
    for (const BoardRow& row : kRows) {
        Plug(std::string(R"({"kind": ")") + row.kind + R"(", "tuner": 5, "keys": [7]})");
        Card& board = Board();
        EXPECT_TRUE(row.driverIs(devices->Driver(board))) << row.kind;
        EXPECT_EQ(row.eeprom7, board.Eeprom().Address()) << row.kind;
        I2CKeyController& keys = board.KeyController();
        EXPECT_EQ(0x5D, keys.Address()) << row.kind;
        EXPECT_EQ(row.readyRegister, keys.Wiring().readyRegister) << row.kind;
        EXPECT_EQ(row.keyRegister, keys.Wiring().keyRegister) << row.kind;
        EXPECT_EQ(1, keys.Peek(row.readyRegister)) << row.kind;
        EXPECT_EQ(7, keys.Peek(row.keyRegister)) << row.kind;
        EXPECT_NE(0, devices->CaptureDevice(board)) << row.kind;
        EXPECT_NE(0, devices->CrossbarDevice(board)) << row.kind;
        EXPECT_EQ(row.tunerDevice, devices->TunerDevice(board) != 0) << row.kind;
        EXPECT_EQ(row.tvAudioAndEncoder, devices->TVAudioDevice(board) != 0) << row.kind;
        EXPECT_EQ(row.tvAudioAndEncoder, devices->EncoderDevice(board) != 0) << row.kind;
    }
}

TEST_F(UsbBoxBoardsTest, AnXceiveChipIsHeldInResetByItsKindsLineOnly) {
    for (const BoardRow& row : kRows) {
        Plug(std::string(R"({"kind": ")") + row.kind + R"(", "tuner": 91})");
        auto* chip = dynamic_cast<XceiveTuner*>(Board().Chip("tuner"));
        ASSERT_NE(nullptr, chip) << row.kind;
        Saa713x& lines = Board().Bridge();
        lines.DriveHostLines(1u << 18, 0);  // the SAA713x boards' line does nothing here
        EXPECT_FALSE(chip->InReset()) << row.kind;
        lines.DriveHostLines(row.xceiveReset, 0);
        EXPECT_TRUE(chip->InReset()) << row.kind;
        lines.DriveHostLines(row.xceiveReset, row.xceiveReset);
        EXPECT_FALSE(chip->InReset()) << row.kind;
    }
}

TEST_F(UsbBoxBoardsTest, FimbrelEncoderTakesItsSettingsOnItsOwnSetOnly) {
    Plug(R"({"kind": "Conexant Fimbrel Video Capture", "tuner": 5})");
    CComPtr<IKsPropertySet> settings;
    ASSERT_EQ(S_OK, platform::BindDevice(devices->EncoderDevice(Board()), IID_IKsPropertySet,
                                         reinterpret_cast<void**>(&settings)));
    BYTE bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(S_OK, settings->Set(kFimbrelEncoderSet, 5, bytes, 4, bytes, 4));
    EXPECT_NE(S_OK, settings->Set(kEncoderPropertySet, 5, bytes, 4, bytes, 4));
    BYTE back[4] = {};
    DWORD returned = 0;
    EXPECT_EQ(S_OK, settings->Get(kFimbrelEncoderSet, 5, back, 4, back, 4, &returned));
    EXPECT_EQ(3, back[2]);
}

}  // namespace
}  // namespace hwsim
