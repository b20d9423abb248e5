// The MPEG encoder cards' boards: the I2C remote-key controller, the MPEG-2 box with its key
// controller and crossbar of 5 or 6 pins, the Rivesk and Prisko boards with the driver on the
// tuner device, the TV-audio device between tuner and crossbar, the Prisko encoder device,
// the interleaved capture pin, and the bench fields that choose them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/CardSignal.h"
#include "hwsim/boards/EncoderFilter.h"
#include "hwsim/boards/TVAudioFilter.h"
#include "hwsim/bus/I2CBus.h"
#include "hwsim/chips/I2CKeyController.h"
#include "hwsim/drivers/BoxDriver.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "ksmedia.h"
#include "support/BenchFixture.h"
#include "uuids.h"

namespace hwsim {
namespace {

// ---- the key controller on a bus of its own ----

class I2CKeyControllerTest : public testing::Test {
protected:
    void SetUp() override { bus.Attach(&keys); }
    void TearDown() override { bus.Detach(&keys); }

    BYTE Read(BYTE reg) {
        BYTE value = 0xEE;
        EXPECT_EQ(I2CResult::Ack, bus.ReadSub(0xBA, reg, &value, 1));
        return value;
    }
    void Write(BYTE reg, BYTE value) { EXPECT_EQ(I2CResult::Ack, bus.WriteSub(0xBA, reg, &value, 1)); }

    I2CBus bus;
    I2CKeyController keys{kBoxKeyWiring};
};

TEST_F(I2CKeyControllerTest, OnePressGivesOneKeyAndQueuedKeysFollowInOrder) {
    EXPECT_EQ(0, Read(0x30));
    keys.PressKey(0x2A);
    keys.PressKey(0x07);
    EXPECT_EQ(1u, keys.KeysQueued());
    EXPECT_EQ(1, Read(0x30));
    EXPECT_EQ(1, Read(0x30));  // reading the ready register clears nothing
    EXPECT_EQ(0x2A, Read(0x31));
    EXPECT_EQ(1, Read(0x30));  // the next key at once
    EXPECT_EQ(0x07, Read(0x31));
    EXPECT_EQ(0, Read(0x30));
    EXPECT_EQ(0x07, Read(0x31));  // the key register keeps its byte
    EXPECT_EQ(0, Read(0x30));
}

TEST_F(I2CKeyControllerTest, WritingZeroToReadyOrClearKeyToTheKeyRegisterDropsTheKey) {
    keys.PressKey(0x10);
    Write(0x30, 0);
    EXPECT_FALSE(keys.KeyWaiting());
    keys.PressKey(0x11);
    Write(0x31, 0x05);  // any other byte is stored and keeps the key waiting
    EXPECT_TRUE(keys.KeyWaiting());
    Write(0x31, 0xFF);
    EXPECT_FALSE(keys.KeyWaiting());
    Write(0x40, 0x5A);  // a plain register
    EXPECT_EQ(0x5A, Read(0x40));
}

// ---- the boards on a bench ----

template <class I>
CComPtr<I> Bind(platform::DeviceId device) {
    CComPtr<I> object;
    EXPECT_EQ(S_OK, platform::BindDevice(device, platform::InterfaceTraits<I>::Iid(), reinterpret_cast<void**>(&object)));
    return object;
}

long PinCount(platform::DeviceId device) {
    CComPtr<IBaseFilter> filter = Bind<IBaseFilter>(device);
    CComPtr<IEnumPins> pins;
    EXPECT_EQ(S_OK, filter->EnumPins(&pins));
    long count = 0;
    CComPtr<IPin> pin;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        ++count;
        pin.Release();
    }
    return count;
}

bool HasPin(platform::DeviceId device, const wchar_t* name) {
    CComPtr<IBaseFilter> filter = Bind<IBaseFilter>(device);
    CComPtr<IPin> pin;
    return filter->FindPin(name, &pin) == S_OK;
}

class EncoderBoardsTest : public BenchFixture {
protected:
    void Plug(const std::string& cards) {
        devices.reset();
        bench = Bench::FromText(R"({"cards": [)" + cards + "]}");
        devices = std::make_unique<BenchDevices>(*bench);
    }
    void TearDown() override {
        devices.reset();
        bench.reset();
        BenchFixture::TearDown();
    }
    Card& CardAt(size_t index) { return *bench->Cards()[index]; }

