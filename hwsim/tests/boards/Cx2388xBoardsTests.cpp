// The CX2388x boards: capture, tuner and crossbar devices with the driver's property set on the
// tuner, the bench entry's tuner device name, the EEPROM at 0xA0, the first board's key
// presenter, and the on-board controller in the CX2388x pin layout driven through the driver's
// GPIO requests as the host's access object sends them.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "hwsim/bench/BenchDevices.h"
#include "hwsim/bench/CardKind.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "ksmedia.h"
#include "platform/devicetree.h"
#include "platform/winbase.h"
#include "strmif.h"
#include "support/BenchFixture.h"
#include "uuids.h"

namespace hwsim {
namespace {

using Cx2388xBoards = BenchFixture;

// One board of each CX2388x kind: the kinds whose rows put the driver's set on the tuner.
std::string FiveBoards() {
    std::string cards;
    for (const std::string& kind :
         CaptureNamesWhere([](const CardKind& kind) { return kind.setsOn == SetsOn::Tuner; })) {
        cards += std::string(cards.empty() ? "" : ", ") + R"({"kind": ")" + kind + R"("})";
    }
    return R"({"cards": [)" + cards + "]}";
}

std::wstring Wide(const char* text) { return std::wstring(text, text + std::strlen(text)); }

// The devices of a category with this FriendlyName.
int CountDevices(REFGUID category, const std::wstring& name) {
    int count = 0;
    for (platform::DeviceId id : platform::DevicesInCategory(category)) {
        platform::DeviceEntry entry;
        if (platform::GetDevice(id, &entry) && entry.friendlyName == name) ++count;
    }
    return count;
}

template <class I>
CComPtr<I> Bind(platform::DeviceId device, REFIID riid) {
    CComPtr<I> bound;
    EXPECT_EQ(S_OK, platform::BindDevice(device, riid, reinterpret_cast<void**>(&bound)));
    return bound;
}

// One request buffer of the driver's short layout (instance 24, data 48, the same buffer).
struct Request {
    std::array<BYTE, 56> bytes{};
    void Put(size_t at, DWORD value) { std::memcpy(&bytes[at], &value, sizeof(value)); }
    DWORD At(size_t at) const {
        DWORD value;
        std::memcpy(&value, &bytes[at], sizeof(value));
        return value;
    }
};

// The host side of the lines as the CX2388x access object drives them through the driver: a
// write reads the lines first and keeps the audio lines 12 to 14 unless it names them.
class Host {
public:
    explicit Host(IKsPropertySet* set) : m_set(set) {}

