// The background writer: its progress messages, its end values and its stops, on the test clock.
#include <gtest/gtest.h>

#include <vector>

#include "DunmorraTestSupport.h"
#include "dunmorra/EppromWriter.h"
#include "platform/runtime.h"

namespace {

class WriteThreads : public ::testing::Test {
protected:
    static std::vector<LPARAM> Values(const std::vector<ProgressWindow::Progress>& messages) {
        std::vector<LPARAM> values;
        for (const auto& m : messages) values.push_back(m.value);
        return values;
    }
    std::vector<unsigned char> Image() {
        CMemData data;
        EXPECT_TRUE(writer.MakeEppromData(PRODUCT_CALDRITH, PHILIPS1216, data));
        return std::vector<unsigned char>(data.GetData(), data.GetData() + data.GetDataSize());
    }

    FakeEeprom card;
    ProgressWindow window;
    CEppromWriter writer;  // last: its threads end before the card and the window go
};

}  // namespace

TEST_F(WriteThreads, WritesEveryByteAndPostsItsProgressThenFinished) {
    std::vector<unsigned char> image = Image();
    ULONGLONG start = platform::ClockNow();
    CWriteThread* thread = writer.WriteEeprom(&card, image.data(), 256, 0, window.Handle(), 2);
    ASSERT_NE(thread, nullptr);
    std::vector<ProgressWindow::Progress> messages = window.UntilEnd();
    ULONGLONG elapsed = platform::ClockNow() - start;

    std::vector<LPARAM> values = Values(messages);
    ASSERT_EQ(values.size(), 257u);
    EXPECT_EQ(std::vector<LPARAM>(values.begin(), values.begin() + 6), (std::vector<LPARAM>{0, 0, 1, 1, 1, 2}));
    EXPECT_EQ(values[254], 99);
    EXPECT_EQ(values[255], 100);
    EXPECT_EQ(values[256], EEPROM_WRITE_FINISHED);
    for (size_t i = 1; i < values.size(); ++i) EXPECT_LE(values[i - 1], values[i]);
    for (const auto& m : messages) EXPECT_EQ(m.thread, reinterpret_cast<WPARAM>(thread));
    EXPECT_GE(elapsed, 100u + 256u * 2u) << "100 ms before the first byte, 2 ms after each";

    EXPECT_EQ(card.Bytes(), image);
    CWriteOutcome outcome = thread->GetOutcome();
    EXPECT_TRUE(outcome.bEnded);
    EXPECT_TRUE(outcome.bVerified);
    EXPECT_FALSE(outcome.bStopped);
    EXPECT_EQ(outcome.iFailedBytes, 0);
    EXPECT_EQ(outcome.iMismatchedBytes, 0);
    EXPECT_TRUE(window.Queued().empty());
}

TEST_F(WriteThreads, OneByteFromAnAddressPostsHundredThenFinished) {
    unsigned char byte = 0x42;
    CWriteThread* thread = writer.WriteEeprom(&card, &byte, 1, 0x80, window.Handle(), 2);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(Values(window.UntilEnd()), (std::vector<LPARAM>{100, EEPROM_WRITE_FINISHED}));
    EXPECT_EQ(card.Writes(), std::vector<int>{0x80});
    EXPECT_EQ(card.Bytes()[0x80], 0x42);
}

TEST_F(WriteThreads, TheLastBytesOfTheEepromCanBeWritten) {
    std::vector<unsigned char> bytes(16, 0x33);
    ASSERT_NE(writer.WriteEeprom(&card, bytes.data(), 16, 240, window.Handle(), 1), nullptr);
    EXPECT_EQ(Values(window.UntilEnd()).back(), EEPROM_WRITE_FINISHED);
    std::vector<int> expected;
    for (int a = 240; a < 256; ++a) expected.push_back(a);
    EXPECT_EQ(card.Writes(), expected);
}

