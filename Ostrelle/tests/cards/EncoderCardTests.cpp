// The MPEG encoder cards end to end on their simulated boards: the MPEG-2 box (access on the
// capture filter, EEPROM at 0xA2, keys from the I2C key controller through box value
// requests, crossbars of 5 and 6 pins), the Rivesk and Prisko cards (upstream tuner, TV-audio
// and crossbar devices brought into the graph by the card's search and removed again by its
// destructor, access on the tuner device, the tuner put to TV on channel 1, crossbars of 7
// and 9 pins, the mode chip of tuner model 100) and the Prisko encoder device.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <typeinfo>
#include <vector>

#include "access/Mpeg2BoxAccess.h"
#include "access/RiveskAccess.h"
#include "cards/encoders/Mpeg2BoxFilter.h"
#include "cards/encoders/PriskoCardFilter.h"
#include "cards/encoders/PriskoEncoderFilter.h"
#include "cards/encoders/CrossbarRouter.h"
#include "cards/encoders/RiveskCardFilter.h"
#include "hwsim/boards/CrossbarFilter.h"
#include "hwsim/boards/TVAudioFilter.h"
#include "hwsim/boards/TunerFilter.h"
#include "hwsim/bus/RegisterFileDevice.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "support/EepromBench.h"

namespace {

// One board of `kind` with `model` fitted and named (maker 'T' at 0x20, the model at 0x21),
// plus extra bench fields. The board starts from the bench's image.
std::string OneCardBench(const std::string& kind, int model, const std::string& extra = "") {
    return EepromBench({{kind, model, {{0x20, 'T'}, {0x21, model}}, extra}});
}

class EncoderCards : public CardBench {
protected:
    void SetUp() override {}

    CCrossbarFilter* OpenCrossbar(const char* name) {
        return dynamic_cast<CCrossbarFilter*>(Graph().AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, name, "Xbar", 0, 0));
    }
    static CComPtr<IAMCrossbar> CrossbarOf(CRootFilter* wrapper) {
        CComPtr<IAMCrossbar> crossbar;
        EXPECT_EQ(S_OK, wrapper->GetFilter()->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&crossbar)));
        return crossbar;
    }
};

// ---- the MPEG-2 box ----

