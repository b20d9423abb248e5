// The DVB-C card ("DVBC TS Capture") opened through the graph on its simulated board: its
// access kind and fallback tuner, its EEPROM of 128 bytes through the chip library, the remote
// keys on the library's thread, the port, the private interface and the band table.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "cards/devices/DVBCCardFilter.h"
#include "hwsim/boards/DvbcBoard.h"
#include "support/CardBench.h"
#include "support/TwoThreadRace.h"

namespace {

class DvbcCard : public CardBench {
protected:
    void SetUp() override {
        Load(R"({"cards": [{"kind": "DVBC TS Capture"}, {"kind": "DVBC TS Capture"}]})");
    }
    hwsim::DvbcDriver& Dvbc(size_t index = 0) { return static_cast<hwsim::DvbcDriver&>(Driver(Board(index))); }
    // The PC's library is the first board's.
    hwsim::Dm1105Library& Library() { return Dvbc(0).Library(); }
    CDVBCCardFilter* Open(int instance = 0) { return dynamic_cast<CDVBCCardFilter*>(OpenCard(Board(instance), instance)); }
};

TEST_F(DvbcCard, OpensWithItsAccessKindAndTheFallbackTunerAndNeedsItsControlInterface) {
    CDVBCCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(ACCESS_KIND_DVBC, card->GetAccessKind());
    EXPECT_NE(nullptr, card->GetAccess());
    EXPECT_EQ(4, card->GetTunerModel());
    EXPECT_EQ('T', card->GetFactoryLetter());
    ASSERT_NE(nullptr, card->GetTuner());

    Dvbc(1).SetAbsent("IDvbcControl", true);
    EXPECT_EQ(nullptr, Open(1));
}

TEST_F(DvbcCard, ImageWrittenOneBytePerCallReachesTheChipUpTo127AndPassesOverTheRest) {
    CDVBCCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    std::vector<BYTE> image(256);
    for (int i = 0; i < 256; ++i) image[i] = static_cast<BYTE>(i ^ 0x5A);
    for (int i = 0; i < 256; ++i) {
        int count = 1;
        ASSERT_EQ(S_OK, card->WriteEeprom(&image[i], static_cast<BYTE>(i), &count, 2)) << i;
        EXPECT_EQ(1, count);
    }
    const std::vector<BYTE> writes = Library().EepromWrites();
    ASSERT_EQ(128u, writes.size());
    for (int i = 0; i < 128; ++i) EXPECT_EQ(i, writes[i]);
    const std::vector<BYTE> chip = Board(0).Eeprom().Contents();
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 128, chip.begin()));
    // The bench state keeps the board's 128 bytes.
    EXPECT_EQ(128u, hwsim::EepromStateFile::Load(Board(0).StateFile(), 128)->size());
}

TEST_F(DvbcCard, WritesSkipBytesPast127AndRefuseBadRequestsWithoutSending) {
    CDVBCCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    std::vector<BYTE> bytes(100, 0x11);
    int count = 16;
    EXPECT_EQ(S_OK, card->WriteEeprom(bytes.data(), 120, &count, 0));
    EXPECT_EQ(16, count);
    EXPECT_EQ((std::vector<BYTE>{120, 121, 122, 123, 124, 125, 126, 127}), Library().EepromWrites());

    count = 100;  // 200 .. 299 would wrap past 255 onto the start
    EXPECT_EQ(E_INVALIDARG, card->WriteEeprom(bytes.data(), 200, &count, 0));
    count = 0;
    EXPECT_EQ(E_INVALIDARG, card->WriteEeprom(bytes.data(), 0, &count, 0));
    EXPECT_EQ(E_POINTER, card->WriteEeprom(nullptr, 0, &count, 0));
    EXPECT_EQ(E_POINTER, card->WriteEeprom(bytes.data(), 0, nullptr, 0));
    EXPECT_EQ(8u, Library().EepromWrites().size());

    // A byte the library does not write fails the call; the bytes after it are still written.
    Library().FailAddress(2, true);
    count = 4;
    EXPECT_EQ(E_FAIL, card->WriteEeprom(bytes.data(), 0, &count, 0));
    const std::vector<BYTE> writes = Library().EepromWrites();
    EXPECT_EQ((std::vector<BYTE>{0, 1, 3}), std::vector<BYTE>(writes.begin() + 8, writes.end()));
}

