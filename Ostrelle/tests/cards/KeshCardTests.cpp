// The Kesh card ("713x BDA Analog Capture") opened through the graph on its simulated board:
// its access, its tuner from the Kesh EEPROM layout, the whole EEPROM, the lock of the model-95
// tuner through the card's video decoder, and its crossbar.
#include <gtest/gtest.h>

#include "support/CardBench.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "platform/runtime.h"

namespace {

using KeshCard = CardBench;

CKesh713xCardFilter* AsKesh(CTVCardFilter* card) { return dynamic_cast<CKesh713xCardFilter*>(card); }

TEST_F(KeshCard, OpensThroughTheGraphWithItsAccessAndTheTunerOfItsKeshId) {
    Poke(KeshBoard(), 104, {'P'});
    Poke(KeshBoard(), 65, {0x21, 0x00});  // KeshTunerID 33
    CKesh713xCardFilter* card = AsKesh(OpenCard(KeshBoard()));
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(ACCESS_KIND_KESH713X, card->GetAccessKind());
    EXPECT_EQ(95, card->GetTunerModel());
    EXPECT_EQ('P', card->GetFactoryLetter());
    ASSERT_NE(nullptr, card->GetTuner());
    EXPECT_EQ(95, card->GetTuner()->GetModelCode());
    EXPECT_EQ(0, card->GetEepromLayout());  // the card reads its own layout; the field stays
    EXPECT_NE(nullptr, card->GetCapturePin());
    EXPECT_NE(nullptr, card->GetPreviewPin());
    EXPECT_EQ(card->GetCapturePin(), card->FindPin("Capture"));
    EXPECT_EQ(card->GetPreviewPin(), card->FindPin("Preview"));
    EXPECT_STREQ("Card", card->GetName());
    EXPECT_EQ("", std::string(card->GetTunerName()));
}

TEST_F(KeshCard, IdWithoutModelOrUnknownMakerFallsBackAsTheKeshCardDoes) {
    struct Case {
        BYTE letter, low, high;
        int modelField, tunerModel, factory;
    };
    const Case cases[] = {
        {'P', 0xFE, 0x13, 0, 4, 'T'},   // 5118: no Kesh tuner
        {'Q', 0x21, 0x00, 95, 95, 'N'}, // unknown maker, known tuner: nothing substituted
        {'T', 0x23, 0x00, 5, 5, 'T'},   // KeshTunerID 35: model 5
    };
    for (const Case& c : cases) {
        Load(kDefaultBench);
        Poke(KeshBoard(), 104, {c.letter});
        Poke(KeshBoard(), 65, {c.low, c.high});
        CKesh713xCardFilter* card = AsKesh(OpenCard(KeshBoard()));
        ASSERT_NE(nullptr, card) << int(c.low);
        EXPECT_EQ(c.modelField, card->GetTunerModel()) << int(c.low);
        EXPECT_EQ(c.tunerModel, card->GetTuner()->GetModelCode()) << int(c.low);
        EXPECT_EQ(c.factory, card->GetFactoryLetter()) << int(c.low);
    }
}

TEST_F(KeshCard, WritesAndReadsBackItsWholeEepromThroughTheGraphCard) {
    CTVCardFilter* card = OpenCard(KeshBoard());
    ASSERT_NE(nullptr, card);
    std::vector<BYTE> image(256);
    for (int i = 0; i < 256; ++i) image[i] = static_cast<BYTE>(255 - i);
    for (int i = 0; i < 256; ++i) {  // one byte per call, as the station writes
        int count = 1;
        ASSERT_EQ(S_OK, card->WriteEeprom(&image[i], static_cast<BYTE>(i), &count, 10)) << i;
    }
    EXPECT_EQ(image, KeshBoard().Eeprom().Contents());
    std::vector<BYTE> back(256);
    int count = 256;
    EXPECT_EQ(S_OK, card->ReadEeprom(back.data(), 0, &count));
    EXPECT_EQ(image, back);
}

TEST_F(KeshCard, Model95ReportsLockThroughTheVideoDecoderExactlyOnStations) {
    Poke(KeshBoard(), 65, {0x21, 0x00});
    CTVCardFilter* card = OpenCard(KeshBoard());
    ASSERT_NE(nullptr, card);
    ASSERT_EQ(95, card->GetTuner()->GetModelCode());
    struct Case {
        float kHz;
        bool station;
    };
    for (const Case& c : {Case{49750, true}, Case{471250, true}, Case{55250, false}, Case{175250, false},
                          Case{615250, false}, Case{49750, true}}) {
        EXPECT_TRUE(card->SetTVChannelFreq(c.kHz)) << c.kHz;
        DWORD locked = 7;
        EXPECT_EQ(TRUE, card->GetTuner()->GetSignalLocked(&locked)) << c.kHz;
        EXPECT_EQ(c.station ? 1u : 0u, locked) << c.kHz;
        locked = 7;
        EXPECT_EQ(S_OK, card->IsSignalLocked(&locked));
        EXPECT_EQ(c.station ? 1u : 0u, locked) << c.kHz;
    }
}

// A card that cannot reach its board is not a card the station may report as written.
TEST_F(KeshCard, CardWhoseAccessCannotBeInitialisedIsNotCreated) {
    platform::InjectFailure("QueryInterface:IKsPropertySet", 1);
    EXPECT_EQ(nullptr, Graph().AddDeviceFilter(CLSID_VideoInputDeviceCategory, "713x BDA Analog Capture", "Card", 0, 0));
    EXPECT_EQ(nullptr, Graph().GetFilterList());
    platform::ClearFailures();
    EXPECT_NE(nullptr, OpenCard(KeshBoard()));
}

TEST(KeshCardTuner, FailedLowByteReadIsAFailedRead) {
    FakeBoardCard<CKesh713xCardFilter> fake(ACCESS_KIND_KESH713X);
    fake.access->bytes[104] = 'P';
    fake.access->bytes[65] = 0x21;
    fake.access->failing = {65};
    int factory = 'N', model = 77;
    EXPECT_TRUE(FAILED(fake.card.GetTunerInfo(&factory, &model)));
    EXPECT_EQ(77, model);
    EXPECT_EQ('P', factory);
    EXPECT_TRUE(FAILED(fake.card.ReadFactoryModel()));
    EXPECT_EQ(0, fake.card.GetTunerModel());

    fake.access->failing = {66};
    model = 77;
    EXPECT_TRUE(FAILED(fake.card.GetTunerInfo(&factory, &model)));
    EXPECT_EQ(77, model);
    fake.access->failing.clear();
    EXPECT_EQ(S_OK, fake.card.GetTunerInfo(&factory, &model));
    EXPECT_EQ(95, model);
    EXPECT_EQ(E_POINTER, fake.card.GetTunerInfo(nullptr, &model));
}

TEST_F(KeshCard, CrossbarKeepsTheDefaultRoutes) {
    CRootFilter* filter = Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, "713x BDA Analog Xbar", "Xbar", 0, 0);
    auto* crossbar = dynamic_cast<CKesh713xCrossbarFilter*>(filter);
    ASSERT_NE(nullptr, crossbar);
    EXPECT_TRUE(crossbar->SetVideoInput(1));
    EXPECT_TRUE(crossbar->SetAudioInput(1));
    CComPtr<IAMCrossbar> routes;
    ASSERT_EQ(S_OK, crossbar->GetFilter()->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&routes)));
    long input = -1;
    EXPECT_EQ(S_OK, routes->get_IsRoutedTo(0, &input));
    EXPECT_EQ(1, input);
    EXPECT_EQ(S_OK, routes->get_IsRoutedTo(1, &input));
    EXPECT_EQ(4, input);
}

}  // namespace
