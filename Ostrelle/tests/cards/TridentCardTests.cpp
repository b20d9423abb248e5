// The Trident bridge cards end to end on their simulated boards (vendor-command driver): the
// RiriRir PCI card (EEPROM over I2C requests, its tuner device found upstream and switched by
// mode, maker 'A' and model 133 when the EEPROM names none), the Ivlen and Yolm USB boxes
// (EEPROM and tuner bytes over vendor data requests), their crossbars and TV-audio wrappers,
// and the service operations they share.
#include <gtest/gtest.h>

#include <dibsize.h>
#include <mtype.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "access/TridentAccess.h"
#include "access/TridentUsbAccess.h"
#include "cards/trident/TridentFilter.h"
#include "cards/trident/TridentUsbFilter.h"
#include "cards/trident/YolmCardFilter.h"
#include "hwsim/boards/TunerFilter.h"
#include "hwsim/drivers/VendorCommandDriver.h"
#include "platform/dshow/CapabilityPin.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "support/TestAccessBase.h"
#include "support/EepromBench.h"

namespace {

constexpr const char* kRiriRir = "RiriRir Capture";
constexpr const char* kIvlen = "Ivlen Capture";
constexpr const char* kYolm = "Trident Yolm Capture";

// One board of `kind`; `eeprom` empty: a blank (0xFF) EEPROM, else maker letter and model at
// 0x20/0x21 and the mark byte at 3. The board starts from the bench's image.
std::string OneBoardBench(const std::string& kind, int model, int letter = 0, int mark = 0xFF) {
    EepromBytes eeprom = {{3, mark}};
    if (letter != 0) eeprom.insert({{0x20, letter}, {0x21, model}});
    return EepromBench({{kind, model, eeprom, ""}});
}

// The vendor commands the driver carried, as "C0 10 A0 05" (type, code, value bytes).
std::vector<std::string> Commands(hwsim::KsDriver& driver) {
    std::vector<std::string> commands;
    for (const hwsim::WireRequest& request : driver.Log().Requests()) {
        if (request.verb != hwsim::WireRequest::Verb::Set || request.data.size() < 28) continue;
        char text[16];
        std::snprintf(text, sizeof(text), "%02X %02X %02X %02X", request.data[24], request.data[25], request.data[26],
                      request.data[27]);
        commands.push_back(text);
    }
    return commands;
}

// An access object that records GPIO writes.
class GpioRecorder : public TestAccessBase {
public:
    HRESULT I2C_Read(BYTE, int, BYTE*) override { return E_FAIL; }
    HRESULT I2C_Write(BYTE, int, BYTE) override { return E_FAIL; }
    HRESULT I2C_ReadBlock(BYTE*, int) override { return E_FAIL; }
    HRESULT I2C_WriteBlock(BYTE*, int) override { return E_FAIL; }
    HRESULT GPIO_Write(DWORD value, DWORD mask) override {
        writes.push_back({value, mask});
        return result;
    }
    std::vector<std::pair<DWORD, DWORD>> writes;
    HRESULT result = S_OK;
};

class TridentCards : public CardBench {
protected:
    void SetUp() override {}

