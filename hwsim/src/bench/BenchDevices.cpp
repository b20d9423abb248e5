#include "hwsim/bench/BenchDevices.h"

#include <stdexcept>
#include <string>
#include <string_view>

#include "hwsim/boards/CaptureFilter.h"
#include "hwsim/boards/CrossbarFilter.h"
#include "hwsim/drivers/Kesh713xDriver.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "hwsim/boards/TunerFilter.h"
#include "platform/dshow/VfwCompressorFilter.h"
#include "ksmedia.h"
#include "platform/winuser.h"
#include "uuids.h"

namespace hwsim {

namespace {

struct KindDriver {
    const char* captureName;
    std::shared_ptr<KsDriver> (*make)(Card& card);
};

const KindDriver kDrivers[] = {
    {"713x BDA Analog Capture", [](Card& card) -> std::shared_ptr<KsDriver> { return std::make_shared<Kesh713xDriver>(card); }},
    {"713x_4 TV Card Capture",
     [](Card& card) -> std::shared_ptr<KsDriver> { return std::make_shared<Saa713xPropertyDriver>(card); }},
};

std::shared_ptr<KsDriver> MakeDriver(Card& card) {
    for (const KindDriver& row : kDrivers) {
        if (std::string_view(row.captureName) == card.FriendlyName()) return row.make(card);
    }
    throw std::logic_error(std::string("no simulated driver for ") + card.FriendlyName());
}

// The system's MPEG-4 video compressors, by FriendlyName (two blanks on each side of VKI).
struct VideoCompressor {
    const wchar_t* name;
    DWORD fourcc;
};

const VideoCompressor kVideoCompressors[] = {
    {L"Microsoft MPEG-4  VKI  Codec V1", 0x3447504D},  // MPG4
    {L"Microsoft MPEG-4  VKI  Codec V2", 0x3234504D},  // MP42
    {L"Microsoft MPEG-4  VKI  Codec V3", 0x3334504D},  // MP43
};

std::wstring Wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

// Answers a bind with a new filter made by `make`.
template <class Make>
platform::DeviceFilterFactory Factory(Make make) {
    return [make](REFIID riid, void** ppv) -> HRESULT {
        if (!ppv) return E_POINTER;
        auto* filter = make();
        const HRESULT hr = filter->QueryInterface(riid, ppv);
        filter->Release();
        return hr;
    };
}

}  // namespace

struct BenchDevices::Plugged {
    Card* card = nullptr;
    std::shared_ptr<KsDriver> driver;
    platform::DeviceId tuner = 0;
    platform::DeviceId crossbar = 0;
    platform::DeviceId capture = 0;
    int unplugHook = 0;
};

BenchDevices::BenchDevices(Bench& bench) {
    for (const auto& card : bench.Cards()) {
        auto plugged = std::make_unique<Plugged>();
        plugged->card = card.get();
        plugged->driver = MakeDriver(*card);
        if (card->IsPlugged()) {
            Card* board = card.get();
            std::shared_ptr<KsDriver> driver = plugged->driver;
            plugged->tuner = platform::AddDevice({KSCATEGORY_TVTUNER, Wide(card->Kind().tunerName),
                                                  Factory([board] { return new TunerFilter(*board); }), {},
                                                  kTunerFilterClsid});
            plugged->crossbar = platform::AddDevice({AM_KSCATEGORY_CROSSBAR, Wide(card->Kind().crossbarName),
                                                     Factory([board] { return new CrossbarFilter(*board); }),
                                                     {{plugged->tuner, L"Analog Video", L"Video Tuner In"},
                                                      {plugged->tuner, L"Analog Audio", L"Audio Tuner In"}},
                                                     kCrossbarFilterClsid});
            plugged->capture = platform::AddDevice(
                {CLSID_VideoInputDeviceCategory, Wide(card->FriendlyName()),
                 Factory([driver] { return new CaptureFilter(driver); }),
                 {{plugged->crossbar, L"Video Decoder Out", L"Analog Video In"},
                  {plugged->crossbar, L"Audio Decoder Out", L"Analog Audio In"}},
                 kCaptureFilterClsid});
            const platform::DeviceId tuner = plugged->tuner;
            const platform::DeviceId crossbar = plugged->crossbar;
            const platform::DeviceId capture = plugged->capture;
            plugged->unplugHook = card->OnUnplug([tuner, crossbar, capture] {
                platform::RemoveDevice(capture);
                platform::RemoveDevice(crossbar);
                platform::RemoveDevice(tuner);
                PostMessageA(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
            });
        }
        m_cards.push_back(std::move(plugged));
    }
    for (const SoundCardSpec& sound : bench.SoundCards()) {
        m_soundCards.push_back(std::make_unique<SoundCard>(sound, m_soundCards.empty()));
    }
    for (const VideoCompressor& compressor : kVideoCompressors) {
        const DWORD fourcc = compressor.fourcc;
        m_compressors.push_back(platform::AddDevice(
            {CLSID_VideoCompressorCategory, compressor.name,
             Factory([fourcc] { return new platform::dshow::VfwCompressorFilter(fourcc); })}));
    }
    m_packages = std::make_unique<InstalledPackages>(bench.Packages());
}

BenchDevices::~BenchDevices() {
    m_packages.reset();
    for (platform::DeviceId compressor : m_compressors) platform::RemoveDevice(compressor);
    m_soundCards.clear();
    for (const auto& plugged : m_cards) {
        if (plugged->unplugHook) plugged->card->RemoveUnplugHook(plugged->unplugHook);
        if (plugged->capture) platform::RemoveDevice(plugged->capture);
        if (plugged->crossbar) platform::RemoveDevice(plugged->crossbar);
        if (plugged->tuner) platform::RemoveDevice(plugged->tuner);
    }
}

const BenchDevices::Plugged& BenchDevices::Find(const Card& card) const {
    for (const auto& plugged : m_cards) {
        if (plugged->card == &card) return *plugged;
    }
    throw std::out_of_range(std::string(card.FriendlyName()) + " is not a card of this bench");
}

KsDriver& BenchDevices::Driver(const Card& card) const { return *Find(card).driver; }

platform::DeviceId BenchDevices::CaptureDevice(const Card& card) const { return Find(card).capture; }

platform::DeviceId BenchDevices::CrossbarDevice(const Card& card) const { return Find(card).crossbar; }

platform::DeviceId BenchDevices::TunerDevice(const Card& card) const { return Find(card).tuner; }

}  // namespace hwsim
