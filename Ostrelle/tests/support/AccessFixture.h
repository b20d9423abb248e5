// Tests of the access classes against the simulated cards: a bench with one card of each
// kind (a PLL module at 0xC2 on each), their drivers' capture filters, and the wire logs.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "access/CustomDataAccess.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/drivers/KsDriver.h"
#include "platform/runtime.h"
#include "support/TestBoard.h"

// An access object whose register steps (slots 21 and 22, which the GPIO and reset sequences
// call through the vtable) first call beforeStep on the calling thread.
template <class Access>
class SteppedAccess : public Access {
public:
    HRESULT ReadRegister32(DWORD addr, DWORD* pValue) override
    {
        if (beforeStep) beforeStep();
        return Access::ReadRegister32(addr, pValue);
    }
    HRESULT WriteRegister32(DWORD addr, DWORD value) override
    {
        if (beforeStep) beforeStep();
        return Access::WriteRegister32(addr, value);
    }

    std::function<void()> beforeStep;
};

// One slot call of a table: what it answers and the wire lines it sends.
template <class Access>
struct SlotRow {
    const char* slot;
    std::function<HRESULT(Access&)> call;
    HRESULT expected;
    std::vector<std::string> wire;
};

// A call that is refused before anything is sent.
struct Refusal {
    const char* what;
    HRESULT expected;
    std::function<HRESULT()> call;
};

class AccessFixture : public testing::Test {
protected:
    // One card of each kind, a PLL module of model 32 (at 0xC2) on each; a station at 49750 kHz.
    static constexpr const char* kBench = R"({"cards": [
        {"kind": "713x BDA Analog Capture", "tuner": 32},
        {"kind": "713x_4 TV Card Capture", "tuner": 32}],
      "stations": [{"kHz": 49750}]})";

    AccessFixture();
    // The bench goes last, after the access objects of the tests, which hold its filters.
    ~AccessFixture() override;
    void SetUp() override;

    hwsim::Card& KeshCard() { return *m_bench->Cards()[0]; }
    hwsim::Card& PropertyCard() { return *m_bench->Cards()[1]; }
    hwsim::KsDriver& KeshDriver();
    hwsim::KsDriver& PropertyDriver();
    // The card's capture filter, as the card filter finds it.
    IUnknown* CaptureFilter(hwsim::Card& card);

    // The driver's wire log as lines, and the card's bus log as text; both cleared by Clear.
    static std::vector<std::string> Wire(hwsim::KsDriver& driver) { return driver.Log().Lines(); }
    static void Clear(hwsim::KsDriver& driver) {
        driver.Log().Clear();
        driver.GetCard().Bus().ClearLog();
    }
    // The wire log is `expected`, line by line; a "*" in an expected line stands for one word
    // (a value the test does not fix, such as the GPIO levels the on-board controller drives).
    static void ExpectWire(hwsim::KsDriver& driver, const std::vector<std::string>& expected);

    // Runs the rows in order: each answers its result, sends its wire lines and traces nothing.
    template <class Access>
    static void ExpectSlots(Access& access, hwsim::KsDriver& driver, const std::vector<SlotRow<Access>>& rows)
    {
        for (const SlotRow<Access>& row : rows) {
            SCOPED_TRACE(row.slot);
            Clear(driver);
            platform::ClearTrace();
            EXPECT_EQ(row.expected, row.call(access));
            ExpectWire(driver, row.wire);
            EXPECT_EQ("", platform::TraceText());
        }
    }
    // Each call answers its refusal, and the driver and the card's bus see nothing.
    static void ExpectRefusals(hwsim::KsDriver& driver, const std::vector<Refusal>& refusals);

    // All 256 EEPROM bytes written through I2C_Write and read back through I2C_Read; the chip
    // holds them.
    static void ExpectEepromRoundTrip(CCustomDataAccess& access, hwsim::Card& card);
    // The PLL tuner at 0xC2 programmed to 49750 kHz by a block write; its status, with the
    // lock bit, back through a one-byte block read of `address` (as the caller writes it).
    static void ExpectTunerLock(CCustomDataAccess& access, hwsim::Card& card, BYTE address = 0xC2);

    // Runs `first` on this thread. Before its register step number `at` (from 1) starts, starts
    // `second` on another thread and gives it up to 200 ms to reach the driver; then `first`
    // goes on. Joins the other thread before it returns. `beforeStep` is the hook of a
    // SteppedAccess that both run on.
    static void RaceInside(hwsim::KsDriver& driver, std::function<void()>& beforeStep, int at,
                           const std::function<void()>& first, const std::function<void()>& second);

private:
    std::unique_ptr<hwsim::Bench> m_bench;
    struct Devices;
    std::unique_ptr<Devices> m_devices;
};

// Tests of one access class on one board of the test's own (hwsim::TestBoard), instead of the
// bench: Bind fits the board's driver and binds the access object to the filter it is
// published on (the tuner filter when onTuner is true), with pContext the owner.
template <class Access>
class BoardAccessFixture : public AccessFixture {
protected:
    void SetUp() override {}

    template <class Driver, class... Args>
    void Bind(bool onTuner, void* pContext, Args&&... args)
    {
        board.Fit<Driver>(onTuner, std::forward<Args>(args)...);
        ASSERT_EQ(S_OK, access.Init(board.Filter(), pContext));
        Clear(board.Driver());
    }
    hwsim::KsDriver& Driver() { return board.Driver(); }
    hwsim::Card& Card() { return board.GetCard(); }

    hwsim::TestBoard board;
    Access access;
};