    std::unique_ptr<Bench> bench;
    std::unique_ptr<BenchDevices> devices;
};

TEST_F(EncoderBoardsTest, BoxHasItsKeyControllerEepromAtA2AndACrossbarOfFiveOrSixPins) {
    Plug(R"({"kind": "Vorlane MPEG-2 Box", "keys": [42, 9]}, {"kind": "Vorlane MPEG-2 Box", "crossbarPins": 6})");
    Card& box = CardAt(0);
    EXPECT_NE(nullptr, dynamic_cast<BoxDriver*>(&devices->Driver(box)));
    EXPECT_EQ(0x51, box.Eeprom().Address());
    EXPECT_EQ(0, devices->TunerDevice(box));
    EXPECT_EQ(0x5D, box.KeyController().Address());
    EXPECT_EQ(42, box.KeyController().Peek(0x31));  // the bench's keys, in order
    EXPECT_EQ(1u, box.KeyController().KeysQueued());
    EXPECT_EQ(5, PinCount(devices->CrossbarDevice(box)));
    EXPECT_EQ(6, PinCount(devices->CrossbarDevice(CardAt(1))));
    EXPECT_TRUE(HasPin(devices->CrossbarDevice(CardAt(1)), L"Video Tuner In"));
    EXPECT_FALSE(HasPin(devices->CrossbarDevice(box), L"Video Tuner In"));

    // The box's firmware reads the controller: register 0x31 through a box value request.
    CComPtr<IKsPropertySet> capture = Bind<IKsPropertySet>(devices->CaptureDevice(box));
    BYTE request[9] = {0x5D, 0, 0, 0, 1, 0x31, 0, 0, 0};
    DWORD value = 0;
    DWORD returned = 0;
    ASSERT_EQ(S_OK, capture->Get(kBoxPropertySet, BoxDriver::kRegisterProperty, request, 9, &value, 4, &returned));
    EXPECT_EQ(42u, value);
    EXPECT_EQ(9, box.KeyController().Peek(0x31));  // one press, one key
}

TEST_F(EncoderBoardsTest, UpstreamEncoderCardsPublishTheirDriverOnTheTunerBehindATVAudioDevice) {
    Plug(R"({"kind": "Rivesk Video Capture"}, {"kind": "Prisko Video Capture", "crossbarPins": 9, "interleaved": false})");
    for (size_t i = 0; i < 2; ++i) {
        Card& card = CardAt(i);
        CComPtr<IKsPropertySet> tuner = Bind<IKsPropertySet>(devices->TunerDevice(card));
        DWORD support = 0;
        EXPECT_EQ(S_OK, tuner->QuerySupported(kRiveskPropertySet, 0, &support)) << i;

        platform::DeviceEntry audio;
        ASSERT_TRUE(platform::GetDevice(devices->TVAudioDevice(card), &audio));
        EXPECT_TRUE(IsEqualGUID(AM_KSCATEGORY_TVAUDIO, audio.category));
        ASSERT_EQ(1u, audio.upstream.size());
        EXPECT_EQ(devices->TunerDevice(card), audio.upstream[0].device);
        EXPECT_NE(nullptr, Bind<IAMTVAudio>(devices->TVAudioDevice(card)).p);

        platform::DeviceEntry crossbar;
        ASSERT_TRUE(platform::GetDevice(devices->CrossbarDevice(card), &crossbar));
        ASSERT_EQ(2u, crossbar.upstream.size());
        EXPECT_EQ(devices->TunerDevice(card), crossbar.upstream[0].device);
        EXPECT_EQ(devices->TVAudioDevice(card), crossbar.upstream[1].device);
        EXPECT_EQ(TVAudioFilter::kOutputPin, crossbar.upstream[1].upstreamPin);
    }
    EXPECT_EQ(7, PinCount(devices->CrossbarDevice(CardAt(0))));
    EXPECT_EQ(9, PinCount(devices->CrossbarDevice(CardAt(1))));
    EXPECT_TRUE(HasPin(devices->CaptureDevice(CardAt(0)), L"Interleaved"));
    EXPECT_FALSE(HasPin(devices->CaptureDevice(CardAt(1)), L"Interleaved"));

    EXPECT_EQ(0, devices->EncoderDevice(CardAt(0)));
    platform::DeviceEntry encoder;
    ASSERT_TRUE(platform::GetDevice(devices->EncoderDevice(CardAt(1)), &encoder));
    EXPECT_TRUE(IsEqualGUID(KSCATEGORY_ENCODER, encoder.category));
    EXPECT_EQ(L"Prisko MPEG Encoder", encoder.friendlyName);

    // The encoder device keeps what is set, one buffer as instance and data, in its wire log.
    CComPtr<IKsPropertySet> settings = Bind<IKsPropertySet>(devices->EncoderDevice(CardAt(1)));
    BYTE bytes[4] = {9, 8, 7, 6};
    EXPECT_EQ(S_OK, settings->Set(kEncoderPropertySet, 5, bytes, 4, bytes, 4));
    BYTE back[4] = {};
    DWORD returned = 0;
    EXPECT_EQ(S_OK, settings->Get(kEncoderPropertySet, 5, back, 4, back, 4, &returned));
    EXPECT_EQ(0, std::memcmp(bytes, back, 4));
    EXPECT_EQ(2u, devices->EncoderLog(CardAt(1)).Size());
    EXPECT_EQ(0u, devices->EncoderLog(CardAt(0)).Size());

    CardAt(1).Unplug();
    EXPECT_FALSE(platform::GetDevice(devices->EncoderDevice(CardAt(1)), &encoder));
    EXPECT_FALSE(platform::GetDevice(devices->TVAudioDevice(CardAt(1)), &encoder));
}

TEST_F(EncoderBoardsTest, RoutesPickTheConnectorTheInputCarriesWhateverItsIndexInTheLayout) {
    Plug(R"({"kind": "Rivesk Video Capture", "composite": {"pattern": "grid", "toneHz": 1000}},
            {"kind": "Prisko Video Capture", "crossbarPins": 9, "svideo": {"pattern": "ramp", "toneHz": 500}})");
    // A fresh card is on its tuner, which here receives nothing.
    Card& seven = CardAt(0);
    CComPtr<IAMCrossbar> crossbar = Bind<IAMCrossbar>(devices->CrossbarDevice(seven));
    EXPECT_EQ(Card::Source::Tuner, seven.VideoSource());
    EXPECT_FALSE(CardSignal::Video(seven).HasPicture());
    // Seven pins: composite video is input 2, line audio input 4.
    ASSERT_EQ(S_OK, crossbar->Route(0, 2));
    ASSERT_EQ(S_OK, crossbar->Route(1, 4));
    EXPECT_EQ(Card::Source::Composite, seven.VideoSource());
    EXPECT_TRUE(CardSignal::Video(seven).HasPicture());
    EXPECT_EQ(1000, CardSignal::Audio(seven).toneHz);
    // A crossbar opened again finds the routes the card kept.
    CComPtr<IAMCrossbar> again = Bind<IAMCrossbar>(devices->CrossbarDevice(seven));
    long input = -1;
    ASSERT_EQ(S_OK, again->get_IsRoutedTo(0, &input));
    EXPECT_EQ(2, input);

    // Nine pins: S-video is input 0 (a fresh card's video route), its audio input 6.
    Card& nine = CardAt(1);
    crossbar = Bind<IAMCrossbar>(devices->CrossbarDevice(nine));
    EXPECT_EQ(Card::Source::SVideo, nine.VideoSource());
    EXPECT_TRUE(CardSignal::Video(nine).HasPicture());
    ASSERT_EQ(S_OK, crossbar->Route(1, 6));
    EXPECT_EQ(500, CardSignal::Audio(nine).toneHz);
    // The YRYBY input carries nothing the bench plugs.
    ASSERT_EQ(S_OK, crossbar->Route(0, 3));
    EXPECT_EQ(Card::Source::None, nine.VideoSource());
    EXPECT_FALSE(CardSignal::Video(nine).HasPicture());
}

TEST_F(EncoderBoardsTest, BenchRefusesPinCountsAndInterleavedPinsTheKindCannotHave) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"kind": "Rivesk Video Capture", "crossbarPins": 4})", "crossbarPins: must lie in 5 to 9"},
        {R"({"kind": "DVBC TS Capture", "crossbarPins": 6})", "has no crossbar"},
        {R"({"kind": "Vorlane MPEG-2 Box", "interleaved": false})", "has no interleaved pin"},
        {R"({"kind": "Rivesk Video Capture", "interleaved": 0})", "interleaved: expected true or false"},
    };
    for (const auto& [card, message] : cases) {
        try {
            Plug(card);
            ADD_FAILURE() << "accepted: " << card;
        } catch (const BenchError& error) {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(message)) << error.what();
        }
    }
}

}  // namespace
}  // namespace hwsim
