// The USB encoder box on the WIS GO7007SB ("Jorsk A/V Capture"): its driver and capture filter.
#include "hwsim/boards/WisBox.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "dvdmedia.h"
#include "hwsim/bench/BenchSpec.h"
#include "hwsim/boards/WisEncoderCapabilities.h"
#include "hwsim/drivers/DriverInterface.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "platform/durablefile.h"
#include "platform/runtime.h"
#include "wisdriver.h"
#include "wisencodercontrol.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;
using platform::dshow::StreamCapability;

namespace {

class EncoderControl : public DriverInterface<IWisEncoderControl> {
public:
    EncoderControl(IUnknown* filter, WisBoxDriver& driver) : DriverInterface(filter), m_driver(driver) {}
    STDMETHODIMP GetCurrentConfig(EncoderConfig* config) override { return m_driver.GetCurrentConfig(config); }
    STDMETHODIMP Reserved4() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved5() override { return E_NOTIMPL; }
    STDMETHODIMP GetCapabilities(EncoderCapabilities* caps) override { return m_driver.GetCapabilities(caps); }

private:
    WisBoxDriver& m_driver;
};

class FormatExtension : public DriverInterface<IWisFormatExtension> {
public:
    FormatExtension(IUnknown* filter, WisBoxDriver& driver) : DriverInterface(filter), m_driver(driver) {}
    STDMETHODIMP SetFormatExtension(TCFG_FORMAT_EXTENSION* extension, DWORD* result) override {
        return m_driver.SetFormatExtension(extension, result);
    }

private:
    WisBoxDriver& m_driver;
};

// The MPEG-4 capabilities' biCompression codes, in mpeg4_mode order.
constexpr DWORD kMpeg4Codes[] = {0x04504D57, MAKEFOURCC('D', 'X', '5', '0'), MAKEFOURCC('M', 'P', '4', 'S'),
                                 MAKEFOURCC('D', 'I', 'V', 'X')};

GUID FourccSubtype(DWORD fourcc) {
    return {fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

void FillBitmap(BITMAPINFOHEADER& bmi, LONG width, LONG height, DWORD size, DWORD compression) {
    bmi.biSize = size;
    bmi.biWidth = width;
    bmi.biHeight = height;
    bmi.biPlanes = 1;
    bmi.biBitCount = 12;
    bmi.biCompression = compression;
    bmi.biSizeImage = DWORD(width * height * 3 / 2);
}

VIDEO_STREAM_CONFIG_CAPS VideoCaps(REFGUID formatType, LONG width, LONG height) {
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = formatType;
    caps.InputSize = caps.MinOutputSize = caps.MaxOutputSize = {width, height};
    caps.MinFrameInterval = 333666;
    caps.MaxFrameInterval = 666733;
    caps.MinBitsPerSecond = 300000;
    caps.MaxBitsPerSecond = 9800000;
    return caps;
}

StreamCapability Capability(REFGUID subtype, REFGUID formatType, const std::vector<BYTE>& block, LONG width,
                            LONG height) {
    return StreamCapability::Video(MediaType(MEDIATYPE_Video, subtype, formatType, block.data(), ULONG(block.size())),
                                   VideoCaps(formatType, width, height));
}

// The video pins' capabilities: MPEG-1 at the 352-pixel sizes, then MPEG-2 and the four MPEG-4
// codes at every size.
std::vector<StreamCapability> VideoCapabilities(bool shortBlocks) {
    const size_t room = shortBlocks ? kWisShortBlockRoom : kWisExtensionSize;
    std::vector<StreamCapability> capabilities;
    for (const WisResolutionCapability& r : kWisResolutionCapabilities) {
        const LONG w = LONG(r.width);
        const LONG h = LONG(r.height);
        if (w == 352) {
            std::vector<BYTE> block(offsetof(MPEG1VIDEOINFO, bSequenceHeader) + room);
            auto* hdr = reinterpret_cast<VIDEOINFOHEADER*>(block.data());
            hdr->AvgTimePerFrame = 400000;
            FillBitmap(hdr->bmiHeader, w, h, sizeof(BITMAPINFOHEADER), 0);
            capabilities.push_back(Capability(MEDIASUBTYPE_MPEG1Payload, FORMAT_MPEGVideo, block, w, h));
        }
    }
    for (const WisResolutionCapability& r : kWisResolutionCapabilities) {
        const LONG w = LONG(r.width);
        const LONG h = LONG(r.height);
        std::vector<BYTE> block(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + room);
        auto* info = reinterpret_cast<VIDEOINFOHEADER2*>(block.data());
        info->AvgTimePerFrame = 400000;
        info->dwPictAspectRatioX = 4;
        info->dwPictAspectRatioY = 3;
        FillBitmap(info->bmiHeader, w, h, sizeof(BITMAPINFOHEADER), 0);
        capabilities.push_back(Capability(MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, block, w, h));
    }
    for (DWORD code : kMpeg4Codes) {
        for (const WisResolutionCapability& r : kWisResolutionCapabilities) {
            const LONG w = LONG(r.width);
            const LONG h = LONG(r.height);
            std::vector<BYTE> block(sizeof(VIDEOINFOHEADER) + room);
            auto* hdr = reinterpret_cast<VIDEOINFOHEADER*>(block.data());
            hdr->AvgTimePerFrame = 400000;
            FillBitmap(hdr->bmiHeader, w, h, DWORD(sizeof(BITMAPINFOHEADER) + kWisExtensionSize), code);
            capabilities.push_back(Capability(FourccSubtype(code), FORMAT_VideoInfo, block, w, h));
        }
    }
    return capabilities;
}

std::vector<StreamCapability> AudioCapabilities() {
    std::vector<StreamCapability> capabilities;
    for (DWORD rate : {48000u, 32000u}) {
        AUDIO_STREAM_CONFIG_CAPS caps = {};
        caps.guid = MEDIATYPE_Audio;
        caps.MinimumChannels = caps.MaximumChannels = 2;
        caps.MinimumBitsPerSample = caps.MaximumBitsPerSample = 16;
        caps.MinimumSampleFrequency = caps.MaximumSampleFrequency = ULONG(rate);
        capabilities.push_back(StreamCapability::Audio(platform::dshow::PcmAudioType(2, rate, 16), caps));
    }
    return capabilities;
}

template <size_t N>
void CopyName(char (&field)[N], const std::string& name) {
    std::strncpy(field, name.c_str(), N - 1);
    field[N - 1] = '\0';
}

}  // namespace

// ---- the driver ----

WisBoxDriver::WisBoxDriver(Card& card) : WisDriver(card), m_encoder(card) {}

HRESULT WisBoxDriver::QueryDriverInterface(IUnknown* filter, REFIID riid, void** ppv) {
    if (m_encoder.Refuses<IWisI2C>(riid) || m_encoder.Refuses<IWisEncoderControl>(riid) ||
        m_encoder.Refuses<IWisFormatExtension>(riid)) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    if (IsEqualGUID(riid, IID_IWisEncoderControl)) {
        return DriverInterface<IWisEncoderControl>::Make<EncoderControl>(filter, riid, ppv, *this);
    }
    if (IsEqualGUID(riid, IID_IWisFormatExtension)) {
        return DriverInterface<IWisFormatExtension>::Make<FormatExtension>(filter, riid, ppv, *this);
    }
    return WisDriver::QueryDriverInterface(filter, riid, ppv);
}

HRESULT WisBoxDriver::GetCurrentConfig(EncoderConfig* config) {
    const HRESULT hr = m_encoder.Enter("GetCurrentConfig");
    if (FAILED(hr)) return hr;
    if (!config) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *config = {};
    CopyName(config->profileName, m_profile);
    config->standard = m_standard;
    return S_OK;
}

HRESULT WisBoxDriver::GetCapabilities(EncoderCapabilities* caps) {
    const HRESULT hr = m_encoder.Enter("GetCapabilities");
    if (FAILED(hr)) return hr;
    if (!caps) return E_POINTER;
    *caps = WisEncoderCapabilities();
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_overstated) caps->streamCount = ENCODER_MAX_CAPABILITIES + 1;
    return S_OK;
}

HRESULT WisBoxDriver::SetFormatExtension(TCFG_FORMAT_EXTENSION* extension, DWORD* result) {
    if (!extension || !result) return m_encoder.Enter("SetFormatExtension") == S_OK ? E_POINTER : E_FAIL;
    const HRESULT hr = m_encoder.Enter(
        "SetFormatExtension " + std::to_string(extension->stream.compress_mode) + " " +
        std::to_string(extension->resolution.width) + " " + std::to_string(extension->resolution.height) + " " +
        std::to_string(extension->framerate.frame_rate) + " " + std::to_string(extension->bitrate.target_bitrate));
    if (FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    m_extensions.push_back(*extension);
    *result = 0;
    return S_OK;
}

void WisBoxDriver::SetCurrentProfile(const std::string& name, LONG standard) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_profile = name;
    m_standard = standard;
}

void WisBoxDriver::SetOverstatedCounts(bool on) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_overstated = on;
}

