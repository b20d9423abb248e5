// The card base on a driver filter: which access it picks for which driver, the base card
// opened on a board of each access kind, the driver's identity word, the capture format, the video standard and
// picture controls of the decoder, the registry's card classes, and an unplugged board.
#include <dibsize.h>
#include <gtest/gtest.h>

#include "support/CardBench.h"
#include "support/TestBoard.h"
#include "support/RemoteControlHolder.h"
#include "access/KsDeviceControlAccess.h"
#include "hwsim/drivers/KsDeviceControlDriver.h"
#include "cards/base/CardFilterClasses.h"
#include "graph/FilterClassRecord.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/QelCardFilter.h"
#include "hwsim/boards/TunerFilter.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/dshow/FilterBase.h"
#include "platform/runtime.h"

namespace {

constexpr GUID kDeviceControlSet = {0xC44A1A10, 0x0A37, 0x11D2, {0x83, 0x28, 0x00, 0x60, 0x97, 0xBA, 0x83, 0xAB}};
DEFINE_DSHOW_GUID(kTestDriverClsid, 0x0E10);

// A driver filter that publishes one property set (or none), answering every request with
// success.
class OneSetFilter : public platform::dshow::FilterBase {
public:
    explicit OneSetFilter(GUID set) : FilterBase(kTestDriverClsid) {
        if (IsEqualGUID(set, GUID_NULL)) return;
        Properties().AddSet(
            set, [](platform::dshow::KsPropertyRequest&) { return S_OK; },
            [](ULONG, DWORD* support) {
                *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
                return S_OK;
            });
    }
};

class CardBase : public CardBench {
protected:
    void TearDown() override {
        for (platform::DeviceId id : m_devices) platform::RemoveDevice(id);
        CardBench::TearDown();
    }
    // A plain card object on a device of the video-input category that publishes `set`.
    std::unique_ptr<CTVCardFilter> CardOnDriverWith(GUID set, const wchar_t* name) {
        m_devices.push_back(platform::AddDevice({CLSID_VideoInputDeviceCategory, name,
                                                 [set](REFIID riid, void** ppv) {
                                                     return platform::CreateComObject<OneSetFilter>(riid, ppv, set);
                                                 }}));
        std::string narrow(name, name + wcslen(name));
        return std::make_unique<CTVCardFilter>(&Graph(), &CLSID_VideoInputDeviceCategory, narrow.c_str(), 0);
    }

private:
    std::vector<platform::DeviceId> m_devices;
};

TEST_F(CardBase, AccessSetUpFollowsThePropertySetsOfTheDriver) {
    // A driver that answers the device-control set but gives no kernel handle: the access
    // cannot bind, and nothing is recorded.
    auto control = CardOnDriverWith(kDeviceControlSet, L"Device Control Capture");
    ASSERT_TRUE(control->IsValid());
    EXPECT_EQ(E_INVALIDARG, control->InitAccess());
    EXPECT_EQ(ACCESS_KIND_NONE, control->GetAccessKind());
    EXPECT_EQ(nullptr, control->GetAccess());
    EXPECT_FALSE(control->Create());

    auto neither = CardOnDriverWith(GUID_NULL, L"Plain Capture");
    ASSERT_TRUE(neither->IsValid());
    EXPECT_EQ(E_FAIL, neither->InitAccess());
    EXPECT_EQ(ACCESS_KIND_NONE, neither->GetAccessKind());
    EXPECT_FALSE(neither->Create());

    TestCard<CTVCardFilter> unbound;
    EXPECT_EQ(E_POINTER, unbound.InitAccess());
    EXPECT_FALSE(unbound.Create());
}

TEST_F(CardBase, BaseCardOpensAPropertySetBoardWithKind2) {
    Poke(QelBoard(), 0x20, {'T', 5});
    CTVCardFilter card(&Graph(), &CLSID_VideoInputDeviceCategory, "713x_4 TV Card Capture", 0);
    ASSERT_TRUE(card.SetUp());
    EXPECT_EQ(ACCESS_KIND_KS_PROPERTY, card.GetAccessKind());
    EXPECT_EQ(5, card.GetTuner()->GetModelCode());
    EXPECT_EQ(1, card.GetTuner()->GetOwnerCard() == &card);
}

// The card class's view of the direct-access flag.
class DirectAccessCard : public CTVCardFilter {
public:
    using CTVCardFilter::CTVCardFilter;
    int DirectAccess() const { return m_bDirectAccess; }
};

TEST_F(CardBase, BaseCardOpensADeviceControlBoardWithKind1) {
    hwsim::TestBoard board(5);
    auto& driver = board.Fit<hwsim::KsDeviceControlDriver>(false);
    Poke(board.GetCard(), 0x20, {'T', 5});
    board.Plug();
    DirectAccessCard card(&Graph(), &CLSID_VideoInputDeviceCategory, "Test Board Capture", 0);
    EXPECT_EQ(1, card.DirectAccess());
    ASSERT_TRUE(card.SetUp());
    EXPECT_EQ(ACCESS_KIND_DEVICE_CONTROL, card.GetAccessKind());
    EXPECT_EQ(0, card.DirectAccess());
    EXPECT_NE(nullptr, dynamic_cast<CKsDeviceControlAccess*>(card.GetAccess()));
    ASSERT_NE(nullptr, card.GetTuner());
    EXPECT_EQ(5, card.GetTuner()->GetModelCode());
    // Opened with TRUE; no option is sent.
    const std::vector<std::string> lines = driver.Log().Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ("QuerySupported DC.4 [0/0] -> S_OK", lines[0]);
    EXPECT_EQ("Set DC.4 [120/120] open 00 -> S_OK", lines[1]);
    for (const std::string& line : lines) EXPECT_EQ(std::string::npos, line.find("option")) << line;

    // The EEPROM road of the station through the card.
    BYTE image[4] = {0x54, 0x4B, 0x01, 0x02};
    int count = 4;
    EXPECT_EQ(S_OK, card.WriteEeprom(image, 0x80, &count, 0));
    EXPECT_EQ(0x4B, board.GetCard().Eeprom().Peek(0x81));
    BYTE back[4] = {};
    EXPECT_EQ(S_OK, card.ReadEeprom(back, 0x80, &count));
    EXPECT_EQ(0, std::memcmp(image, back, 4));
}

// An open card holds its access object; a second InitAccess is refused at once and the tuner
// keeps the object it uses.
TEST_F(CardBase, EachCardClassRefusesASecondAccessObjectWhileItHoldsOne) {
    CTVCardFilter base(&Graph(), &CLSID_VideoInputDeviceCategory, "713x_4 TV Card Capture", 0);
    ASSERT_TRUE(base.SetUp());
    for (CTVCardFilter* card : {&base, OpenCard(KeshBoard()), OpenCard(QelBoard())}) {
        ASSERT_NE(nullptr, card);
        CCustomDataAccess* held = card->GetAccess();
        ASSERT_NE(nullptr, held);
        const long kind = card->GetAccessKind();
        platform::ClearTrace();
        EXPECT_EQ(E_FAIL, card->InitAccess());
        EXPECT_EQ(held, card->GetAccess());
        EXPECT_EQ(kind, card->GetAccessKind());
        EXPECT_FALSE(platform::TraceContains("Assertion failed"));
        BYTE value = 0;
        int count = 1;
        EXPECT_EQ(S_OK, card->ReadEeprom(&value, 0, &count));
    }
}

TEST_F(CardBase, OpeningWaitsForTheRemoteControlMutex) {
    RemoteControlHolder holder;
    ASSERT_TRUE(holder.Held());
    Driver(QelBoard()).Log().Clear();
    const ULONGLONG start = platform::ClockNow();
    EXPECT_EQ(nullptr, OpenCard(QelBoard()));
    EXPECT_GE(platform::ClockNow() - start, 1000u);
    EXPECT_EQ(0u, Driver(QelBoard()).Log().Size());  // the board was not touched
    holder.Release();
    EXPECT_NE(nullptr, OpenCard(QelBoard()));
}

TEST_F(CardBase, DeviceInfoIsTheDriversIdentityWord) {
    CTVCardFilter* qel = OpenCard(QelBoard());
    ASSERT_NE(nullptr, qel);
    DWORD info = 0;
    EXPECT_TRUE(qel->GetDeviceInfo(&info));
    EXPECT_EQ(DWORD(hwsim::Saa713xPropertyDriver::kDeviceInfoVendor) |
                  (DWORD(hwsim::Saa713xPropertyDriver::kDeviceInfoDevice) << 16),
              info);
    CTVCardFilter* kesh = OpenCard(KeshBoard());  // its driver has no such set
    ASSERT_NE(nullptr, kesh);
    info = 0x55;
    EXPECT_FALSE(kesh->GetDeviceInfo(&info));
    EXPECT_EQ(0x55u, info);
    EXPECT_FALSE(qel->GetDeviceInfo(nullptr));
}

TEST_F(CardBase, CaptureFormatReadAndSetThroughTheCapturePin) {
    CTVCardFilter* card = OpenCard(QelBoard());
    ASSERT_NE(nullptr, card);
    VideoFormatInfo info = {};
    ASSERT_EQ(S_OK, card->GetVideoFormat(&info, 1));
    EXPECT_EQ(2, info.nColorFormat);  // YUY2
    EXPECT_EQ(720, info.bmiHeader.biWidth);
    EXPECT_EQ(576, info.bmiHeader.biHeight);

    info.nColorFormat = 1;  // RGB24
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biSizeImage = 0;
    ASSERT_EQ(S_OK, card->SetVideoFormat(info, 1));
    VideoFormatInfo back = {};
    ASSERT_EQ(S_OK, card->GetVideoFormat(&back, 1));
    EXPECT_EQ(1, back.nColorFormat);
    EXPECT_EQ(720u * 576u * 3u, back.bmiHeader.biSizeImage);

    info.nColorFormat = 5;  // no such code: YUY2
    info.bmiHeader.biBitCount = 16;
    ASSERT_EQ(S_OK, card->SetVideoFormat(info, 1));
    ASSERT_EQ(S_OK, card->GetVideoFormat(&back, 1));
    EXPECT_EQ(2, back.nColorFormat);

    ASSERT_EQ(S_OK, card->GetVideoFormat(&back, 0));  // the preview pin's first type
    EXPECT_EQ(2, back.nColorFormat);
    EXPECT_EQ(E_INVALIDARG, card->GetVideoFormat(nullptr, 1));
}

// The image size of planar formats and of top-down images: |height| rows of whole bytes, each
// row rounded up to 4 bytes.
TEST_F(CardBase, CaptureFormatSizesPlanarAndTopDownImagesByWholeRows) {
    CTVCardFilter* card = OpenCard(QelBoard());
    ASSERT_NE(nullptr, card);
    VideoFormatInfo info = {};
    ASSERT_EQ(S_OK, card->GetVideoFormat(&info, 1));
    struct Case {
        int code;
        WORD bits;
        LONG width, height;
        DWORD size;
    };
    for (const Case& c : {Case{4, 12, 720, -576, 1080u * 576u},  // YV12, top-down
                          Case{4, 12, 90, 72, 136u * 72u},       // YV12: 135 bytes a row, rounded
                          Case{2, 16, 718, -480, 1436u * 480u},  // YUY2, top-down
                          Case{1, 24, 94, 72, 284u * 72u}}) {    // RGB24: 282 bytes a row, rounded
        info.nColorFormat = c.code;
        info.bmiHeader.biBitCount = c.bits;
        info.bmiHeader.biWidth = c.width;
        info.bmiHeader.biHeight = c.height;
        ASSERT_EQ(S_OK, card->SetVideoFormat(info, 1)) << c.code;
        VideoFormatInfo back = {};
        ASSERT_EQ(S_OK, card->GetVideoFormat(&back, 1));
        EXPECT_EQ(c.code, back.nColorFormat);
        EXPECT_EQ(c.size, back.bmiHeader.biSizeImage) << c.code;
    }
}

TEST(DibImageSize, RowsOfWholeBytesRoundedToFourAndNothingForNoWidthOrATooLargeImage) {
    EXPECT_EQ(DibImageSize(1, 1, 1), 4u);
    EXPECT_EQ(DibImageSize(32, -3, 1), 12u);
    EXPECT_EQ(DibImageSize(0, 576, 16), 0u);
    EXPECT_EQ(DibImageSize(-720, 576, 16), 0u);
    EXPECT_EQ(DibImageSize(720, 0, 16), 0u);
    EXPECT_EQ(DibImageSize(0x10000, 0x10000, 32), 0u);
    BITMAPINFOHEADER header = {};
    header.biWidth = 640;
    header.biHeight = -480;
    header.biBitCount = 12;
    EXPECT_EQ(DibImageSize(header), 640u * 480u * 12u / 8u);
}

TEST(CardColorFormat, CodesOfTheSubtypes) {
    const GUID cxf2 = platform::FourCCGuid(MAKEFOURCC('C', 'X', 'F', '2'));
    EXPECT_EQ(8, CTVCardFilter::ColorFormatFromSubtype(cxf2));
    EXPECT_EQ(7, CTVCardFilter::ColorFormatFromSubtype(platform::FourCCGuid(MAKEFOURCC('C', 'X', 'F', '1'))));
    EXPECT_EQ(0, CTVCardFilter::ColorFormatFromSubtype(MEDIASUBTYPE_RGB555));
    EXPECT_EQ(6, CTVCardFilter::ColorFormatFromSubtype(MEDIASUBTYPE_UYVY));
    EXPECT_EQ(-1, CTVCardFilter::ColorFormatFromSubtype(MEDIASUBTYPE_I420));
    for (int code : {0, 1, 2, 3, 4, 6, 7, 8}) {
        EXPECT_EQ(code, CTVCardFilter::ColorFormatFromSubtype(CTVCardFilter::SubtypeFromColorFormat(code)));
    }
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, CTVCardFilter::SubtypeFromColorFormat(5)));
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, CTVCardFilter::SubtypeFromColorFormat(-1)));
}

