// A card class of the encoder kind (access kind 11) for the card manager's tests, over a capture
// device of the tests' own: "Capture" (with a stream configuration), "656" and "I2S" out.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <objbase.h>

#include "CardMan.h"
#include "StationFilterClasses.h"
#include "cards/base/CardFilterClasses.h"
#include "cards/encoders/CrossbarRouter.h"
#include "cards/base/TVCardFilter.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "support/GraphTestDoubles.h"

namespace cardtest {

inline constexpr char kEncoderCardName[] = "Test Encoder Card Capture";
inline constexpr char kEncoderCardCrossbar[] = "Test Encoder Card Crossbar";

// Opens without hardware, answers EEPROM byte 0 from a test value and records the crossbar
// routes it is asked for.
class CTestEncoderCard : public CTVCardFilter, public CCrossbarRouter {
public:
    CTestEncoderCard(CRootGraph* owner, const GUID* category, const char* name, int flag)
        : CTVCardFilter(owner, category, name, flag) {}
    CTestEncoderCard(CRootGraph* owner, REFCLSID clsid) : CTVCardFilter(owner, clsid) {}
    ~CTestEncoderCard() override { StopCardThreads(); }

    BOOL Create() override {
        m_nAccessKind = ACCESS_KIND_ENCODER_CARD;
        return TRUE;
    }
    HRESULT ReadEeprom(BYTE* buffer, BYTE address, int* count) override {
        if (address != 0 || *count < 1) return E_FAIL;
        buffer[0] = s_byte0;
        *count = 1;
        return S_OK;
    }
    BOOL RouteCrossbar(long input, long output) override {
        s_routes.emplace_back(input, output);
        return output == 1 ? s_audioRouteResult : TRUE;
    }

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag) {
        return CreateFilterOfClass<CTestEncoderCard>(s_record, graph, flag);
    }
    static void Reset() {
        CFilterClassInit link(&s_record);
        s_byte0 = 0;
        s_audioRouteResult = TRUE;
        s_routes.clear();
    }
    static inline CFilterClassRecord s_record{nullptr, &CLSID_VideoInputDeviceCategory, kEncoderCardName,
                                              &CTestEncoderCard::CreateInstance};
    static inline BYTE s_byte0 = 0;
    static inline BOOL s_audioRouteResult = TRUE;
    static inline std::vector<std::pair<long, long>> s_routes;
};

// The card's capture device.
class TestCaptureDevice : public graphtest::TestFilter {
public:
    TestCaptureDevice() : TestFilter(GUID_NULL, {graphtest::OutputPin(L"656"), graphtest::OutputPin(L"I2S")}) {
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        caps.guid = FORMAT_VideoInfo;
        caps.InputSize = {720, 576};
        caps.MinOutputSize = {90, 72};
        caps.MaxOutputSize = {720, 576};
        CComPtr<platform::dshow::PinBase> capture;
        capture.Attach(new platform::dshow::StreamConfigPin(
            this, platform::dshow::PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {}},
            {platform::dshow::StreamCapability::Video(
                platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 480, 16), caps)}));
        AddPin(capture);
    }
};

inline platform::DeviceId AddEncoderCardDevice() {
    platform::DeviceEntry entry;
    entry.category = CLSID_VideoInputDeviceCategory;
    entry.friendlyName = L"Test Encoder Card Capture";
    entry.factory = [](REFIID riid, void** ppv) -> HRESULT {
        return platform::CreateComObject<TestCaptureDevice>(riid, ppv);
    };
    return platform::AddDevice(std::move(entry));
}

// Two encoder cards plugged, the registries filled; `card` is the one a test opened.
class EncoderCardFixture : public graphtest::GraphTest {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        GraphTest::SetUp();
        RegisterCardFilterClasses();
        RegisterStationFilterClasses();
        CTestEncoderCard::Reset();
        for (platform::DeviceId& capture : captures) capture = AddEncoderCardDevice();
    }
    void TearDown() override {
        card.reset();
        GraphTest::TearDown();
        CoUninitialize();
    }
    CCardMan& Open(int index = 0) {
        card = std::make_unique<CCardMan>(CCardName(kEncoderCardName, kEncoderCardCrossbar, index));
        EXPECT_TRUE(card->Create());
        return *card;
    }
    std::unique_ptr<CCardMan> card;
    platform::DeviceId captures[2] = {};  // the capture devices of the two boards
};

}  // namespace cardtest
