// Test boards of the encoder boxes and the Fimbrel card: a hwsim::Card of a kind of the
// tests' own with the family's chips, the family's simulated driver, and the capture filter
// that serves it, as the card filter would find it. A station is on air at 55250 kHz.
//
// Box boards: the EEPROM at 0xA2, the video decoder (a register file at 0x21 with its status
// register 31), the PLL tuner at 0xC0, the remote-key controller (a register file at 0xBA),
// a register file at device 0x43, and on the Wolbry box a register file at 0xC2.
// Fimbrel boards: the EEPROM at 0xA0, the PLL tuner at 0xC0, a register file at 0xBA.
#pragma once

#include <strmif.h>

#include <memory>
#include <string>

#include "hwsim/boards/Card.h"
#include "hwsim/bench/RfEnvironment.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/drivers/KsDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"

class BoxBoard {
public:
    enum class Family { Mpeg2Box, WolbryBox, Fimbrel };

    explicit BoxBoard(Family family);
    ~BoxBoard();
    BoxBoard(const BoxBoard&) = delete;
    BoxBoard& operator=(const BoxBoard&) = delete;

    hwsim::Card& Card() { return *m_card; }
    hwsim::KsDriver& Driver() { return *m_driver; }
    template <class Driver>
    Driver& DriverAs() { return static_cast<Driver&>(*m_driver); }
    // The capture filter (one reference held by the board).
    IUnknown* Filter() { return m_filter; }
    hwsim::PllTuner& Tuner();
    // A register-file chip by role: "decoder", "remote", "device43", "wolbry".
    hwsim::RegisterFileDevice& Chip(const std::string& role);

    // Clears the driver's wire log and the bus log.
    void Clear();

private:
    hwsim::RfEnvironment m_rf;
    std::unique_ptr<hwsim::Card> m_card;
    std::shared_ptr<hwsim::KsDriver> m_driver;
    CComPtr<IUnknown> m_filter;
};

// Tests on one board of `family`, with the slot and refusal tables of AccessFixture (whose
// bench is not loaded). Access objects declared by the test classes go before the board.
template <BoxBoard::Family family>
class BoxBoardTest : public AccessFixture {
protected:
    void SetUp() override
    {
        board.Clear();
        platform::ClearTrace();
    }
    void TearDown() override { platform::ClearFailures(); }

    BoxBoard board{family};
};
