// The writer's write requests and the threads it owns.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "DunmorraTestSupport.h"
#include "dunmorra/EppromWriter.h"
#include "platform/runtime.h"

namespace {

class WriterThreads : public ::testing::Test {
protected:
    FakeEeprom card;
    FakeEeprom other;
    ProgressWindow window;
    CEppromWriter writer;
};

}  // namespace

TEST_F(WriterThreads, RefusedRequestsCreateNoThread) {
    int threads = platform::LiveThreadCount();
    std::vector<unsigned char> bytes(256, 0x5A);
    HWND w = window.Handle();
    EXPECT_EQ(writer.WriteEeprom(nullptr, bytes.data(), 256, 0, w, 2), nullptr);
    EXPECT_EQ(writer.WriteEeprom(&card, nullptr, 256, 0, w, 2), nullptr);
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), 256, 0, nullptr, 2), nullptr);
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), 0, 0, w, 2), nullptr);
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), -1, 0, w, 2), nullptr);
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), 1, -1, w, 2), nullptr);
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), 2, 255, w, 2), nullptr) << "address 256 would wrap to 0";
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), 257, 0, w, 2), nullptr);
    CEppromData empty;
    EXPECT_EQ(writer.WriteEeprom(&card, empty, w, 2), nullptr);
    EXPECT_EQ(writer.WriteEeprom(&card, (platform::HomeDir() + "/missing.bin").c_str(), w, 2), nullptr);
    platform::InjectFailure("CreateThread");
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), 256, 0, w, 2), nullptr) << "no thread could be made";
    EXPECT_EQ(platform::LiveThreadCount(), threads);
    platform::InjectFailure("ResumeThread");
    EXPECT_EQ(writer.WriteEeprom(&card, bytes.data(), 256, 0, w, 2), nullptr) << "a thread that never runs";
    EXPECT_EQ(platform::LiveThreadCount(), threads);
    EXPECT_TRUE(card.Writes().empty());
    EXPECT_EQ(writer.DeleteWriteThread(&card), 0) << "nothing was listed";
}

TEST_F(WriterThreads, DeletingByInterfaceRemovesOnlyItsThreads) {
    std::vector<unsigned char> bytes(256, 0x5A);
    CWriteThread* first = writer.WriteEeprom(&card, bytes.data(), 256, 0, window.Handle(), 2);
    CWriteThread* middle = writer.WriteEeprom(&other, bytes.data(), 256, 0, window.Handle(), 2);
    CWriteThread* last = writer.WriteEeprom(&card, bytes.data(), 256, 0, window.Handle(), 2);
    ASSERT_TRUE(first && middle && last);
    EXPECT_EQ(middle->GetRWInterface(), &other);
    EXPECT_EQ(writer.DeleteWriteThread(&card), 2);
    EXPECT_EQ(writer.DeleteWriteThread(&card), 0);
    EXPECT_FALSE(writer.DeleteWriteThread(first)) << "no longer listed";
    EXPECT_TRUE(writer.DeleteWriteThread(middle));
    EXPECT_FALSE(writer.DeleteWriteThread(middle));
}

TEST_F(WriterThreads, ImagesBuffersFilesAndErasesAreWrittenFromAddressZero) {
    CEppromData image;
    ASSERT_TRUE(writer.MakeEppromData(PRODUCT_KESHAR, KeshTunerID(0x21), image, PHILIPSTDA8275A));
    ASSERT_NE(writer.WriteEeprom(&card, image, window.Handle(), 2), nullptr);
    EXPECT_EQ(window.UntilEnd().back().value, EEPROM_WRITE_FINISHED);
    EXPECT_TRUE(writer.CheckEppromData(&card, nullptr, PHILIPSTDA8275A));

    ASSERT_NE(writer.WriteEeprom(&card, static_cast<unsigned char>(0x00), window.Handle(), 1), nullptr);
    EXPECT_EQ(window.UntilEnd().back().value, EEPROM_WRITE_FINISHED);
    EXPECT_EQ(card.Bytes(), std::vector<unsigned char>(256, 0x00));

    std::string path = platform::HomeDir() + "/image.bin";
    ASSERT_TRUE(writer.MakeEppromFile(PRODUCT_FENNOR, FQ1216ME, path.c_str()));
    ASSERT_NE(writer.WriteEeprom(&card, path.c_str(), window.Handle(), 1), nullptr);
    EXPECT_EQ(window.UntilEnd().back().value, EEPROM_WRITE_FINISHED);
    CMemData data;
    ASSERT_TRUE(writer.MakeEppromData(PRODUCT_FENNOR, FQ1216ME, data));
    EXPECT_EQ(card.Bytes(), std::vector<unsigned char>(data.GetData(), data.GetData() + 256));

    ASSERT_NE(writer.WriteEeprom(&other, data, window.Handle(), 1), nullptr);
    EXPECT_EQ(window.UntilEnd().back().value, EEPROM_WRITE_FINISHED);
    EXPECT_EQ(other.Bytes(), card.Bytes());
}

TEST_F(WriterThreads, TheWriterEndsItsThreadsWhenItGoes) {
    int threads = platform::LiveThreadCount();
    std::vector<unsigned char> bytes(256, 0x5A);
    {
        CEppromWriter local;
        ASSERT_NE(local.WriteEeprom(&card, bytes.data(), 256, 0, window.Handle(), 2), nullptr);
        ASSERT_NE(local.WriteEeprom(&other, bytes.data(), 256, 0, window.Handle(), 2), nullptr);
        window.Next();
        EXPECT_GT(platform::LiveThreadCount(), threads);
    }
    EXPECT_EQ(platform::LiveThreadCount(), threads);
    writer.DeleteAllWriteThread();
}

// The writer owns its threads and an image owns its bytes and map: none of them is copied, so
// nothing is deleted or stopped twice.
static_assert(!std::is_copy_constructible_v<CEppromWriter> && !std::is_copy_assignable_v<CEppromWriter>);
static_assert(!std::is_copy_constructible_v<CWriteThread> && !std::is_copy_assignable_v<CWriteThread>);
static_assert(!std::is_copy_constructible_v<CEppromData> && !std::is_copy_assignable_v<CEppromData>);