void WisBoxDriver::SetShortFormatBlocks(bool on) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_shortBlocks = on;
}

bool WisBoxDriver::ShortFormatBlocks() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_shortBlocks;
}

std::vector<TCFG_FORMAT_EXTENSION> WisBoxDriver::Extensions() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_extensions;
}

// ---- the filter ----

WisBoxFilter::WisBoxFilter(std::shared_ptr<WisBoxDriver> driver) : With(kWisBoxFilterClsid), m_driver(std::move(driver)) {
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Video In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogVideo, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Audio In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}});
    const bool shortBlocks = m_driver->ShortFormatBlocks();
    const std::pair<const wchar_t*, GUID> videoPins[] = {{L"Video Capture", PIN_CATEGORY_CAPTURE},
                                                         {L"Video Preview", PIN_CATEGORY_PREVIEW}};
    for (const auto& [name, category] : videoPins) {
        CComPtr<platform::dshow::PinBase> pin;
        pin.Attach(new platform::dshow::StreamConfigPin(this, PinDescription{PINDIR_OUTPUT, name, L"", category, {}},
                                                        VideoCapabilities(shortBlocks)));
        AddPin(pin);
    }
    CComPtr<platform::dshow::PinBase> audio;
    audio.Attach(new platform::dshow::StreamConfigPin(
        this, PinDescription{PINDIR_OUTPUT, L"Audio Capture", L"", PIN_CATEGORY_CAPTURE, {}}, AudioCapabilities()));
    AddPin(audio);
}

STDMETHODIMP WisBoxFilter::QueryInterface(REFIID riid, void** ppv) {
    const HRESULT hr = With::QueryInterface(riid, ppv);
    if (hr != E_NOINTERFACE || !ppv) return hr;
    return m_driver->QueryDriverInterface(GetUnknown(), riid, ppv);
}

STDMETHODIMP WisBoxFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    m_driver->GetCard().NoteGraph("capture", pGraph != nullptr);
    return With::JoinFilterGraph(pGraph, pName);
}

void InstallWisProfileFile() {
    const std::filesystem::path folder = std::filesystem::path(platform::StateDir()) / "windows";
    const std::filesystem::path target = folder / "video_profiles.txt";
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) return;
    std::filesystem::create_directories(folder, ec);
    // Made whole or not at all, as the station reads it at a later start.
    std::vector<BYTE> bytes;
    std::string why;
    if (!ReadWholeFile(WisProfileFileSource(), bytes, why, 1u << 20) ||
        !platform::WriteFileDurably(target.string(), bytes.data(), bytes.size(), 0644)) {
        PlatformTrace("hwsim: %s cannot be made: %s\n", target.c_str(), why.empty() ? std::strerror(errno) : why.c_str());
    }
}

}  // namespace hwsim
