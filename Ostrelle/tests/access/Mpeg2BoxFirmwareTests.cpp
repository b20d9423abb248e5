// The MPEG-2 box's firmware version rules and firmware download against the simulated box
// driver: loader versions below, above and at 2.0.52, a box that boots and one that never does,
// the download block, and the files that are refused.
#include <gtest/gtest.h>

#include <fstream>

#include "access/Mpeg2BoxFirmware.h"
#include "hwsim/drivers/BoxDriver.h"
#include "support/BoxBoard.h"

namespace {

class Mpeg2BoxFirmwareTest : public BoxBoardTest<BoxBoard::Family::Mpeg2Box> {
protected:
    hwsim::BoxDriver& Driver() { return board.DriverAs<hwsim::BoxDriver>(); }
    size_t VersionReads()
    {
        size_t reads = 0;
        for (const hwsim::WireRequest& request : board.Driver().Log().Requests()) {
            if (request.verb == hwsim::WireRequest::Verb::Get && request.id == 27) ++reads;
        }
        return reads;
    }
    std::string WriteImage(const std::string& name, size_t size)
    {
        const std::string path = platform::HomeDir() + "/" + name;
        std::ofstream out(path, std::ios::binary);
        for (size_t i = 0; i < size; ++i) out.put(static_cast<char>(i * 7 + 1));
        return path;
    }
};

TEST_F(Mpeg2BoxFirmwareTest, VersionRules)
{
    struct Row {
        const char* loader;
        const char* firmware;
        int bootReads;
        BOOL accepted;
        size_t reads;
    };
    const Row rows[] = {
        {"2.0.51", "2.4.21", 0, FALSE, 1},
        {"2.0.53", "0.0.1", 0, TRUE, 1},
        {"3.0.0", "2.4.21", 0, TRUE, 1},
        {"2.0.52", "2.4.21", 0, TRUE, 2},
        {"2.0.52", "2.4.20", 0, FALSE, 2},
        {"2.0.52", "2.4.21", 5, TRUE, 6},   // answers "0.0.1" to its first five reads
        {"2.0.52", "2.4.21", -1, FALSE, 81},  // never boots: 80 re-reads
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.loader) + " " + row.firmware + " boot " + std::to_string(row.bootReads));
        board.Clear();
        Driver().SetVersions(row.loader, row.firmware);
        Driver().SetBootReads(row.bootReads);
        const ULONGLONG start = platform::ClockNow();
        EXPECT_EQ(row.accepted, CMpeg2BoxFirmware::CheckFirmwareVersion(board.Filter()));
        EXPECT_EQ(row.reads, VersionReads());
        if (row.reads > 2) {
            EXPECT_GE(platform::ClockNow() - start, 50 * (row.reads - 2));
        }
    }
}

TEST_F(Mpeg2BoxFirmwareTest, VersionParseStartsFromZero)
{
    EXPECT_EQ(200052u, CMpeg2BoxFirmware::ParseVersion("2.0.52"));
    EXPECT_EQ(204021u, CMpeg2BoxFirmware::ParseVersion("2,4,21"));
    EXPECT_EQ(300000u, CMpeg2BoxFirmware::ParseVersion("3"));
    EXPECT_EQ(0u, CMpeg2BoxFirmware::ParseVersion(""));
    board.Driver().OverrideSupport(hwsim::kBoxPropertySet, 27, 0);
    EXPECT_FALSE(CMpeg2BoxFirmware::CheckFirmwareVersion(board.Filter()));
}

TEST_F(Mpeg2BoxFirmwareTest, DownloadSendsLengthHeaderAndImage)
{
    const std::string path = WriteImage("fw.bin", 1000);
    ASSERT_TRUE(CMpeg2BoxFirmware::DownloadFirmware(board.Filter(), path.c_str()));
    const std::vector<BYTE> block = Driver().FirmwareBlock();
    ASSERT_EQ(0x4000Cu, block.size());
    EXPECT_EQ((std::vector<BYTE>{0xE8, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), std::vector<BYTE>(block.begin(), block.begin() + 12));
    for (size_t i = 0; i < 1000; ++i) ASSERT_EQ(static_cast<BYTE>(i * 7 + 1), block[12 + i]) << i;
    EXPECT_TRUE(std::all_of(block.begin() + 1012, block.end(), [](BYTE b) { return b == 0; }));

    const std::string full = WriteImage("full.bin", 0x40000);
    EXPECT_TRUE(CMpeg2BoxFirmware::DownloadFirmware(board.Filter(), full.c_str()));
}

// A cut image is never sent: a file too long, empty or missing is refused with nothing sent.
TEST_F(Mpeg2BoxFirmwareTest, UnusableFilesAreRefusedUnsent)
{
    const std::string longer = WriteImage("long.bin", 0x40001);
    const std::string empty = WriteImage("empty.bin", 0);
    EXPECT_FALSE(CMpeg2BoxFirmware::DownloadFirmware(board.Filter(), longer.c_str()));
    EXPECT_FALSE(CMpeg2BoxFirmware::DownloadFirmware(board.Filter(), empty.c_str()));
    EXPECT_FALSE(CMpeg2BoxFirmware::DownloadFirmware(board.Filter(), (platform::HomeDir() + "/none.bin").c_str()));
    EXPECT_FALSE(CMpeg2BoxFirmware::DownloadFirmware(board.Filter(), nullptr));
    EXPECT_EQ(0u, board.Driver().Log().Size());
}

}  // namespace
