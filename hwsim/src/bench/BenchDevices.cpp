// The bench's cards as the PC's device tree lists them: each card's driver with its filters.
#include "hwsim/bench/BenchDevices.h"

#include <stdexcept>
#include <string>
#include <string_view>

#include "hwsim/boards/CaptureFilter.h"
#include "hwsim/boards/CrossbarFilter.h"
#include "hwsim/drivers/DeviceDriver.h"
#include "hwsim/boards/DvbcBoard.h"
#include "hwsim/boards/EmpAudioDevice.h"
#include "hwsim/boards/EncoderFilter.h"
#include "hwsim/boards/TVAudioFilter.h"
#include "hwsim/boards/WisBox.h"
#include "hwsim/drivers/KsDeviceControlDriver.h"
#include "hwsim/boards/TunerFilter.h"
#include "platform/dshow/VfwCompressorFilter.h"
#include "ksmedia.h"
#include "platform/winuser.h"
#include "uuids.h"

namespace hwsim {

namespace {

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

// The links whose upstream device is there.
std::vector<platform::UpstreamLink> Links(std::initializer_list<platform::UpstreamLink> links) {
    std::vector<platform::UpstreamLink> present;
    for (const platform::UpstreamLink& link : links) {
        if (link.device) present.push_back(link);
    }
    return present;
}

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
    platform::DeviceId secondCapture = 0;
    platform::DeviceId tvAudio = 0;
    platform::DeviceId encoder = 0;
    std::unique_ptr<WireLog> encoderLog = std::make_unique<WireLog>();
    int unplugHook = 0;

