// The card's EEPROM byte access: the whole chip through each real access class and driver, the
// byte range, bytes that fail, the delay after every byte, and the raw block write.
#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <set>

#include "support/CardBench.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/QelCardFilter.h"

namespace {

using FlakyCard = FakeBoardCard<>;

std::vector<BYTE> Pattern(BYTE seed) {
    std::vector<BYTE> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<BYTE>(seed + i * 7);
    return bytes;
}

using EepromBench = CardBench;

TEST_F(EepromBench, WritesAndReadsBackAll256BytesThroughEachAccessClass) {
    struct Case {
        hwsim::Card* board;
        std::unique_ptr<CTVCardFilter> card;
    };
    Case cases[] = {{&KeshBoard(), MakeCard<CKesh713xCardFilter>(KeshBoard(), ACCESS_KIND_KESH713X)},
                    {&QelBoard(), MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL)}};
    BYTE seed = 0x11;
    for (Case& c : cases) {
        std::vector<BYTE> image = Pattern(seed++);
        int count = 256;
        EXPECT_EQ(S_OK, c.card->WriteEeprom(image.data(), 0, &count, 2)) << c.board->FriendlyName();
        EXPECT_EQ(256, count);
        EXPECT_EQ(image, c.board->Eeprom().Contents()) << c.board->FriendlyName();

        std::vector<BYTE> back(256, 0);
        count = 256;
        EXPECT_EQ(S_OK, c.card->ReadEeprom(back.data(), 0, &count)) << c.board->FriendlyName();
        EXPECT_EQ(256, count);
        EXPECT_EQ(image, back);
    }
}

TEST_F(EepromBench, RefusesARangeOutsideTheChipWholeWithoutTouchingTheBus) {
    auto card = MakeCard<CQelCardFilter>(QelBoard(), ACCESS_KIND_QEL);
    for (int i = 0; i < 256; ++i) QelBoard().Eeprom().Poke(i, static_cast<BYTE>(i));
    BYTE buffer[8] = {};

    int count = 6;
    EXPECT_EQ(S_OK, card->ReadEeprom(buffer, 250, &count));
    EXPECT_EQ(6, count);
    EXPECT_EQ(250, buffer[0]);
    EXPECT_EQ(255, buffer[5]);

    QelBoard().Bus().ClearLog();
    // INT_MAX: address + count would overflow and let the loop run past the buffer.
    for (int bad : {7, 0, -1, INT_MAX}) {
        count = bad;
        EXPECT_EQ(E_INVALIDARG, card->ReadEeprom(buffer, 250, &count)) << bad;
        EXPECT_EQ(bad, count);
        EXPECT_EQ(E_INVALIDARG, card->WriteEeprom(buffer, 250, &count, 0)) << bad;
    }
    count = 256;
    EXPECT_EQ(E_INVALIDARG, card->WriteEeprom(buffer, 1, &count, 0));
    EXPECT_EQ("", QelBoard().Bus().LogText());
}

TEST(CardEeprom, ReadReportsAFailureUnlessEveryByteWasReadAndKeepsTheFailedPositions) {
    FlakyCard flaky;
    for (int i = 0; i < 256; ++i) flaky.access->bytes[i] = static_cast<BYTE>(0x40 + i);
    flaky.access->failing = {11, 13};
    flaky.access->failure = S_FALSE;  // a success code that is not S_OK is a failed byte too
    BYTE buffer[5] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    int count = 5;
    const HRESULT hr = flaky.card.ReadEeprom(buffer, 10, &count);
    EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
    EXPECT_EQ(3, count);
    EXPECT_EQ((std::vector<int>{10, 11, 12, 13, 14}), flaky.access->reads);  // the loop goes on
    EXPECT_EQ(0x4A, buffer[0]);
    EXPECT_EQ(0xEE, buffer[1]);
    EXPECT_EQ(0x4C, buffer[2]);
    EXPECT_EQ(0xEE, buffer[3]);
    EXPECT_EQ(0x4E, buffer[4]);

    flaky.access->failing.clear();
    count = 5;
    EXPECT_EQ(S_OK, flaky.card.ReadEeprom(buffer, 10, &count));
    EXPECT_EQ(5, count);
}