TEST_F(EncoderCards, BoxOpensWithItsAccessOnTheCaptureFilterAndItsEepromAtA2) {
    Load(OneCardBench("Vorlane MPEG-2 Box", 5).c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    auto* box = dynamic_cast<CMpeg2BoxFilter*>(card);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(typeid(CMpeg2BoxAccess), typeid(*card->GetAccess()));
    EXPECT_EQ(ACCESS_KIND_MPEG2_BOX, card->GetAccessKind());
    EXPECT_EQ(100, card->GetRemotePeriod());
    EXPECT_NE(nullptr, box->GetDevicePropertySet());
    EXPECT_FALSE(box->HasTunerFilter());
    EXPECT_EQ('T', card->GetFactoryLetter());
    ASSERT_NE(nullptr, card->GetTuner());
    EXPECT_EQ(5, card->GetTuner()->GetModelCode());
    ExpectWholeEepromThroughTheCard(*card, Board(0), "Vorlane MPEG-2 Box");
    EXPECT_EQ(E_NOTIMPL, card->SetAudioSource(1, TRUE));
}

TEST_F(EncoderCards, BoxKeyIsTheKeyRegisterWhenReadyReadsOneAndNoSecondRequestOtherwise) {
    Load(OneCardBench("Vorlane MPEG-2 Box", 5).c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    hwsim::I2CKeyController& keys = Board(0).KeyController();
    hwsim::KsDriver& driver = Driver(Board(0));
    auto keyRequests = [&driver] { return BoxRegisterReads(driver); };

    BYTE key = 0;
    driver.Log().Clear();
    EXPECT_FALSE(card->GetRemoteData(&key));  // ready reads 0
    EXPECT_EQ(std::vector<int>({0x30}), keyRequests());

    keys.Poke(0x30, 1);
    keys.Poke(0x31, 0x2A);
    driver.Log().Clear();
    ASSERT_TRUE(card->GetRemoteData(&key));
    EXPECT_EQ(0x2A, key);  // not inverted
    EXPECT_EQ(std::vector<int>({0x30, 0x31}), keyRequests());
    EXPECT_FALSE(card->GetRemoteData(&key));  // reading the key cleared the ready state

    keys.Poke(0x30, 2);  // not 1: no key
    EXPECT_FALSE(card->GetRemoteData(&key));
}

TEST_F(EncoderCards, BoxKeysPressedOnTheBenchReachTheWindowOnePerPress) {
    Load(OneCardBench("Vorlane MPEG-2 Box", 5, R"(, "keys": [42, 7])").c_str());
    CTVCardFilter* card = OpenCard(Board(0));
    ASSERT_NE(nullptr, card);
    KeyWindow window;
    card->SetNotifyWindow(window.Window());
    ASSERT_TRUE(card->StartRemoteThread());
    EXPECT_EQ(std::vector<WPARAM>({42, 7}), window.WaitForKeys(3, 2000));
    card->StopRemoteThread();
}

TEST_F(EncoderCards, BoxCrossbarOfFivePinsHasNoTunerSource) {
    Load(OneCardBench("Vorlane MPEG-2 Box", 5).c_str());
    auto* crossbar = dynamic_cast<CMpeg2BoxCrossbarFilter*>(OpenCrossbar("Vorlane MPEG-2 Box Crossbar"));
    ASSERT_NE(nullptr, crossbar);
    EXPECT_EQ(5, crossbar->GetPinCount());
    EXPECT_FALSE(crossbar->HasTunerInput());
    CComPtr<IAMCrossbar> device = CrossbarOf(crossbar);
    const long video = RoutedTo(device, 0);
    const long audio = RoutedTo(device, 1);
    EXPECT_FALSE(crossbar->SetVideoInput(0));  // -1: refused, routing untouched
    EXPECT_FALSE(crossbar->SetAudioInput(0));
    EXPECT_EQ(video, RoutedTo(device, 0));
    EXPECT_EQ(audio, RoutedTo(device, 1));
    EXPECT_TRUE(crossbar->SetVideoInput(1));
    EXPECT_TRUE(crossbar->SetAudioInput(1));
    EXPECT_EQ(0, RoutedTo(device, 0));
    EXPECT_EQ(2, RoutedTo(device, 1));
    EXPECT_TRUE(crossbar->SetVideoInput(2));
    EXPECT_EQ(1, RoutedTo(device, 0));
    EXPECT_FALSE(crossbar->SetAudioInput(2));
}

TEST_F(EncoderCards, BoxCrossbarOfSixPinsRoutesTheTunerVideo) {
    Load(OneCardBench("Vorlane MPEG-2 Box", 5, R"(, "crossbarPins": 6)").c_str());
    auto* crossbar = dynamic_cast<CMpeg2BoxCrossbarFilter*>(OpenCrossbar("Vorlane MPEG-2 Box Crossbar"));
    ASSERT_NE(nullptr, crossbar);
    EXPECT_TRUE(crossbar->HasTunerInput());
    EXPECT_EQ(2, crossbar->GetVideoRoute(0));
    EXPECT_EQ(4, crossbar->GetAudioRoute(0));
    EXPECT_EQ(3, crossbar->GetAudioRoute(1));
    CComPtr<IAMCrossbar> device = CrossbarOf(crossbar);
    EXPECT_TRUE(crossbar->SetVideoInput(0));
    EXPECT_EQ(2, RoutedTo(device, 0));
    EXPECT_TRUE(crossbar->SetVideoInput(1));
    EXPECT_EQ(0, RoutedTo(device, 0));
    EXPECT_TRUE(crossbar->SetAudioInput(1));
    EXPECT_EQ(3, RoutedTo(device, 1));
    // Six pins leave four inputs: the table's tuner audio (4) is not there and is refused.
    EXPECT_FALSE(crossbar->SetAudioInput(0));
    EXPECT_EQ(3, RoutedTo(device, 1));
}

// ---- the Rivesk and Prisko cards ----

struct UpstreamCard {
    const char* kind;
    const std::type_info& card;
    int accessKind;
    const char* crossbarName;
    const std::type_info& crossbar;
};

const UpstreamCard kUpstreamCards[] = {
    {"Rivesk Video Capture", typeid(CRiveskCardFilter), ACCESS_KIND_RIVESK, "Rivesk Crossbar", typeid(CRiveskCrossbarFilter)},
    {"Prisko Video Capture", typeid(CPriskoCardFilter), ACCESS_KIND_PRISKO, "Prisko Crossbar", typeid(CPriskoCrossbarFilter)},
};

TEST_F(EncoderCards, UpstreamCardsBringTheirDevicesInOpenOnTheTunerAndPutItToTv) {
    for (const char* extra : {"", R"(, "interleaved": false)"}) {
        for (const UpstreamCard& row : kUpstreamCards) {
            const std::string what = std::string(row.kind) + extra;
            Load(OneCardBench(row.kind, 5, extra).c_str());
            hwsim::Card& board = Board(0);
            auto* card = dynamic_cast<CRiveskCardFilter*>(OpenCard(board));
            ASSERT_NE(nullptr, card) << what;
            EXPECT_EQ(row.card, typeid(*card)) << what;
            EXPECT_EQ(typeid(CRiveskAccess), typeid(*card->GetAccess())) << what;
            EXPECT_EQ(row.accessKind, card->GetAccessKind()) << what;
            EXPECT_EQ(100, card->GetRemotePeriod()) << what;
            EXPECT_TRUE(card->HasTunerFilter()) << what;
            ASSERT_NE(nullptr, card->GetTuner()) << what;
            EXPECT_EQ(5, card->GetTuner()->GetModelCode()) << what;

            // The capture filter went in for the search and out again; the graph then added it
            // for good. The devices the search brought in stay.
            EXPECT_EQ(std::vector<std::string>({"+capture", "+crossbar", "+tuner", "+tv audio", "-capture", "+capture"}),
                      board.GraphLog())
                << what;
            ASSERT_EQ(1u, InGraph<hwsim::TunerFilter>(Graph()).size()) << what;
            EXPECT_EQ(1u, InGraph<hwsim::TVAudioFilter>(Graph()).size()) << what;
            EXPECT_EQ(1u, InGraph<hwsim::CrossbarFilter>(Graph()).size()) << what;
            hwsim::TunerFilter* tuner = InGraph<hwsim::TunerFilter>(Graph()).front();
            EXPECT_EQ(std::vector<std::string>({"put_Mode " + std::to_string(AMTUNER_MODE_TV), "put_Channel 1 0 0"}),
                      tuner->Calls())
                << what;

            // The access works through the tuner device.
            const int before = tuner->PropertyRequests();
            ExpectWholeEepromThroughTheCard(*card, board, what);
            EXPECT_GE(tuner->PropertyRequests() - before, 512) << what;

            CComPtr<IAMTVAudio> audio;
            EXPECT_EQ(S_OK, card->GetTVAudio(&audio)) << what;
            EXPECT_EQ(E_NOTIMPL, card->SetAudioSource(0, TRUE)) << what;
            BYTE key = 0;
            EXPECT_FALSE(card->GetRemoteData(&key)) << what;
            // Never a key: the remote thread runs and posts none.
            KeyWindow window;
            card->SetNotifyWindow(window.Window());
            ASSERT_TRUE(card->StartRemoteThread()) << what;
            EXPECT_TRUE(window.WaitForKeys(1, 500).empty()) << what;
            card->StopRemoteThread();

            board.ClearGraphLog();
            Graph().RemoveFilter(card);
            EXPECT_EQ(std::vector<std::string>({"-capture", "-tuner", "-tv audio", "-crossbar"}), board.GraphLog()) << what;
            EXPECT_TRUE(InGraph<hwsim::TunerFilter>(Graph()).empty()) << what;
        }
    }
}

TEST_F(EncoderCards, UpstreamCardsRouteTheirCrossbarOutputFirstAndRefuseMissingPins) {
    for (const UpstreamCard& row : kUpstreamCards) {
        Load(OneCardBench(row.kind, 5).c_str());
        auto* card = dynamic_cast<CRiveskCardFilter*>(OpenCard(Board(0)));
        ASSERT_NE(nullptr, card) << row.kind;
        CComPtr<IAMCrossbar> crossbar;
        ASSERT_EQ(S_OK, card->GetCrossbar(&crossbar)) << row.kind;
        ASSERT_NE(nullptr, crossbar.p) << row.kind;
        EXPECT_EQ(E_POINTER, card->GetCrossbar(nullptr)) << row.kind;
        EXPECT_EQ(E_POINTER, card->GetTVAudio(nullptr)) << row.kind;

        // The card manager routes an encoder card's inputs through its crossbar router.
        CCrossbarRouter* router = dynamic_cast<CCrossbarRouter*>(card);
        ASSERT_NE(nullptr, router) << row.kind;
        platform::InjectFailure("ICaptureGraphBuilder2::FindInterface", 2);
        EXPECT_TRUE(router->RouteCrossbar(2, 0)) << row.kind;  // Route(0, 2), on the crossbar held
        platform::ClearFailures();
        EXPECT_EQ(2, RoutedTo(crossbar, 0)) << row.kind;
        EXPECT_TRUE(card->RouteCrossbar(4, 1)) << row.kind;
        EXPECT_EQ(4, RoutedTo(crossbar, 1)) << row.kind;
        // A negative input would take the route away; a missing pin is not there to route.
        EXPECT_FALSE(card->RouteCrossbar(-1, 0)) << row.kind;
        EXPECT_FALSE(card->RouteCrossbar(5, 1)) << row.kind;
        EXPECT_FALSE(card->RouteCrossbar(0, 2)) << row.kind;
        EXPECT_EQ(2, RoutedTo(crossbar, 0)) << row.kind;
        EXPECT_EQ(4, RoutedTo(crossbar, 1)) << row.kind;
    }
}

TEST_F(EncoderCards, UpstreamCrossbarTablesOfSevenAndNinePins) {
    for (const UpstreamCard& row : kUpstreamCards) {
        Load(OneCardBench(row.kind, 5).c_str());
        CCrossbarFilter* seven = OpenCrossbar(row.crossbarName);
        ASSERT_NE(nullptr, seven) << row.kind;
        EXPECT_EQ(row.crossbar, typeid(*seven)) << row.kind;
        CComPtr<IAMCrossbar> device = CrossbarOf(seven);
        EXPECT_TRUE(seven->SetVideoInput(1));
        EXPECT_TRUE(seven->SetAudioInput(1));
        EXPECT_EQ(2, RoutedTo(device, 0)) << row.kind;
        EXPECT_EQ(4, RoutedTo(device, 1)) << row.kind;
        EXPECT_FALSE(seven->SetAudioInput(2)) << row.kind;  // no audio input
        EXPECT_EQ(4, RoutedTo(device, 1)) << row.kind;
        device.Release();
        Graph().RemoveFilter(seven);

        Load(OneCardBench(row.kind, 5, R"(, "crossbarPins": 9)").c_str());
        CCrossbarFilter* nine = OpenCrossbar(row.crossbarName);
        ASSERT_NE(nullptr, nine) << row.kind;
        device = CrossbarOf(nine);
        EXPECT_TRUE(nine->SetVideoInput(0));
        EXPECT_TRUE(nine->SetAudioInput(0));
        EXPECT_EQ(1, RoutedTo(device, 0)) << row.kind;
        EXPECT_EQ(4, RoutedTo(device, 1)) << row.kind;
        EXPECT_TRUE(nine->SetAudioInput(2));
        EXPECT_EQ(6, RoutedTo(device, 1)) << row.kind;
    }
}

TEST_F(EncoderCards, SetTunerModeDrivesTheModeChipOnlyForModel100) {
    Load(OneCardBench("Rivesk Video Capture", 100).c_str());
    auto* card = dynamic_cast<CRiveskCardFilter*>(OpenCard(Board(0)));
    ASSERT_NE(nullptr, card);
    auto* mode = static_cast<hwsim::RegisterFileDevice*>(Board(0).Chip("mode"));
    ASSERT_NE(nullptr, mode);
    mode->Poke(1, 0);
    EXPECT_TRUE(card->SetTunerMode(1));
    EXPECT_EQ(0x04, mode->Peek(1));
    Graph().RemoveFilter(card);

    Load(OneCardBench("Prisko Video Capture", 5).c_str());
    card = dynamic_cast<CRiveskCardFilter*>(OpenCard(Board(0)));
    ASSERT_NE(nullptr, card);
    Driver(Board(0)).Log().Clear();
    EXPECT_FALSE(card->SetTunerMode(1));
    EXPECT_EQ(0u, Driver(Board(0)).Log().Size());
}

// Without an owner graph there is nothing to search: no upstream device, and the access opens
// on the capture filter instead of calling through a missing graph.
TEST_F(EncoderCards, UpstreamCardWithoutAnOwnerGraphOpensOnItsCaptureFilter) {
    Load(OneCardBench("Prisko Video Capture", 5).c_str());
    Graph();  // COM on this thread; the card is not the graph's
    CPriskoCardFilter card(nullptr, &CLSID_VideoInputDeviceCategory, "Prisko Video Capture", 0);
    ASSERT_TRUE(card.SetUp());
    EXPECT_FALSE(card.HasTunerFilter());
    ASSERT_NE(nullptr, card.GetAccess());
    EXPECT_EQ(typeid(CRiveskAccess), typeid(*card.GetAccess()));
    ExpectWholeEepromThroughTheCard(card, Board(0), "Prisko Video Capture");
    IAMCrossbar* crossbar = reinterpret_cast<IAMCrossbar*>(1);
    EXPECT_EQ(S_OK, card.GetCrossbar(&crossbar));
    EXPECT_EQ(nullptr, crossbar);
    IAMTVAudio* audio = nullptr;
    EXPECT_EQ(E_POINTER, card.GetTVAudio(&audio));
    EXPECT_FALSE(card.RouteCrossbar(0, 0));
    EXPECT_EQ(std::vector<std::string>(), Board(0).GraphLog());
}

// ---- the Prisko encoder device ----

TEST_F(EncoderCards, PriskoEncoderDeviceOpensAsItsWrapperAndSetsAndGetsOnTheEncoderSet) {
    Load(OneCardBench("Prisko Video Capture", 5).c_str());
    auto* encoder = dynamic_cast<CPriskoEncoderFilter*>(
        Graph().AddDeviceFilter(KSCATEGORY_ENCODER, CPriskoEncoderFilter::kEncoderName, "Encoder", 0, 0));
    ASSERT_NE(nullptr, encoder);
    hwsim::WireLog& log = Devices().EncoderLog(Board(0));
    log.Clear();
    BYTE settings[4] = {1, 2, 3, 4};
    EXPECT_TRUE(encoder->SetProperty(1, settings, sizeof(settings)));
    BYTE back[4] = {};
    EXPECT_TRUE(encoder->GetProperty(1, back, sizeof(back)));
    EXPECT_TRUE(std::equal(std::begin(settings), std::end(settings), std::begin(back)));
    const std::vector<hwsim::WireRequest> requests = log.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(hwsim::WireRequest::Verb::Set, requests[0].verb);
    EXPECT_EQ("value 01 02 03 04", requests[0].what);
    EXPECT_EQ(hwsim::WireRequest::Verb::Get, requests[1].verb);
    EXPECT_EQ(1u, requests[1].id);

    // A wrapper without the interface sends nothing.
    CPriskoEncoderFilter unbound(nullptr, CLSID_NULL);
    unbound.SetUp();
    EXPECT_FALSE(unbound.SetProperty(1, settings, sizeof(settings)));
    EXPECT_FALSE(unbound.GetProperty(1, back, sizeof(back)));
    EXPECT_EQ(2u, log.Size());
}

}  // namespace
