#include "support/VendorWire.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "hwsim/drivers/VendorCommandDriver.h"
#include "platform/TestThread.h"

std::vector<std::string> VendorCommands(hwsim::KsDriver& driver)
{
    using hwsim::VendorCommandDriver;
    const std::vector<hwsim::WireRequest> requests = driver.Log().Requests();
    std::vector<std::string> commands;
    for (size_t i = 0; i < requests.size(); ++i) {
        const hwsim::WireRequest& request = requests[i];
        if (request.verb != hwsim::WireRequest::Verb::Set) continue;
        DWORD count = 0;
        std::memcpy(&count, request.data.data() + VendorCommandDriver::kCountAt, sizeof(count));
        count = std::min<DWORD>(count, VendorCommandDriver::kCountAt - VendorCommandDriver::kCommandAt);
        commands.push_back(hwsim::HexBytes(request.data.data() + VendorCommandDriver::kCommandAt, count));
        // A Get the caller's side refused never reaches the driver: the log may end there.
        if (FAILED(request.result) || i + 1 == requests.size()) continue;
        EXPECT_EQ(hwsim::WireRequest::Verb::Get, requests[i + 1].verb) << "no Get after " << request.Text();
    }
    return commands;
}

void ExpectTwoThreadsReadTheirOwnAnswers(CCustomDataAccess& access, hwsim::KsDriver& driver)
{
    hwsim::Eeprom24C02& eeprom = driver.GetCard().Eeprom();
    for (int offset = 0x80; offset < 0x100; ++offset) eeprom.Poke(offset, static_cast<BYTE>(offset ^ 0x5A));
    driver.Log().Clear();
    auto readHalf = [&](int first) {
        for (int offset = first; offset < first + 0x40; ++offset) {
            BYTE value = 0;
            EXPECT_EQ(S_OK, access.I2C_Read(0xA0, offset, &value)) << offset;
            EXPECT_EQ(offset ^ 0x5A, value) << offset;
        }
    };
    platform::test::TestThread other([&] { readHalf(0x80); });
    readHalf(0xC0);
    other.Join();
    EXPECT_EQ(0x80u, VendorCommands(driver).size());
}