    // The board's devices in the order they leave the tree: the encoder, the capture filter,
    // then upstream.
    std::vector<platform::DeviceId> Devices() const {
        std::vector<platform::DeviceId> devices;
        for (platform::DeviceId device : {encoder, capture, secondCapture, crossbar, tvAudio, tuner}) {
            if (device) devices.push_back(device);
        }
        return devices;
    }
};

BenchDevices::BenchDevices(Bench& bench) {
    for (const auto& card : bench.Cards()) {
        auto plugged = std::make_unique<Plugged>();
        plugged->card = card.get();
        const CardKind& kind = card->Kind();
        plugged->driver = card->DriverChoice() == "deviceControl" ? std::make_shared<KsDeviceControlDriver>(*card)
                                                                 : kind.makeDriver(*card);
        InstallDeviceServices(plugged->driver);
        if (card->IsPlugged()) {
            Card* board = card.get();
            std::shared_ptr<KsDriver> driver = plugged->driver;
            std::shared_ptr<KsDriver> tunerDriver;
            if (kind.setsOn != SetsOn::Capture) tunerDriver = driver;
            if (kind.setsOn == SetsOn::Tuner) driver = std::make_shared<DeviceDriver>(*card);
            if (const char* tunerName = card->TunerDeviceName()) {
                plugged->tuner = platform::AddDevice(
                    {KSCATEGORY_TVTUNER, Wide(tunerName),
                     Factory([board, tunerDriver] { return new TunerFilter(*board, tunerDriver); }), {},
                     kTunerFilterClsid});
            }
            if (kind.tvAudioName) {
                plugged->tvAudio = platform::AddDevice(
                    {AM_KSCATEGORY_TVAUDIO, Wide(kind.tvAudioName), Factory([board] { return new TVAudioFilter(*board); }),
                     Links({{plugged->tuner, L"Analog Audio", TVAudioFilter::kInputPin}}), kTVAudioFilterClsid});
            }
            if (kind.crossbarName) {
                const platform::UpstreamLink tunerAudio =
                    plugged->tvAudio ? platform::UpstreamLink{plugged->tvAudio, TVAudioFilter::kOutputPin, L"Audio Tuner In"}
                                     : platform::UpstreamLink{plugged->tuner, L"Analog Audio", L"Audio Tuner In"};
                plugged->crossbar = platform::AddDevice({AM_KSCATEGORY_CROSSBAR, Wide(kind.crossbarName),
                                                         Factory([board] { return new CrossbarFilter(*board); }),
                                                         Links({{plugged->tuner, L"Analog Video", L"Video Tuner In"},
                                                                tunerAudio}),
                                                         kCrossbarFilterClsid});
            }
            std::vector<platform::UpstreamLink> upstream;
            if (plugged->crossbar) {
                upstream = {{plugged->crossbar, L"Capture", L"Analog Video In"},
                            {plugged->crossbar, L"Audio Decoder Out", L"Analog Audio In"}};
            }
            auto made = kind.makeCaptureFilter;
            const bool interleaved = card->InterleavedCapture();
            const platform::DeviceEntry captureEntry{
                kind.category ? *kind.category : CLSID_VideoInputDeviceCategory, Wide(card->FriendlyName()),
                made ? Factory([driver, made] { return made(driver); })
                     : Factory([driver, interleaved]() -> platform::dshow::FilterBase* {
                           return new CaptureFilter(driver, interleaved);
                       }),
                upstream, made ? GUID_NULL : kCaptureFilterClsid};
            plugged->capture = platform::AddDevice(captureEntry);
            if (kind.captureDevices > 1) plugged->secondCapture = platform::AddDevice(captureEntry);
            if (kind.encoderName || card->HasEncoder()) {
                WireLog* log = plugged->encoderLog.get();
                const GUID set = kind.encoderSet ? *kind.encoderSet : kEncoderPropertySet;
                plugged->encoder = platform::AddDevice(
                    {KSCATEGORY_ENCODER, kind.encoderName ? Wide(kind.encoderName) : std::wstring(kEncoderDeviceName),
                     Factory([board, log, set] { return new EncoderFilter(*board, *log, set); }),
                     Links({{plugged->capture, L"656", L"656"}, {plugged->capture, L"I2S", L"I2S"}}),
                     kEncoderFilterClsid});
            }
            const std::vector<platform::DeviceId> devices = plugged->Devices();
            plugged->unplugHook = card->OnUnplug([devices] {
                for (platform::DeviceId device : devices) platform::RemoveDevice(device);
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

// The first DVB-C board's chip library is the PC's DM1105 library; the first EMP audio
// device's control object is the one in the class table.
void BenchDevices::InstallDeviceServices(const std::shared_ptr<KsDriver>& driver) {
    if (auto dvbc = std::dynamic_pointer_cast<DvbcDriver>(driver); dvbc && !m_dm1105Installed) {
        platform::InstallDm1105Library(dvbc->SharedLibrary());
        m_dm1105Installed = true;
    }
    if (std::string_view(driver->GetCard().FriendlyName()) == kEmpAudioDeviceName && !m_empControl) {
        m_empControl = RegisterEmpAudioControl(std::static_pointer_cast<DeviceDriver>(driver));
    }
    if (std::dynamic_pointer_cast<WisBoxDriver>(driver)) InstallWisProfileFile();
}

BenchDevices::~BenchDevices() {
    m_packages.reset();
    for (platform::DeviceId compressor : m_compressors) platform::RemoveDevice(compressor);
    m_soundCards.clear();
    if (m_dm1105Installed) platform::InstallDm1105Library(nullptr);
    if (m_empControl) platform::UnregisterComClass(m_empControl);
    for (const auto& plugged : m_cards) {
        if (plugged->unplugHook) plugged->card->RemoveUnplugHook(plugged->unplugHook);
        for (platform::DeviceId device : plugged->Devices()) platform::RemoveDevice(device);
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

platform::DeviceId BenchDevices::SecondCaptureDevice(const Card& card) const { return Find(card).secondCapture; }

platform::DeviceId BenchDevices::CrossbarDevice(const Card& card) const { return Find(card).crossbar; }

platform::DeviceId BenchDevices::TunerDevice(const Card& card) const { return Find(card).tuner; }

platform::DeviceId BenchDevices::TVAudioDevice(const Card& card) const { return Find(card).tvAudio; }

platform::DeviceId BenchDevices::EncoderDevice(const Card& card) const { return Find(card).encoder; }

WireLog& BenchDevices::EncoderLog(const Card& card) const { return *Find(card).encoderLog; }

}  // namespace hwsim