TEST_F(DvbcCard, ReadCountsTheBytesReadAndFailsUnlessEveryByteCameBack) {
    Board(0).Eeprom().Load({0x10, 0x20, 0x30, 0x40, 0x50});
    CDVBCCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    Library().FailAddress(1, true);
    BYTE buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    int count = 4;
    EXPECT_EQ(E_FAIL, card->ReadEeprom(buffer, 0, &count));
    EXPECT_EQ(3, count);
    EXPECT_EQ((std::vector<BYTE>{0x10, 0xEE, 0x30, 0x40}), std::vector<BYTE>(buffer, buffer + 4));

    // Not wholly within the 128 bytes: refused, nothing read, the buffer as it was.
    count = 4;
    EXPECT_EQ(E_INVALIDARG, card->ReadEeprom(buffer, 126, &count));
    EXPECT_EQ(0, count);
    count = 1;
    EXPECT_EQ(E_INVALIDARG, card->ReadEeprom(buffer, 200, &count));
    EXPECT_EQ(0, count);
    EXPECT_EQ(0x10, buffer[0]);
    count = 0;
    EXPECT_EQ(E_INVALIDARG, card->ReadEeprom(buffer, 0, &count));
    EXPECT_EQ(E_POINTER, card->ReadEeprom(nullptr, 0, &count));
    EXPECT_EQ(E_POINTER, card->ReadEeprom(buffer, 0, nullptr));
}

TEST_F(DvbcCard, OnlyTheFirstKeyAfterAStartIsPostedAndOneCardHoldsTheCallback) {
    CDVBCCardFilter* card = Open();
    CDVBCCardFilter* second = Open(1);
    ASSERT_NE(nullptr, card);
    ASSERT_NE(nullptr, second);
    KeyWindow window;
    card->SetNotifyWindow(window.Window(), 0, 0);
    EXPECT_EQ(1, card->StartRemoteKeys());
    EXPECT_EQ(1, second->StartRemoteKeys());
    EXPECT_EQ(1, Library().Registrations());

    Library().PressKey(0x21);
    Library().PressKey(0x22);
    EXPECT_EQ((std::vector<WPARAM>{0x21}), window.WaitForKeys(2, 500));
    EXPECT_EQ(2, Library().KeysDelivered());

    // A new start lets the next key through.
    EXPECT_EQ(1, card->StartRemoteKeys());
    Library().PressKey(0x23);
    EXPECT_EQ((std::vector<WPARAM>{0x23}), window.WaitForKeys(1, 500));

    // The card that does not hold the callback does not take it away from the one that does.
    second->StopRemoteKeys();
    EXPECT_TRUE(Library().IsRegistered());
    card->StopRemoteKeys();
    EXPECT_FALSE(Library().IsRegistered());

    // A library that hands a key over inside the registration reaches the card there.
    Library().DeliverInsideRegistration(true);
    Library().PressKey(0x24);
    EXPECT_EQ(1, card->StartRemoteKeys());
    EXPECT_EQ((std::vector<WPARAM>{0x24}), window.WaitForKeys(1, 500));
    card->StopRemoteKeys();

    Library().RefuseRegistration(true);
    EXPECT_EQ(0, second->StartRemoteKeys());
}

TEST_F(DvbcCard, ACardDestroyedWhileKeysArriveIsNeverCalledAfterwards) {
    KeyWindow window;
    for (int round = 0; round < 20; ++round) {
        CDVBCCardFilter* card = Open();
        ASSERT_NE(nullptr, card);
        card->SetNotifyWindow(window.Window(), 0, 0);
        ASSERT_EQ(1, card->StartRemoteKeys());
        for (int key = 0; key < 8; ++key) Library().PressKey(static_cast<BYTE>(key));
        Graph().RemoveFilter(card);
        EXPECT_FALSE(Library().IsRegistered());
    }
}