TEST_F(CardBase, VideoStandardAndPictureControlsOfTheDecoder) {
    CTVCardFilter* card = OpenCard(KeshBoard());
    ASSERT_NE(nullptr, card);
    long available = 0, current = 0;
    ASSERT_EQ(S_OK, card->GetVideoStandard(&available, &current));
    EXPECT_EQ(hwsim::kCardStandards, available);
    EXPECT_EQ(AnalogVideo_PAL_D, current);
    EXPECT_EQ(S_OK, card->SetVideoStandard(AnalogVideo_PAL_I));
    EXPECT_EQ(S_OK, card->GetVideoStandard(nullptr, &current));
    EXPECT_EQ(AnalogVideo_PAL_I, current);

    EXPECT_EQ(S_OK, card->SetProcAmp(VideoProcAmp_Brightness, 200, VideoProcAmp_Flags_Manual));
    long min = 0, max = 0, step = 0, def = 0, caps = 0;
    EXPECT_EQ(S_OK, card->GetProcAmp(VideoProcAmp_Hue, &min, &max, &step, &def, &caps));
    EXPECT_EQ(-128, min);
    EXPECT_EQ(127, max);
    EXPECT_EQ(E_POINTER, card->GetProcAmp(VideoProcAmp_Hue, nullptr, &max, &step, &def, &caps));

    TestCard<CTVCardFilter> bare;
    EXPECT_EQ(E_FAIL, bare.GetVideoStandard(&available, &current));
    EXPECT_EQ(E_FAIL, bare.SetVideoStandard(AnalogVideo_PAL_D));
    DWORD locked = 0;
    EXPECT_EQ(E_FAIL, bare.IsSignalLocked(&locked));
    EXPECT_EQ(E_POINTER, bare.IsSignalLocked(nullptr));
}