    DWORD Read() {
        Request r;
        r.Put(24, 0x0FFFFFFF);
        EXPECT_EQ(S_OK, m_set->Get(kSaa713xPropertySet, 4, r.bytes.data(), 24, r.bytes.data(), 48, nullptr));
        return r.At(28);
    }
    void Write(DWORD value, DWORD mask) {
        const DWORD keep = Read() & 0x7000 & ~(mask & 0x7000);
        Request r;
        r.Put(24, mask | 0x7000);
        r.Put(28, value | keep);
        EXPECT_EQ(S_OK, m_set->Set(kSaa713xPropertySet, 4, r.bytes.data(), 24, r.bytes.data(), 48));
    }
    // Idle word, the command held 10 ms, idle word.
    void Frame(DWORD command) {
        Write(0x8600, 0x8600);
        Write(command, 0xFF8600);
        Sleep(10);
        Write(0x8600, 0x8600);
    }
    BYTE I2CRead(BYTE address, DWORD sub) {
        Request r;
        r.bytes[24] = address;
        r.Put(28, sub);
        EXPECT_EQ(S_OK, m_set->Get(kSaa713xPropertySet, 2, r.bytes.data(), 32, r.bytes.data(), 56, nullptr));
        return r.bytes[32];
    }

private:
    IKsPropertySet* m_set;
};

TEST_F(Cx2388xBoards, EachBoardPublishesTunerCrossbarAndCaptureWithTheSetOnTheTuner) {
    auto bench = Bench::FromText(FiveBoards());
    BenchDevices devices(*bench);
    for (const auto& card : bench->Cards()) {
        const CardKind& kind = card->Kind();
        const std::string name = kind.captureName;
        EXPECT_EQ(1, CountDevices(KSCATEGORY_TVTUNER, Wide(kind.tunerName))) << name;
        EXPECT_EQ(1, CountDevices(AM_KSCATEGORY_CROSSBAR, Wide(kind.crossbarName))) << name;
        EXPECT_EQ(1, CountDevices(CLSID_VideoInputDeviceCategory, Wide(kind.captureName))) << name;

        DWORD support = 0;
        auto tuner = Bind<IKsPropertySet>(devices.TunerDevice(*card), IID_IKsPropertySet);
        ASSERT_NE(nullptr, tuner.p) << name;
        EXPECT_EQ(S_OK, tuner->QuerySupported(kSaa713xPropertySet, 4, &support)) << name;
        EXPECT_EQ(KsDriver::kSupportGet | KsDriver::kSupportSet, support) << name;
        EXPECT_EQ(E_PROP_ID_UNSUPPORTED, tuner->QuerySupported(kSaa713xPropertySet, 5, &support)) << name;
        CComPtr<IKsPropertySet> capture;
        if (SUCCEEDED(platform::BindDevice(devices.CaptureDevice(*card), IID_IKsPropertySet,
                                           reinterpret_cast<void**>(&capture)))) {
            EXPECT_TRUE(FAILED(capture->QuerySupported(kSaa713xPropertySet, 4, &support))) << name;
        }

        // The EEPROM answers at 0xA0 on the card's bus, through the tuner's set.
        card->Eeprom().Poke(0x42, 0x5A);
        EXPECT_EQ(0x5A, Host(tuner).I2CRead(0xA0, 0x42)) << name;
        EXPECT_EQ(0xA0 >> 1, card->Eeprom().Address()) << name;

        auto crossbar = Bind<IAMCrossbar>(devices.CrossbarDevice(*card), IID_IAMCrossbar);
        long outputs = 0;
        long inputs = 0;
        ASSERT_EQ(S_OK, crossbar->get_PinCounts(&outputs, &inputs)) << name;
        EXPECT_EQ(2, outputs) << name;
        EXPECT_EQ(7, inputs) << name;
        for (long video : {1, 2, 0}) EXPECT_EQ(S_OK, crossbar->Route(0, video)) << name;
        for (long audio : {4, 5, 6}) EXPECT_EQ(S_OK, crossbar->Route(1, audio)) << name;
        EXPECT_EQ(S_FALSE, crossbar->CanRoute(1, 1)) << name;

        if (name == "Conexant 2388x Video Capture") {
            EXPECT_THROW(card->Controller(), std::logic_error);
            EXPECT_EQ(LowBitKeyPresenter::kLines, card->Bridge().PinLevels() & 0x1FF);
        } else {
            EXPECT_STREQ("CX2388x", card->Controller().Layout().name) << name;
        }
    }
}

TEST_F(Cx2388xBoards, BenchEntryNamesTheTunerDeviceOrTakesItAway) {
    auto bench = Bench::FromText(R"json({"cards": [
        {"kind": "Yelvin Capture Card", "tunerDevice": "Yelvin Tuner (1)"},
        {"kind": "2388x Video Capture", "tunerDevice": null}]})json");
    BenchDevices devices(*bench);
    EXPECT_STREQ("Yelvin Tuner (1)", bench->Cards()[0]->TunerDeviceName());
    EXPECT_EQ(1, CountDevices(KSCATEGORY_TVTUNER, L"Yelvin Tuner (1)"));
    EXPECT_EQ(0, CountDevices(KSCATEGORY_TVTUNER, L"Yelvin Tuner"));
    EXPECT_EQ(nullptr, bench->Cards()[1]->TunerDeviceName());
    EXPECT_EQ(0, devices.TunerDevice(*bench->Cards()[1]));
    EXPECT_EQ(0, CountDevices(KSCATEGORY_TVTUNER, L"2388x Tuner"));
    platform::DeviceEntry crossbar;
    ASSERT_TRUE(platform::GetDevice(devices.CrossbarDevice(*bench->Cards()[1]), &crossbar));
    EXPECT_TRUE(crossbar.upstream.empty());