TEST_F(DvbcCard, PortPowerAndTheControlInterfaceByPosition) {
    CDVBCCardFilter* card = Open();
    ASSERT_NE(nullptr, card);
    card->SetPortPower(TRUE);
    card->SetPortPower(FALSE);
    EXPECT_EQ((std::vector<std::pair<DWORD, BYTE>>{{0x18, 0x90}, {0x18, 0x00}}), Library().PortWrites());

    Dvbc().ClearCalls();
    EXPECT_TRUE(card->StartStream());
    EXPECT_TRUE(card->StopStream());
    EXPECT_TRUE(card->Tune(474000, 6875));
    EXPECT_TRUE(card->ResetDemodulator());
    EXPECT_TRUE(card->SetModulation(64));
    EXPECT_TRUE(card->SetSpectrumInversion(1));
    EXPECT_TRUE(card->AddPid(0x100));
    EXPECT_TRUE(card->RemovePid(0x101));
    EXPECT_TRUE(card->SetStreamMode(3));
    EXPECT_TRUE(card->SetTunerPower(1));
    EXPECT_TRUE(card->WriteDemodRegister(7, 9));
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3 474000 6875", "5", "6 64", "7 1", "8 256", "9 257", "10 3",
                                        "12 1", "18 7 9"}),
              Dvbc().Calls());
    Dvbc().SetFailing("3", true);
    EXPECT_FALSE(card->Tune(474000, 6875));
}

TEST_F(DvbcCard, BandTableRangeAndCopies) {
    TestCard<CDVBCCardFilter> card;
    DWORD low = 0;
    DWORD high = 0;
    card.GetBandRange(&low, &high);
    EXPECT_EQ(100000u, low);
    EXPECT_EQ(900000u, high);

    const DvbcBand high_bands[] = {{950000, 960000, 0}, {920000, 990000, 1}};
    card.SetBandTable(high_bands, 2);
    card.GetBandRange(&low, &high);
    EXPECT_EQ(920000u, low);
    EXPECT_EQ(990000u, high);
    const DvbcBand low_bands[] = {{50000, 60000, 0}, {47000, 80000, 0}};
    card.SetBandTable(low_bands, 2);
    card.GetBandRange(&low, &high);
    EXPECT_EQ(47000u, low);
    EXPECT_EQ(80000u, high);

    card.SetBandTable(nullptr, 5);
    card.SetBandTable(high_bands, -1);
    EXPECT_EQ(2, card.GetBandCount());
    ASSERT_NE(nullptr, card.GetBandEntry(1));
    EXPECT_EQ(47000u, card.GetBandEntry(1)->dwStart);
    EXPECT_EQ(nullptr, card.GetBandEntry(2));
    EXPECT_EQ(nullptr, card.GetBandEntry(-1));
    // A count that leaves no room for the table's spare entries is refused; the table stays.
    card.SetBandTable(high_bands, std::numeric_limits<int>::max());
    EXPECT_EQ(2, card.GetBandCount());
    // A band whose start lies above its end: low and high are swapped.
    const DvbcBand reversed[] = {{960000, 950000, 0}};
    card.SetBandTable(reversed, 1);
    card.GetBandRange(&low, &high);
    EXPECT_EQ(950000u, low);
    EXPECT_EQ(960000u, high);
    card.SetBandTable(high_bands, 0);
    EXPECT_EQ(0, card.GetBandCount());
}

// A start of another card on a second thread, inside the holder's stop as it unregisters: whoever
// holds the callback afterwards has it registered with the library.
TEST_F(DvbcCard, AStartInsideAStopNeverLeavesTheHolderUnregistered) {
    CDVBCCardFilter* card = Open();
    CDVBCCardFilter* second = Open(1);
    ASSERT_NE(nullptr, card);
    ASSERT_NE(nullptr, second);
    ASSERT_EQ(1, card->StartRemoteKeys());
    TwoThreadRace race(Dvbc(0));
    Library().SetUnregisterHook([&] { race.Pause(); });
    EXPECT_TRUE(race.Run([&] { card->StopRemoteKeys(); }, [&] { second->StartRemoteKeys(); }));
    Library().SetUnregisterHook({});
    EXPECT_EQ(1, second->StartRemoteKeys());
    EXPECT_TRUE(Library().IsRegistered());
    second->StopRemoteKeys();
    EXPECT_FALSE(Library().IsRegistered());
}

}  // namespace
