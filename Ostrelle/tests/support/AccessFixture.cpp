#include "support/AccessFixture.h"

#include <cstring>

#include <strmif.h>

#include <map>
#include <regex>
#include <thread>

#include "hwsim/bench/BenchDevices.h"
#include "hwsim/chips/PllTuner.h"
#include "support/TwoThreadRace.h"

struct AccessFixture::Devices {
    explicit Devices(hwsim::Bench& bench) : devices(bench) {}
    hwsim::BenchDevices devices;
    // The capture filters bound so far, by device.
    std::map<platform::DeviceId, CComPtr<IUnknown>> filters;
};

AccessFixture::AccessFixture() = default;

AccessFixture::~AccessFixture() = default;

void AccessFixture::SetUp()
{
    m_bench = hwsim::Bench::FromText(kBench);
    m_devices = std::make_unique<Devices>(*m_bench);
}

hwsim::KsDriver& AccessFixture::KeshDriver() { return m_devices->devices.Driver(KeshCard()); }

hwsim::KsDriver& AccessFixture::PropertyDriver() { return m_devices->devices.Driver(PropertyCard()); }

IUnknown* AccessFixture::CaptureFilter(hwsim::Card& card)
{
    const platform::DeviceId device = m_devices->devices.CaptureDevice(card);
    CComPtr<IUnknown>& filter = m_devices->filters[device];
    if (!filter) {
        EXPECT_EQ(S_OK, platform::BindDevice(device, IID_IUnknown, reinterpret_cast<void**>(&filter)));
    }
    return filter;
}

void AccessFixture::ExpectWire(hwsim::KsDriver& driver, const std::vector<std::string>& expected)
{
    const std::vector<std::string> lines = Wire(driver);
    EXPECT_EQ(expected.size(), lines.size()) << driver.Log().Text();
    for (size_t i = 0; i < expected.size() && i < lines.size(); ++i) {
        std::string pattern;
        for (char c : expected[i]) {
            if (c == '*') {
                pattern += "[^ ]+";
            } else {
                if (std::strchr(".[]()+?^$|\\{}", c)) pattern += '\\';
                pattern += c;
            }
        }
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(pattern))) << "line " << i << ": " << lines[i]
                                                                      << "\nexpected: " << expected[i];
    }
}

void AccessFixture::ExpectRefusals(hwsim::KsDriver& driver, const std::vector<Refusal>& refusals)
{
    Clear(driver);
    for (const Refusal& refusal : refusals) EXPECT_EQ(refusal.expected, refusal.call()) << refusal.what;
    EXPECT_EQ(0u, driver.Log().Size());
    EXPECT_EQ("", driver.GetCard().Bus().LogText());
}

void AccessFixture::RaceInside(hwsim::KsDriver& driver, std::function<void()>& beforeStep, int at,
                               const std::function<void()>& first, const std::function<void()>& second)
{
    const std::thread::id firstThread = std::this_thread::get_id();
    int steps = 0;
    TwoThreadRace race(driver);
    beforeStep = [&] {
        if (std::this_thread::get_id() == firstThread && ++steps == at) race.Pause();
    };
    race.Run(first, second);
    beforeStep = nullptr;
}

void AccessFixture::ExpectEepromRoundTrip(CCustomDataAccess& access, hwsim::Card& card)
{
    std::vector<BYTE> expected(256);
    for (int offset = 0; offset < 256; ++offset) {
        expected[offset] = static_cast<BYTE>(offset * 7 + 3);
        ASSERT_EQ(S_OK, access.I2C_Write(0xA0, offset, expected[offset])) << offset;
    }
    EXPECT_EQ(expected, card.Eeprom().Contents());
    for (int offset = 0; offset < 256; ++offset) {
        BYTE value = 0;
        ASSERT_EQ(S_OK, access.I2C_Read(0xA0, offset, &value)) << offset;
        EXPECT_EQ(expected[offset], value) << offset;
    }
}

void AccessFixture::ExpectTunerLock(CCustomDataAccess& access, hwsim::Card& card, BYTE address)
{
    BYTE program[] = {0xC2, 0x05, 0x8A, 0x8E, 0x01};  // 49750 kHz, on air
    ASSERT_EQ(S_OK, access.I2C_WriteBlock(program, 5));
    BYTE status[1] = {address};
    ASSERT_EQ(S_OK, access.I2C_ReadBlock(status, 1));
    const auto* tuner = dynamic_cast<hwsim::PllTuner*>(card.Chip("tuner"));
    ASSERT_NE(nullptr, tuner);
    EXPECT_EQ(tuner->Status(), status[0]);
    EXPECT_TRUE(status[0] & hwsim::PllTuner::kLockBit);
}