TEST_F(WriteThreads, AFailedByteEndsTheWriteAsFailed) {
    std::vector<unsigned char> image = Image();
    card.FailWriteAt(5);
    CWriteThread* thread = writer.WriteEeprom(&card, image.data(), 256, 0, window.Handle(), 2);
    std::vector<LPARAM> values = Values(window.UntilEnd());
    ASSERT_EQ(values.size(), 257u) << "the write goes on past the failed byte";
    EXPECT_EQ(values[255], 100);
    EXPECT_EQ(values.back(), EEPROM_WRITE_FAILED);
    CWriteOutcome outcome = thread->GetOutcome();
    EXPECT_TRUE(outcome.bEnded);
    EXPECT_FALSE(outcome.bVerified);
    EXPECT_EQ(outcome.iFailedBytes, 1);
    EXPECT_EQ(outcome.iMismatchedBytes, 1);
}

TEST_F(WriteThreads, AWriteProtectedEepromIsFoundByReadingBack) {
    std::vector<unsigned char> image = Image();
    card.SetWriteProtected(true);
    CWriteThread* thread = writer.WriteEeprom(&card, image.data(), 256, 0, window.Handle(), 2);
    EXPECT_EQ(Values(window.UntilEnd()).back(), EEPROM_WRITE_FAILED);
    int differing = 0;
    for (unsigned char b : image) differing += b != 0xFF;
    CWriteOutcome outcome = thread->GetOutcome();
    EXPECT_EQ(outcome.iFailedBytes, 0);
    EXPECT_EQ(outcome.iMismatchedBytes, differing);
    EXPECT_FALSE(outcome.bVerified);
    EXPECT_FALSE(outcome.bStopped);
}

TEST_F(WriteThreads, AStopInTheStartWaitPostsNothing) {
    std::vector<unsigned char> image = Image();
    CWriteThread* thread = writer.WriteEeprom(&card, image.data(), 256, 0, window.Handle(), 2);
    ASSERT_NE(thread, nullptr);
    thread->Stop();
    CWriteOutcome outcome = thread->GetOutcome();
    EXPECT_TRUE(outcome.bStopped);
    EXPECT_FALSE(outcome.bEnded);
    EXPECT_TRUE(writer.DeleteWriteThread(thread));
    EXPECT_TRUE(window.Queued().empty());
    EXPECT_TRUE(card.Writes().empty());
}

TEST_F(WriteThreads, AStopBetweenBytesEndsTheWriteAsFailed) {
    std::vector<unsigned char> image = Image();
    CWriteThread* thread = writer.WriteEeprom(&card, image.data(), 256, 0, window.Handle(), 2);
    for (int i = 0; i < 4; ++i) window.Next();
    thread->Stop();
    std::vector<LPARAM> rest = Values(window.Queued());
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), EEPROM_WRITE_FAILED);
    for (size_t i = 0; i + 1 < rest.size(); ++i) EXPECT_LT(rest[i], 100);
    CWriteOutcome outcome = thread->GetOutcome();
    EXPECT_TRUE(outcome.bEnded);
    EXPECT_TRUE(outcome.bStopped);
    EXPECT_FALSE(outcome.bVerified);
    EXPECT_LT(card.Writes().size(), 256u);
    EXPECT_TRUE(writer.DeleteWriteThread(thread));
    EXPECT_TRUE(window.Queued().empty());
}

TEST_F(WriteThreads, ADelayBelowOneMillisecondIsOne) {
    std::vector<unsigned char> bytes(16, 0x01);
    ULONGLONG start = platform::ClockNow();
    ASSERT_NE(writer.WriteEeprom(&card, bytes.data(), 16, 0, window.Handle(), 0), nullptr);
    EXPECT_EQ(Values(window.UntilEnd()).back(), EEPROM_WRITE_FINISHED);
    ULONGLONG elapsed = platform::ClockNow() - start;
    EXPECT_GE(elapsed, 100u + 16u);
    EXPECT_LT(elapsed, 100u + 32u);
}

TEST_F(WriteThreads, WithoutItsWindowTheWriteGoesOnSilently) {
    std::vector<unsigned char> image = Image();
    CWriteThread* thread = writer.WriteEeprom(&card, image.data(), 256, 0, window.Handle(), 2);
    window.Next();
    DestroyWindow(window.Handle());
    while (!thread->GetOutcome().bEnded) Sleep(50);
    EXPECT_TRUE(thread->GetOutcome().bVerified);
    EXPECT_EQ(card.Bytes(), image);
}
