// Images as text and as files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DunmorraTestSupport.h"
#include "dunmorra/EppromWriter.h"
#include "platform/runtime.h"

namespace {

std::string InHome(const char* name) {
    return platform::HomeDir() + "/" + name;
}

void WriteRaw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(FormatData, A256ByteImageGivesSixteenLinesOf82Characters) {
    CEppromWriter writer;
    std::vector<unsigned char> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<unsigned char>(i);
    std::string text(writer.FormatData(bytes.data(), 256));
    std::istringstream in(text);
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        EXPECT_EQ(line.size(), 82u) << "line " << lines;
        ++lines;
    }
    EXPECT_EQ(lines, 16);
    EXPECT_EQ(text.substr(0, 83),
              "0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07, 0x08,0x09,0x0a,0x0b,0x0c,0x0d,0x0e,0x0f, \n");
    EXPECT_EQ(text.back(), '\n');
}

TEST(FormatData, ShortDataLosesItsLastComma) {
    CEppromWriter writer;
    unsigned char three[] = {1, 2, 3};
    EXPECT_EQ(std::string(writer.FormatData(three, 3)), "0x01,0x02,0x03\n");
    std::vector<unsigned char> twenty(20, 0xAB);
    EXPECT_EQ(std::string(writer.FormatData(twenty.data(), 20)),
              "0xab,0xab,0xab,0xab,0xab,0xab,0xab,0xab, 0xab,0xab,0xab,0xab,0xab,0xab,0xab,0xab, \n"
              "0xab,0xab,0xab,0xab\n");
    std::vector<unsigned char> ten(10, 0x01);
    EXPECT_EQ(std::string(writer.FormatData(ten.data(), 10)), "0x01,0x01,0x01,0x01,0x01,0x01,0x01,0x01, 0x01,0x01\n");
    EXPECT_EQ(std::string(writer.FormatData(nullptr, 5)), "");
    EXPECT_EQ(std::string(writer.FormatData(three, 0)), "");
}

TEST(ImageFiles, MadeFilesHoldTheRawImage) {
    CEppromWriter writer;
    std::string path = InHome("product6.bin");
    ASSERT_TRUE(writer.MakeEppromFile(PRODUCT_CALDRITH, PHILIPS1216, path.c_str()));
    EXPECT_EQ(std::filesystem::file_size(path), 256u);
    CMemData loaded, made;
    ASSERT_TRUE(CEppromWriter::LoadFromFile(path.c_str(), loaded));
    ASSERT_TRUE(writer.MakeEppromData(PRODUCT_CALDRITH, PHILIPS1216, made));
    EXPECT_TRUE(loaded.Equal(made));

    std::string kesh = InHome("kesh.bin");
    ASSERT_TRUE(writer.MakeEppromFile(PRODUCT_KESHAR, KeshTunerID(0x21), kesh.c_str(), PHILIPSTDA8275A));
    CVectorPairWord list;
    EXPECT_TRUE(CEppromWriter::CompareData(path.c_str(), kesh.c_str(), list));
    EXPECT_FALSE(list.empty());
    EXPECT_FALSE(writer.MakeEppromFile(EMProductType(37), PHILIPS1216, InHome("none.bin").c_str()));
    EXPECT_FALSE(std::filesystem::exists(InHome("none.bin")));
}

TEST(ImageFiles, SavedBytesLoadBackWithBackslashPaths) {
    CEppromWriter writer;
    unsigned char bytes[] = {0x00, 0x1A, 0xFF, 0x0D, 0x0A, 0x00};
    std::filesystem::create_directories(InHome("images"));
    std::string path = platform::HomeDir() + "\\images\\raw.bin";
    ASSERT_TRUE(writer.WriteEppromToFile(path.c_str(), bytes, sizeof(bytes)));
    unsigned char* loaded = nullptr;
    int length = 0;
    ASSERT_TRUE(CEppromWriter::LoadFromFile(InHome("images/raw.bin").c_str(), &loaded, length));
    ASSERT_EQ(length, 6);
    EXPECT_EQ(0, memcmp(loaded, bytes, 6));
    delete[] loaded;
    // A shorter write truncates the file.
    ASSERT_TRUE(writer.WriteEppromToFile(path.c_str(), bytes, 2));
    EXPECT_EQ(std::filesystem::file_size(InHome("images/raw.bin")), 2u);
}

TEST(ImageFiles, RefusedFilesLeaveTheBufferAlone) {
    WriteRaw(InHome("empty.bin"), "");
    std::filesystem::create_directories(InHome("folder"));
    WriteRaw(InHome("good.bin"), "abc");
    for (std::string path : {InHome("missing.bin"), InHome("empty.bin"), InHome("folder")}) {
        CMemData data;
        data.Create(2, 9);
        EXPECT_FALSE(CEppromWriter::LoadFromFile(path.c_str(), data)) << path;
        EXPECT_EQ(data.GetDataSize(), 2);
        unsigned char* bytes = nullptr;
        int length = -1;
        EXPECT_FALSE(CEppromWriter::LoadFromFile(path.c_str(), &bytes, length)) << path;
        EXPECT_EQ(bytes, nullptr);
    }
    CVectorPairWord list;
    EXPECT_FALSE(CEppromWriter::CompareData(InHome("good.bin").c_str(), InHome("missing.bin").c_str(), list));
    EXPECT_TRUE(CEppromWriter::CompareData(InHome("good.bin").c_str(), InHome("good.bin").c_str(), list));
    EXPECT_TRUE(list.empty());

    CEppromWriter writer;
    unsigned char byte = 1;
    EXPECT_FALSE(writer.WriteEppromToFile(InHome("folder").c_str(), &byte, 1));
    EXPECT_FALSE(writer.WriteEppromToFile(InHome("no/such/folder/x.bin").c_str(), &byte, 1));
    EXPECT_FALSE(writer.WriteEppromToFile(InHome("x.bin").c_str(), nullptr, 1));
    EXPECT_FALSE(writer.WriteEppromToFile(InHome("x.bin").c_str(), &byte, 0));
    CEppromData invalid;
    EXPECT_FALSE(writer.WriteEppromToFile(InHome("x.bin").c_str(), invalid));
    EXPECT_FALSE(std::filesystem::exists(InHome("x.bin")));
}

TEST(ImageFiles, AFailedReadIsAFailedLoad) {
    WriteRaw(InHome("good.bin"), std::string(256, 'x'));
    platform::InjectFailure("ReadFile");
    CMemData data;
    EXPECT_FALSE(CEppromWriter::LoadFromFile(InHome("good.bin").c_str(), data));
    EXPECT_FALSE(data.IsValid());
    platform::ClearFailures();
    EXPECT_TRUE(CEppromWriter::LoadFromFile(InHome("good.bin").c_str(), data));
}

TEST(ImageFiles, ReadingACardIntoAFile) {
    CEppromWriter writer;
    FakeEeprom card;
    CMemData image;
    ASSERT_TRUE(writer.MakeEppromData(PRODUCT_HOSKAR, FQ1216ME, image));
    card.Fill(image.GetData(), 256);
    std::string path = InHome("card.bin");
    ASSERT_TRUE(writer.ReadEeprom(&card, path.c_str()));
    CMemData loaded;
    ASSERT_TRUE(CEppromWriter::LoadFromFile(path.c_str(), loaded));
    EXPECT_TRUE(loaded.Equal(image));

    card.FailReadAt(200);
    EXPECT_FALSE(writer.ReadEeprom(&card, InHome("partial.bin").c_str()));
    EXPECT_FALSE(std::filesystem::exists(InHome("partial.bin")));
}
