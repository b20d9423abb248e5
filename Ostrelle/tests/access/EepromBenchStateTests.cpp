// What the station writes into a card's EEPROM is kept in the bench state: another process
// that plugs the same bench reads it back through the access classes.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/AccessFixture.h"
#include "access/Kesh713xAccess.h"
#include "access/KsPropertyAccess.h"

namespace {

std::string Line(const char* card, BYTE (*byteAt)(int offset))
{
    std::string line = card;
    char hex[4];
    for (int offset = 0; offset < 256; ++offset) {
        std::snprintf(hex, sizeof(hex), " %02X", byteAt(offset));
        line += hex;
    }
    return line;
}

std::string Output(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char chunk[1024];
    size_t count;
    while ((count = fread(chunk, 1, sizeof(chunk), pipe)) > 0) output.append(chunk, count);
    EXPECT_EQ(0, pclose(pipe)) << output;
    return output;
}

using EepromBenchState = AccessFixture;

TEST_F(EepromBenchState, CardsEepromWrittenInOneProcessIsReadBackByTheNext)
{
    CKesh713xAccess kesh;
    CKsPropertyAccess qel;
    ASSERT_EQ(S_OK, kesh.Init(CaptureFilter(KeshCard()), nullptr));
    ASSERT_EQ(S_OK, qel.Init(CaptureFilter(PropertyCard()), nullptr));
    auto keshByte = [](int offset) { return static_cast<BYTE>(offset ^ 0x3C); };
    auto qelByte = [](int offset) { return static_cast<BYTE>(255 - offset); };
    for (int offset = 0; offset < 256; ++offset) {
        ASSERT_EQ(S_OK, kesh.I2C_Write(0xA0, offset, keshByte(offset)));
        ASSERT_EQ(S_OK, qel.I2C_Write(0xA0, offset, qelByte(offset)));
    }

    const std::string benchFile = (std::filesystem::path(platform::StateDir()) / "bench.json").string();
    std::ofstream(benchFile) << kBench;
    setenv("PELVATRO_BENCH", benchFile.c_str(), 1);
    const std::string output = Output(EEPROM_READER);
    unsetenv("PELVATRO_BENCH");
    EXPECT_EQ(Line("713x BDA Analog Capture#0:", keshByte) + "\n" + Line("713x_4 TV Card Capture#0:", qelByte) + "\n",
              output);
}

}  // namespace
