// Finding the station's cards among the video input devices, and the card objects made for them.
#include <gtest/gtest.h>

#include <uuids.h>

#include "CardMan.h"
#include "CardRWInterface.h"
#include "MultiCardMan.h"
#include "platform/devicetree.h"
#include "platform/runtime.h"

namespace {

// A video input device whose driver filter cannot be made: it is listed, but no card opens on it.
platform::DeviceId PlugNamedDevice(const wchar_t* name) {
    return platform::AddDevice(
        {CLSID_VideoInputDeviceCategory, name, [](REFIID, void** ppv) {
             *ppv = nullptr;
             return E_FAIL;
         }});
}

struct CardEnumerationTest : testing::Test {
    CardEnumerationTest() { CoInitialize(nullptr); }
    ~CardEnumerationTest() override {
        platform::RemoveAllDevices();
        CoUninitialize();
    }
};

std::vector<std::string> Rows(const CCardNameContainer& rows) {
    std::vector<std::string> text;
    for (int i = 0; i < rows.GetCount(); ++i) {
        CString row;
        row.Format("%s|%s|%d", rows.GetAt(i).m_strCapture, rows.GetAt(i).m_strCrossbar, rows.GetAt(i).m_nIndex);
        text.push_back(row.str());
    }
    return text;
}

TEST_F(CardEnumerationTest, CardsOfOneKindAreNumberedInDeviceOrder) {
    PlugNamedDevice(L"713x_4 TV Card Capture");
    PlugNamedDevice(L"USB Camera");
    PlugNamedDevice(L"713x BDA Analog Capture");
    PlugNamedDevice(L"713x_4 TV Card Capture");
    CMultiCardMan cards;
    ASSERT_TRUE(cards.Init());
    EXPECT_EQ(Rows(cards.GetFoundCards()),
              (std::vector<std::string>{"713x_4 TV Card Capture|713x_4 TV Card Crossbar|0",
                                        "713x BDA Analog Capture|713x BDA Analog Xbar|0",
                                        "713x_4 TV Card Capture|713x_4 TV Card Crossbar|1"}));
    ASSERT_EQ(cards.GetCardCount(), 3);
    EXPECT_EQ(cards.GetCard(2)->GetRow().m_nIndex, 1);
    EXPECT_EQ(cards.GetCard(-1), nullptr);
    EXPECT_EQ(cards.GetCard(3), nullptr);
    EXPECT_EQ(cards.GetFoundCards().Dump(),
              "Card = 713x_4 TV Card Capture, Bar = 713x_4 TV Card Crossbar, Index = 0\n"
              "Card = 713x BDA Analog Capture, Bar = 713x BDA Analog Xbar, Index = 0\n"
              "Card = 713x_4 TV Card Capture, Bar = 713x_4 TV Card Crossbar, Index = 1\n");
}

TEST_F(CardEnumerationTest, NamesMatchOnTheLengthOfTheLongestKnownName) {
    PlugNamedDevice(L"713x BDA Analog Capture #2");  // longer: still the Kesh card
    PlugNamedDevice(L"713x_4 TV Card Capture 2");    // its 23rd character is the blank
    PlugNamedDevice(L"713x BDA Analog Captur");      // shorter
    PlugNamedDevice(L"713x bda analog capture");     // case differs
    CMultiCardMan cards;
    ASSERT_TRUE(cards.Init());
    EXPECT_EQ(Rows(cards.GetFoundCards()), (std::vector<std::string>{"713x BDA Analog Capture|713x BDA Analog Xbar|0"}));
}

TEST_F(CardEnumerationTest, NoSupportedCardOrAFailedEnumerationFindsNothing) {
    CMultiCardMan cards;
    EXPECT_FALSE(cards.Init());
    EXPECT_EQ(cards.GetCardCount(), 0);

    PlugNamedDevice(L"713x BDA Analog Capture");
    platform::InjectFailure("ICreateDevEnum::CreateClassEnumerator");
    EXPECT_FALSE(cards.Init());
    EXPECT_EQ(cards.GetFoundCards().GetCount(), 0);
    EXPECT_TRUE(cards.Init()) << "the next enumeration finds the card";
}

TEST_F(CardEnumerationTest, ASecondInitReplacesTheCardsOfTheFirst) {
    platform::DeviceId first = PlugNamedDevice(L"713x BDA Analog Capture");
    PlugNamedDevice(L"713x BDA Analog Capture");
    CMultiCardMan cards;
    ASSERT_TRUE(cards.Init());
    ASSERT_EQ(cards.GetCardCount(), 2);
    platform::RemoveDevice(first);
    ASSERT_TRUE(cards.Init());
    ASSERT_EQ(cards.GetCardCount(), 1);
    EXPECT_EQ(cards.GetCard(0)->GetRow().m_nIndex, 0);
}

TEST_F(CardEnumerationTest, CardWithoutCardFilterOpensNothingAndReleasesTwice) {
    PlugNamedDevice(L"713x BDA Analog Capture");
    CMultiCardMan cards;
    ASSERT_TRUE(cards.Init());
    EXPECT_EQ(cards.CreateAll(), 0);
    CCardMan* card = cards.GetCard(0);
    EXPECT_EQ(card->GetCardFilter(), nullptr);
    EXPECT_FALSE(card->MuteAudio()) << "no card filter to mute";
    card->Release();
    card->Release();
    EXPECT_EQ(card->GetGraph().GetFilterList(), nullptr);

    CCardMan noCrossbar(CCardName("Some Capture", "", 0));
    EXPECT_TRUE(noCrossbar.MuteAudio()) << "a card without crossbar has nothing to mute";
}

TEST(CardRWInterfaceTest, ObjectWithoutFilterAnswersFalse) {
    CCardRWInterface rw;
    unsigned char value = 0x5A;
    EXPECT_FALSE(rw.ReadByte(0, &value));
    EXPECT_FALSE(rw.WriteByte(255, value));
    EXPECT_EQ(value, 0x5A);
    EXPECT_EQ(rw.GetAccess(), nullptr);
    EXPECT_FALSE(rw.SetFilter(nullptr));
    EXPECT_TRUE(rw == CCardRWInterface());
}

}  // namespace