TEST_F(CardBase, RegistryMakesTheCardClassOfEachNameOnce) {
    RegisterCardFilterClasses();  // a second registration changes nothing
    int cards = 0;
    for (CFilterClassRecord* record = CFilterClassRecord::GetHead(); record; record = record->GetNext()) {
        if (std::string(record->GetName()) == CKesh713xCardFilter::kCaptureName ||
            std::string(record->GetName()) == CQelCardFilter::kCaptureName) {
            ++cards;
        }
    }
    EXPECT_EQ(2, cards);
    EXPECT_NE(nullptr, dynamic_cast<CKesh713xCardFilter*>(OpenCard(KeshBoard())));
    EXPECT_NE(nullptr, dynamic_cast<CQelCardFilter*>(OpenCard(QelBoard())));
}

TEST_F(CardBase, UnpluggedBoardFailsEveryRequestOfItsCard) {
    CTVCardFilter* card = OpenCard(KeshBoard());
    ASSERT_NE(nullptr, card);
    KeshBoard().Unplug();
    BYTE byte = 0x12;
    int count = 1;
    EXPECT_TRUE(FAILED(card->WriteEeprom(&byte, 0, &count, 0)));
    EXPECT_TRUE(FAILED(card->ReadEeprom(&byte, 0, &count)));
    DWORD locked = 0;
    EXPECT_TRUE(FAILED(card->IsSignalLocked(&locked)));
    BYTE key = 0;
    EXPECT_FALSE(card->GetRemoteData(&key));
    EXPECT_TRUE(FAILED(card->SetAudioSource(1, TRUE)));
    EXPECT_EQ(nullptr, Graph().AddDeviceFilter(CLSID_VideoInputDeviceCategory, "713x BDA Analog Capture", "Again", 0, 0));
}

}  // namespace