    for (const char* text : {R"({"cards": [{"kind": "Yelvin Capture Card", "tunerDevice": ""}]})",
                             R"({"cards": [{"kind": "Yelvin Capture Card", "tunerDevice": 1}]})",
                             R"({"cards": [{"kind": "DVBC TS Capture", "tunerDevice": "Tuner"}]})"}) {
        EXPECT_THROW(Bench::FromText(text), BenchError) << text;
    }
}

TEST_F(Cx2388xBoards, ControllerAnswersOnTheLinesTheHostHoldsHighForAFewSamples) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "Yelvin Capture Card"}]})");
    BenchDevices devices(*bench);
    Card& card = *bench->Cards()[0];
    OnboardController& controller = card.Controller();
    auto tuner = Bind<IKsPropertySet>(devices.TunerDevice(card), IID_IKsPropertySet);
    Host host(tuner);
    host.Write(0x5000, 0x7000);  // an audio source the frames must keep

    host.Frame(0x120400);
    host.Frame(0x340200);
    EXPECT_EQ(0x1234, controller.TimerWord());

    // The answer of "read high": the high-byte phase and the strobe low, over the idle word's
    // request and phase lines, for the answer's samples; then the idle lines again.
    host.Frame(0x010600);
    for (int sample = 0; sample < OnboardController::kAnswerSamples; ++sample) {
        const DWORD word = host.Read();
        EXPECT_EQ(0x400u, word & 0xE00) << sample;
        EXPECT_EQ(0x12u, (word >> 16) & 0xFF) << sample;
        EXPECT_EQ(0x8000u, word & 0x8000) << sample;
    }
    EXPECT_EQ(0xE00u, host.Read() & 0xE00);

    host.Frame(0x330600);
    EXPECT_EQ(0xCAu, (host.Read() >> 16) & 0xFF);
    EXPECT_TRUE(controller.TimerOn());
    host.Read();
    host.Read();

    // A key: the command phase, strobe low, the key's inverse on lines 16 to 23.
    controller.PressKey(0x3C);
    for (int sample = 0; sample < OnboardController::kKeySamples; ++sample) {
        const DWORD word = host.Read();
        EXPECT_EQ(0x600u, word & 0xE00) << sample;
        EXPECT_EQ(0x3C, static_cast<BYTE>(~(word >> 16))) << sample;
    }
    EXPECT_EQ(0xE00u, host.Read() & 0xE00);
    EXPECT_EQ(0u, controller.PendingKeys());

    EXPECT_EQ(0, controller.Refusals()) << controller.Log().back();
    EXPECT_EQ(5u, controller.AudioLines());
}

TEST_F(Cx2388xBoards, HostHoldingTheRequestLineLowShowsNoKey) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "2388x Video Capture", "keys": [7]}]})");
    BenchDevices devices(*bench);
    Card& card = *bench->Cards()[0];
    auto tuner = Bind<IKsPropertySet>(devices.TunerDevice(card), IID_IKsPropertySet);
    Host host(tuner);
    host.Write(0x8600, 0x8600);
    host.Write(0x070600, 0xFF8600);  // a command word, not let go
    for (int i = 0; i < 5; ++i) EXPECT_NE(0x600u, host.Read() & 0xE00);
    EXPECT_EQ(1u, card.Controller().PendingKeys());
    // Let go without a hold long enough: refused, and then the key shows.
    host.Write(0x8600, 0x8600);
    EXPECT_EQ(1, card.Controller().Refusals());
    EXPECT_EQ(0x600u, host.Read() & 0xE00);
}

}  // namespace
}  // namespace hwsim