TEST(CardEeprom, WriteGoesOnAfterAFailedByteSleepsAfterEachAndReportsTheFirstFailure) {
    FlakyCard flaky;
    flaky.access->failing = {0x20};
    flaky.access->failure = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    BYTE image[4] = {1, 2, 3, 4};
    int count = 4;
    const ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_TIMEOUT), flaky.card.WriteEeprom(image, 0x20, &count, 10));
    EXPECT_EQ(4, count);
    EXPECT_EQ((std::vector<int>{0x20, 0x21, 0x22, 0x23}), flaky.access->writes);
    EXPECT_EQ(4, flaky.access->bytes[0x23]);
    // Each byte follows the previous byte's delay, the failed one's included.
    for (size_t i = 1; i < flaky.access->writtenAt.size(); ++i) {
        EXPECT_GE(flaky.access->writtenAt[i] - flaky.access->writtenAt[i - 1], 10u) << i;
    }
    EXPECT_GE(platform::ClockNow() - start, 40u);

    // A last byte that fails is reported as well; a success code that is not S_OK is a failure.
    flaky.access->failing = {0x23};
    flaky.access->failure = S_FALSE;
    count = 4;
    EXPECT_TRUE(FAILED(flaky.card.WriteEeprom(image, 0x20, &count, 0)));
}

TEST(CardEeprom, NullBuffersCountsAndAccessAreRefusedWithEPointer) {
    FlakyCard flaky;
    BYTE buffer[4] = {};
    int count = 4;
    EXPECT_EQ(E_POINTER, flaky.card.ReadEeprom(nullptr, 0, &count));
    EXPECT_EQ(E_POINTER, flaky.card.ReadEeprom(buffer, 0, nullptr));
    EXPECT_EQ(E_POINTER, flaky.card.WriteEeprom(nullptr, 0, &count, 0));
    EXPECT_EQ(E_POINTER, flaky.card.WriteEeprom(buffer, 0, nullptr, 0));
    EXPECT_TRUE(flaky.access->reads.empty());
    EXPECT_TRUE(flaky.access->writes.empty());

    TestCard<CTVCardFilter> bare;  // no access object
    EXPECT_EQ(E_POINTER, bare.ReadEeprom(buffer, 0, &count));
    EXPECT_EQ(E_POINTER, bare.WriteEeprom(buffer, 0, &count, 0));
    EXPECT_EQ(E_POINTER, bare.I2CWrite(buffer, 4));
    EXPECT_EQ(0, bare.ReadEepromByte7());
    EXPECT_FALSE(bare.ProbeI2CAddress(0xC0));
}

TEST(CardEeprom, RawBlockWriteTakesTwoTo256Bytes) {
    FlakyCard flaky;
    std::vector<BYTE> block(257, 0x5A);
    block[0] = 0xC2;
    EXPECT_EQ(E_INVALIDARG, flaky.card.I2CWrite(nullptr, 4));
    EXPECT_EQ(E_FAIL, flaky.card.I2CWrite(block.data(), 1));
    EXPECT_EQ(E_FAIL, flaky.card.I2CWrite(block.data(), 257));
    EXPECT_TRUE(flaky.access->blocks.empty());
    EXPECT_EQ(S_OK, flaky.card.I2CWrite(block.data(), 256));
    ASSERT_EQ(1u, flaky.access->blocks.size());
    EXPECT_EQ(256u, flaky.access->blocks[0].size());
    EXPECT_EQ(0xC2, flaky.access->blocks[0][0]);
}

TEST(CardEeprom, Byte7IsReadFromTheEeprom) {
    FlakyCard flaky;
    flaky.access->bytes[7] = 0x84;
    EXPECT_EQ(0x84, flaky.card.ReadEepromByte7());
    flaky.access->failing = {7};
    EXPECT_EQ(0, flaky.card.ReadEepromByte7());
}

}  // namespace