    template <class C>
    C* Open(const char* kind, int model, int letter = 0, int mark = 0xFF) {
        Load(OneBoardBench(kind, model, letter, mark).c_str());
        return dynamic_cast<C*>(OpenCard(Board(0)));
    }
    CRootFilter* OpenDevice(const GUID& category, const char* name) {
        return Graph().AddDeviceFilter(category, name, "Device", 0, 0);
    }
};

// ---- the RiriRir PCI card ----

TEST_F(TridentCards, PciCardWithBlankEepromGetsMakerAAndModel133AndFindsItsTunerUpstream) {
    auto* card = Open<CTridentFilter>(kRiriRir, 133);
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(typeid(CTridentAccess), typeid(*card->GetAccess()));
    EXPECT_EQ(ACCESS_KIND_NONE, card->GetAccessKind());
    EXPECT_EQ('A', card->GetFactoryLetter());
    EXPECT_EQ(133, card->GetTunerModel());
    ASSERT_NE(nullptr, card->GetTuner());
    EXPECT_TRUE(card->HasTunerFilter());
    // The capture filter went in for the search and out again; the tuner device stays.
    EXPECT_EQ(std::vector<std::string>({"+capture", "+crossbar", "+tuner", "-capture", "+capture"}),
              Board(0).GraphLog());
    EXPECT_EQ(1u, InGraph<hwsim::TunerFilter>(Graph()).size());

    // The EEPROM image over the bridge's I2C requests.
    ExpectWholeEepromThroughTheCard(*card, Board(0), kRiriRir);

    // The destructor takes the tuner device out again.
    Board(0).ClearGraphLog();
    Graph().RemoveFilter(card);
    EXPECT_EQ(std::vector<std::string>({"-capture", "-tuner"}), Board(0).GraphLog());
    EXPECT_TRUE(InGraph<hwsim::TunerFilter>(Graph()).empty());
}

TEST_F(TridentCards, PciCardKeepsTheMakerAndModelItsEepromNames) {
    auto* card = Open<CTridentFilter>(kRiriRir, 5, 'P');
    ASSERT_NE(nullptr, card);
    EXPECT_EQ('P', card->GetFactoryLetter());
    EXPECT_EQ(5, card->GetTunerModel());
}

TEST_F(TridentCards, TunerModeIsPutOnlyWhenTheTunerOffersIt) {
    auto* card = Open<CTridentFilter>(kRiriRir, 133);
    ASSERT_NE(nullptr, card);
    ASSERT_EQ(1u, InGraph<hwsim::TunerFilter>(Graph()).size());
    hwsim::TunerFilter* tuner = InGraph<hwsim::TunerFilter>(Graph()).front();
    // The board's tuner offers TV only: FM, AM and DSS are refused without a call, so are
    // modes that are not one mode.
    for (LONG_PTR mode : {2, 4, 8, 0, 3, 16}) EXPECT_EQ(FALSE, card->OnCommand(mode)) << mode;
    EXPECT_TRUE(tuner->Calls().empty());
    EXPECT_EQ(TRUE, card->OnCommand(AMTUNER_MODE_TV));
    EXPECT_EQ(std::vector<std::string>({"put_Mode 1"}), tuner->Calls());
}

// Without the tuner's IAMTVTuner the mode command answers FALSE (not a failure code that a
// BOOL test would take for success).
TEST_F(TridentCards, TunerModeWithoutTheTunerInterfaceIsFalse) {
    TestCard<CTridentFilter> card;
    EXPECT_EQ(FALSE, card.OnCommand(AMTUNER_MODE_TV));
    EXPECT_EQ(FALSE, card.SetTunerMode(AMTUNER_MODE_TV));
}

// Without an owner graph there is nothing to search: no tuner device, nothing added to a graph,
// and the access opens on the capture filter.
TEST_F(TridentCards, PciCardWithoutAnOwnerGraphSkipsTheUpstreamSearch) {
    Load(OneBoardBench(kRiriRir, 133).c_str());
    Graph();  // COM on this thread; the card is not the graph's
    CTridentFilter card(nullptr, &CLSID_VideoInputDeviceCategory, kRiriRir, 0);
    ASSERT_TRUE(card.SetUp());
    EXPECT_FALSE(card.HasTunerFilter());
    EXPECT_EQ(std::vector<std::string>(), Board(0).GraphLog());
    EXPECT_EQ(FALSE, card.OnCommand(AMTUNER_MODE_TV));
    ExpectWholeEepromThroughTheCard(card, Board(0), kRiriRir);
}

TEST_F(TridentCards, PciGpioCommandDrivesTheBridgeLineAndIgnoresTheWait) {
    auto* card = Open<CTridentFilter>(kRiriRir, 133);
    ASSERT_NE(nullptr, card);
    hwsim::KsDriver& driver = Driver(Board(0));
    driver.Log().Clear();
    EXPECT_TRUE(card->SendGPIOCommand(1, 2, 5000));
    ASSERT_EQ(1u, Commands(driver).size());
    EXPECT_EQ("40 03", Commands(driver).front().substr(0, 5));
    EXPECT_FALSE(card->SendGPIOCommand(1, 8, 0));  // no line 8
    TestCard<CTridentFilter> unbound;
    EXPECT_FALSE(unbound.SendGPIOCommand(1, 2, 0));
}

// ---- the USB boxes ----

TEST_F(TridentCards, UsbBoxesOpenWithTheirAccessKindsAndReadTheTunerThroughVendorData) {
    struct Row {
        const char* kind;
        int accessKind;
    };
    for (const Row& row : {Row{kIvlen, ACCESS_KIND_TRIDENT_USB}, Row{kYolm, ACCESS_KIND_TRIDENT_YOLM}}) {
        auto* card = Open<CTridentUsbFilter>(row.kind, 5, 'P');
        ASSERT_NE(nullptr, card) << row.kind;
        EXPECT_EQ(typeid(CTridentUsbAccess), typeid(*card->GetAccess())) << row.kind;
        EXPECT_EQ(row.accessKind, card->GetAccessKind()) << row.kind;
        EXPECT_EQ('P', card->GetFactoryLetter()) << row.kind;
        EXPECT_EQ(5, card->GetTunerModel()) << row.kind;
        EXPECT_FALSE(card->HasTunerFilter()) << row.kind;
        // The capture filter went into the graph once, when the graph took the card.
        EXPECT_EQ(std::vector<std::string>({"+capture"}), Board(0).GraphLog()) << row.kind;

        // The tuner bytes and the EEPROM image over the vendor data requests (C0/40 10 A0 sub).
        hwsim::KsDriver& driver = Driver(Board(0));
        driver.Log().Clear();
        int factory = 0;
        int model = 0;
        EXPECT_EQ(S_OK, card->GetTunerInfo(&factory, &model)) << row.kind;
        EXPECT_EQ(std::vector<std::string>({"C0 10 A0 20", "C0 10 A0 21"}), Commands(driver)) << row.kind;
        driver.Log().Clear();
        ExpectWholeEepromThroughTheCard(*card, Board(0), row.kind);
        const std::vector<std::string> commands = Commands(driver);
        ASSERT_EQ(512u, commands.size()) << row.kind;
        EXPECT_EQ("40 10 A0 00", commands[0]) << row.kind;
        EXPECT_EQ("40 10 A0 FF", commands[255]) << row.kind;
        EXPECT_EQ("C0 10 A0 FF", commands[511]) << row.kind;
    }
}

TEST_F(TridentCards, UsbBoxWithBlankEepromKeepsWhatItReadAndFallsBackOnlyInTheTuner) {
    auto* card = Open<CTridentUsbFilter>(kIvlen, 5);
    ASSERT_NE(nullptr, card);
    // Nothing substituted: the model 0xFF as read; the base's tuner creation falls back to its
    // own model and maker 'T'.
    EXPECT_EQ(0xFF, card->GetTunerModel());
    EXPECT_EQ('T', card->GetFactoryLetter());
    ASSERT_NE(nullptr, card->GetTuner());
}

TEST_F(TridentCards, UsbEepromRangesPastTheLastByteAreRefusedWithNoTraffic) {
    auto* card = Open<CTridentUsbFilter>(kIvlen, 5, 'P');
    ASSERT_NE(nullptr, card);
    hwsim::KsDriver& driver = Driver(Board(0));
    BYTE bytes[7] = {1, 2, 3, 4, 5, 6, 7};
    driver.Log().Clear();
    int count = 6;
    EXPECT_EQ(S_OK, card->WriteEeprom(bytes, 250, &count, 0));
    EXPECT_EQ(6, count);
    EXPECT_EQ(6u, Commands(driver).size());
    EXPECT_EQ(6, Board(0).Eeprom().Contents()[255]);

    driver.Log().Clear();
    count = 7;
    EXPECT_EQ(E_INVALIDARG, card->WriteEeprom(bytes, 250, &count, 0));
    EXPECT_EQ(E_INVALIDARG, card->ReadEeprom(bytes, 250, &count));
    count = 0;
    EXPECT_EQ(E_INVALIDARG, card->WriteEeprom(bytes, 0, &count, 0));
    EXPECT_EQ(E_POINTER, card->WriteEeprom(nullptr, 0, &count, 0));
    EXPECT_EQ(E_POINTER, card->ReadEeprom(bytes, 0, nullptr));
    EXPECT_EQ(0u, driver.Log().Size());
}

// A byte the EEPROM refuses in the middle of a transfer is reported, and the bytes after it are
// still written; a read that missed a byte fails and counts the bytes read.
TEST_F(TridentCards, UsbEepromReportsTheFirstFailedByteAndCountsTheBytesRead) {
    for (const char* kind : {kIvlen, kYolm}) {
        auto* card = Open<CTridentUsbFilter>(kind, 5, 'P');
        ASSERT_NE(nullptr, card) << kind;
        BYTE bytes[6] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
        Board(0).Eeprom().NackTransfers(2);
        int count = 6;
        EXPECT_TRUE(FAILED(card->WriteEeprom(bytes, 100, &count, 0))) << kind;
        EXPECT_EQ(6, count) << kind;
        const std::vector<BYTE> contents = Board(0).Eeprom().Contents();
        EXPECT_EQ(0x11, contents[100]) << kind;
        EXPECT_EQ(0x66, contents[105]) << kind;  // written after the failure

        BYTE back[6] = {};
        Board(0).Eeprom().NackTransfers(0);
        count = 6;
        EXPECT_TRUE(FAILED(card->ReadEeprom(back, 100, &count))) << kind;
        EXPECT_EQ(5, count) << kind;
        EXPECT_EQ(0x66, back[5]) << kind;
    }
}

// The card is made even when its access cannot bind; every EEPROM byte then fails.
TEST_F(TridentCards, UsbBoxWhoseAccessFailsIsCreatedAndFailsEveryEepromByte) {
    Load(OneBoardBench(kYolm, 5, 'P').c_str());
    Graph();
    platform::InjectFailure("QueryInterface:IKsPropertySet", 1, E_NOINTERFACE);
    CTridentYolmCardFilter card(nullptr, &CLSID_VideoInputDeviceCategory, kYolm, 0);
    const BOOL opened = card.SetUp();
    platform::ClearFailures();
    ASSERT_TRUE(opened);
    ASSERT_NE(nullptr, card.GetAccess());
    EXPECT_EQ('T', card.GetFactoryLetter());  // the base's fallback tuner
    BYTE byte = 0x12;
    int count = 1;
    EXPECT_TRUE(FAILED(card.WriteEeprom(&byte, 0, &count, 0)));
    EXPECT_TRUE(FAILED(card.ReadEeprom(&byte, 0, &count)));
    EXPECT_EQ(0, count);
}

// ---- the Yolm box ----

TEST_F(TridentCards, YolmWriteMaskedGpioWritesTheValueUnderTheMask) {
    TestCard<CTridentYolmCardFilter> card;
    // Without an access object: 0, not a failure code.
    EXPECT_EQ(0, card.WriteMaskedGpio(0x100, 0x100));
    auto* access = new GpioRecorder;
    card.Bind(access, ACCESS_KIND_TRIDENT_YOLM);
    EXPECT_EQ(1, card.WriteMaskedGpio(0x100, 0x100));
    EXPECT_EQ((std::vector<std::pair<DWORD, DWORD>>{{0x100, 0x100}}), access->writes);
    EXPECT_EQ(1, card.WriteMaskedGpio(0x4, 0x0));  // mask first, value second
    EXPECT_EQ((std::pair<DWORD, DWORD>{0x0, 0x4}), access->writes.back());
    access->result = E_FAIL;
    EXPECT_EQ(0, card.WriteMaskedGpio(0x100, 0x100));
}

TEST_F(TridentCards, YolmWriteMaskedGpioOnTheBoxDrivesALineAndRefusesOthers) {
    auto* card = Open<CTridentYolmCardFilter>(kYolm, 5, 'P');
    ASSERT_NE(nullptr, card);
    hwsim::KsDriver& driver = Driver(Board(0));
    driver.Log().Clear();
    EXPECT_EQ(1, card->WriteMaskedGpio(2, 1));  // the bridge's mask is a line number
    EXPECT_EQ(1u, Commands(driver).size());
    driver.Log().Clear();
    EXPECT_EQ(0, card->WriteMaskedGpio(0x100, 0x100));  // no line 0x100 on this bridge: nothing sent
    EXPECT_EQ(0u, driver.Log().Size());
    EXPECT_TRUE(card->SendGPIOCommand(1, 2, 0));
}

TEST_F(TridentCards, YolmCrossbarRoutesSourceOneToVideoOneAndAudioFive) {
    Load(OneBoardBench(kYolm, 5, 'P').c_str());
    auto* crossbar = dynamic_cast<CTridentYolmCrossbarFilter*>(OpenDevice(AM_KSCATEGORY_CROSSBAR, "Trident Yolm Crossbar"));
    ASSERT_NE(nullptr, crossbar);
    ASSERT_TRUE(crossbar->SetVideoInput(1));
    ASSERT_TRUE(crossbar->SetAudioInput(1));
    EXPECT_EQ(1, Board(0).VideoRoute());
    EXPECT_EQ(5, Board(0).AudioRoute());
    EXPECT_EQ(hwsim::Card::Source::Composite, Board(0).VideoSource());
    EXPECT_EQ(hwsim::Card::Source::Composite, Board(0).AudioSource());
}

TEST_F(TridentCards, CrossbarsAndTvAudioDevicesGetTheirClasses) {
    Load(OneBoardBench(kIvlen, 5, 'P').c_str());
    EXPECT_NE(nullptr, dynamic_cast<CTridentUsbCrossbarFilter*>(OpenDevice(AM_KSCATEGORY_CROSSBAR, "Ivlen Crossbar")));
    auto* audio = dynamic_cast<CTridentUsbTvAudioFilter*>(OpenDevice(AM_KSCATEGORY_TVAUDIO, "Ivlen TvAudio"));
    ASSERT_NE(nullptr, audio);
    long mode = 0;
    EXPECT_TRUE(audio->GetTVAudioMode(&mode));

    Load(OneBoardBench(kYolm, 5, 'P').c_str());
    EXPECT_NE(nullptr, dynamic_cast<CTridentYolmTvAudioFilter*>(OpenDevice(AM_KSCATEGORY_TVAUDIO, "Trident Yolm TvAudio")));

    Load(OneBoardBench(kRiriRir, 133).c_str());
    auto* pci = dynamic_cast<CTridentCrossbarFilter*>(OpenDevice(AM_KSCATEGORY_CROSSBAR, "RiriRir Crossbar"));
    ASSERT_NE(nullptr, pci);
    EXPECT_EQ(6, pci->GetAudioRoute(2));
}

// ---- the service operations ----

TEST_F(TridentCards, EachCardKnowsItsEepromMark) {
    auto* pci = Open<CTridentFilter>(kRiriRir, 133, 0, 0x46);
    ASSERT_NE(nullptr, pci);
    EXPECT_TRUE(pci->IsEepromMarkF());
    Poke(Board(0), 3, {0x80});
    EXPECT_FALSE(pci->IsEepromMarkF());

    auto* ivlen = Open<CTridentUsbFilter>(kIvlen, 5, 'P', 0x80);
    ASSERT_NE(nullptr, ivlen);
    EXPECT_TRUE(ivlen->IsEepromMark80());
    Poke(Board(0), 3, {0x81});
    EXPECT_FALSE(ivlen->IsEepromMark80());

    auto* yolm = Open<CTridentYolmCardFilter>(kYolm, 5, 'P', 0x81);
    ASSERT_NE(nullptr, yolm);
    EXPECT_TRUE(yolm->IsEepromMark81());
    Poke(Board(0), 3, {0x80});
    EXPECT_FALSE(yolm->IsEepromMark81());
    EXPECT_EQ(0x80, yolm->ReadEepromByte7());

    TestCard<CTridentYolmCardFilter> unbound;
    EXPECT_EQ(0, unbound.ReadEepromByte7());
}

TEST_F(TridentCards, MaxUyvySizeSkipsCapabilitiesWithoutAStandard) {
    struct Row {
        const char* kind;
        SIZE size;
    };
    for (const Row& row : {Row{kRiriRir, {720, 576}}, Row{kIvlen, {704, 576}}, Row{kYolm, {720, 480}}}) {
        auto* card = Open<CTridentServiceFilter>(row.kind, 5, 'P');
        ASSERT_NE(nullptr, card) << row.kind;
        SIZE size = {};
        ASSERT_TRUE(card->GetMaxUyvySize(&size)) << row.kind;
        EXPECT_EQ(row.size.cx, size.cx) << row.kind;
        EXPECT_EQ(row.size.cy, size.cy) << row.kind;
        EXPECT_FALSE(card->GetMaxUyvySize(nullptr)) << row.kind;
    }
    TestCard<CTridentFilter> unbound;
    SIZE size = {};
    EXPECT_FALSE(unbound.GetMaxUyvySize(&size));
}

TEST_F(TridentCards, CaptureFormatTakesTheTemplateWithTheImageSizeOfItsFormat) {
    auto* card = Open<CTridentFilter>(kRiriRir, 133);
    ASSERT_NE(nullptr, card);
    VIDEOINFOHEADER format = {};
    format.AvgTimePerFrame = 400000;
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = 320;
    format.bmiHeader.biHeight = 240;
    format.bmiHeader.biPlanes = 1;
    struct Row {
        int code;
        GUID subtype;
        WORD bits;
    };
    for (const Row& row : {Row{4, MEDIASUBTYPE_YV12, 12}, Row{1, MEDIASUBTYPE_RGB24, 24}, Row{9, MEDIASUBTYPE_UYVY, 16},
                           Row{-1, MEDIASUBTYPE_UYVY, 16}}) {
        format.bmiHeader.biBitCount = row.bits;
        format.bmiHeader.biSizeImage = 1;  // replaced
        ASSERT_EQ(S_OK, card->SetCaptureFormat(row.code, &format, 1)) << row.code;
        AM_MEDIA_TYPE* type = nullptr;
        ASSERT_EQ(S_OK, card->FindStreamConfig(&type, 1)) << row.code;
        EXPECT_TRUE(IsEqualGUID(row.subtype, type->subtype)) << row.code;
        const auto* set = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
        EXPECT_EQ(320, set->bmiHeader.biWidth) << row.code;
        EXPECT_EQ(400000, set->AvgTimePerFrame) << row.code;
        // 12-bit YV12: 320 x 240 x 1.5 bytes, not 320 x 240 x (12 / 8).
        EXPECT_EQ(DibImageSize(format.bmiHeader), set->bmiHeader.biSizeImage) << row.code;
        if (row.bits == 12) {
            EXPECT_EQ(115200u, set->bmiHeader.biSizeImage);
        }
        DeleteMediaType(type);
    }
    EXPECT_EQ(E_POINTER, card->SetCaptureFormat(2, nullptr, 1));
    TestCard<CTridentFilter> unbound;
    EXPECT_EQ(S_FALSE, unbound.SetCaptureFormat(2, &format, 1));
}

// A card on a filter of the test's own, in the graph.
class FilterCard : public CTridentFilter {
public:
    FilterCard(CRootGraph* graph, IBaseFilter* filter) : CTridentFilter(nullptr, CLSID_NULL) {
        m_pGraph = graph;
        m_pFilter = filter;
    }
};

TEST_F(TridentCards, CaptureFormatRefusesAFormatBlockShorterThanAVideoInfoHeader) {
    VIDEOINFOHEADER video = {};
    video.bmiHeader.biWidth = 640;
    const platform::dshow::MediaType shortType(MEDIATYPE_Video, MEDIASUBTYPE_UYVY, FORMAT_VideoInfo, &video, 20);
    auto* filter = new platform::dshow::FilterBase(CLSID_NULL);
    CComPtr<platform::dshow::PinBase> pin;
    pin.Attach(new platform::dshow::CapabilityPin(
        filter, platform::dshow::PinDescription{PINDIR_OUTPUT, L"Out", L"", PIN_CATEGORY_CAPTURE, {}},
        {{shortType, std::vector<BYTE>(sizeof(VIDEO_STREAM_CONFIG_CAPS))}}));
    filter->AddPin(pin);
    CComPtr<IBaseFilter> device;
    device.Attach(filter);
    ASSERT_EQ(S_OK, Graph().GetGraphBuilder()->AddFilter(device, L"Short"));
    FilterCard card(&Graph(), device);
    VIDEOINFOHEADER format = {};
    format.bmiHeader.biWidth = 320;
    format.bmiHeader.biHeight = 240;
    format.bmiHeader.biBitCount = 16;
    EXPECT_EQ(E_INVALIDARG, card.SetCaptureFormat(6, &format, 1));
}

TEST_F(TridentCards, BridgeRegistersAnswerTheirTests) {
    auto* card = Open<CTridentUsbFilter>(kIvlen, 5, 'P');
    ASSERT_NE(nullptr, card);
    ASSERT_TRUE(card->WriteBridgeRegister(0x3A, 0x01));
    EXPECT_FALSE(card->TestBridgeReg3A());
    ASSERT_TRUE(card->WriteBridgeRegister(0x3A, 0x02));
    EXPECT_TRUE(card->TestBridgeReg3A());
    ASSERT_TRUE(card->WriteBridgeRegister(0x3C, 0x01));
    EXPECT_TRUE(card->TestBridgeReg3C());
    ASSERT_TRUE(card->WriteBridgeRegister(0x3C, 0x00));
    EXPECT_FALSE(card->TestBridgeReg3C());
    ASSERT_TRUE(card->WriteBridgeReg80(0x5A));
    BYTE value = 0;
    ASSERT_TRUE(card->ReadBridgeRegister(0x80, &value));
    EXPECT_EQ(0x5A, value);

    // A failed read counts as passed (the tests are kept as they are); so does a card without
    // access, which writes nothing.
    Board(0).Unplug();
    EXPECT_TRUE(card->TestBridgeReg3A());
    EXPECT_TRUE(card->TestBridgeReg3C());
    EXPECT_FALSE(card->WriteBridgeReg80(0x5A));
    TestCard<CTridentUsbFilter> unbound;
    EXPECT_TRUE(unbound.TestBridgeReg3A());
    EXPECT_TRUE(unbound.TestBridgeReg3C());
    EXPECT_FALSE(unbound.WriteBridgeReg80(0));
    EXPECT_FALSE(unbound.AckRemoteKey());
}

TEST_F(TridentCards, RemoteKeysComeFromTheI2CControllerAndAreAcknowledged) {
    for (const char* kind : {kRiriRir, kIvlen, kYolm}) {
        auto* card = Open<CTridentServiceFilter>(kind, 5, 'P');
        ASSERT_NE(nullptr, card) << kind;
        hwsim::I2CKeyController& keys = Board(0).KeyController();
        BYTE key = 0;
        EXPECT_FALSE(card->GetRemoteData(&key)) << kind;
        Board(0).PressKey(0x2A);
        ASSERT_TRUE(card->GetRemoteData(&key)) << kind;
        EXPECT_EQ(0x2A, key) << kind;
        EXPECT_FALSE(card->GetRemoteData(&key)) << kind;  // one press, one key
        keys.Poke(0x30, 2);                                 // not 1: no key
        EXPECT_FALSE(card->GetRemoteData(&key)) << kind;

        // The acknowledge writes 0xFF to the key register, which clears a waiting key.
        keys.Poke(0x30, 0);
        Board(0).PressKey(0x17);
        ASSERT_TRUE(keys.KeyWaiting()) << kind;
        EXPECT_TRUE(card->AckRemoteKey()) << kind;
        EXPECT_FALSE(keys.KeyWaiting()) << kind;
    }
}

}  // namespace
