// The kernel driver of the Lurvan PCI Express dual-tuner board.
#include "hwsim/drivers/PcieDriver.h"

#include "hwsim/boards/CaptureFilter.h"
#include "uuids.h"
#include "ks.h"

namespace hwsim {

namespace {

// The Win32 error DeviceIoControl reports for a driver's answer.
DWORD Win32Error(HRESULT hr) {
    if (SUCCEEDED(hr)) return ERROR_SUCCESS;
    if (hr == kI2CNoAck || hr == kI2CBusStuck) return ERROR_IO_DEVICE;
    if (hr == E_PROP_ID_UNSUPPORTED || hr == E_PROP_SET_UNSUPPORTED) return ERROR_INVALID_PARAMETER;  // unknown code
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return HRESULT_CODE(hr);
    return ERROR_INVALID_PARAMETER;  // refused: E_POINTER, unknown code
}

// The request's first `count` bytes (an I2C request's head) for the wire log.
std::string Head(const BYTE* request, size_t count) { return "request " + HexBytes(request, count); }

}  // namespace

PcieDriver::PcieDriver(Card& card) : KsDriver(card) {
    m_devicePath = WireText("\\\\?\\lurvan#board%d#{4f397d29-7f2f-42a9-ab90-1791384014c4}", card.Instance());
    m_interface = platform::AddDeviceInterface(
        {kPcieInterfaceClass, m_devicePath, [this](DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                                                   DWORD* returned) { return Control(code, in, inSize, out, outSize, returned); }});
    m_unplugHook = card.OnUnplug([this] { RemoveDevices(); });
}

PcieDriver::~PcieDriver() {
    GetCard().RemoveUnplugHook(m_unplugHook);
    RemoveDevices();
}

void PcieDriver::RemoveDevices() {
    std::lock_guard<std::mutex> lock(m_devicesLock);
    if (m_interface) platform::RemoveDeviceInterface(m_interface);
    m_interface = 0;
    for (platform::DeviceId device : m_captureDevices) platform::RemoveDevice(device);
    m_captureDevices.clear();
}

void PcieDriver::PlugCaptureDevices(const std::shared_ptr<PcieDriver>& driver) {
    const std::string name = driver->GetCard().FriendlyName();
    // The tree does not keep the driver alive: the driver takes its devices out when it goes.
    std::weak_ptr<KsDriver> published = driver;
    std::lock_guard<std::mutex> lock(driver->m_devicesLock);
    if (!driver->GetCard().IsPlugged()) return;
    for (int half = 0; half < 2; ++half) {
        driver->m_captureDevices.push_back(platform::AddDevice(
            {CLSID_VideoInputDeviceCategory, std::wstring(name.begin(), name.end()),
             [published](REFIID riid, void** ppv) {
                 std::shared_ptr<KsDriver> live = published.lock();
                 if (!live) return E_FAIL;
                 return platform::CreateComObject<CaptureFilter>(riid, ppv, live);
             },
             {},
             kCaptureFilterClsid}));
    }
}

const char* PcieDriver::SetName(REFGUID set) const { return IsEqualGUID(set, kPcieInterfaceClass) ? "PCIE" : nullptr; }

DWORD PcieDriver::Support(REFGUID, DWORD id) const {
    switch (id) {
    case kI2CRead: return kSupportGet;
    case kI2CWrite:
    case kGpio: return kSupportSet;
    default: return 0;
    }
}

DWORD PcieDriver::Control(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) {
    HRESULT hr;
    if (code == kI2CRead) {
        hr = Get(kPcieInterfaceClass, code, in, inSize, out, outSize, returned);
    } else {
        // Requests without an answer: the request is the data, an answer buffer the instance.
        hr = Set(kPcieInterfaceClass, code, out, outSize, in, inSize);
    }
    return Win32Error(hr);
}

HRESULT PcieDriver::Answer(REFGUID, Request& request) {
    switch (request.id) {
    case kI2CRead: return Read(request);
    case kI2CWrite: return Write(request);
    default: return Gpio(request);
    }
}

HRESULT PcieDriver::Read(Request& request) {
    const BYTE* in = request.instance;
    if (!in || request.instanceLength != kReadSize) return E_INVALIDARG;
    request.what = Head(in, 5);
    const BYTE device = in[0];
    const BYTE subCount = in[1];
    // A one-byte read names its sub-address count twice and takes a 2-byte answer; its device
    // may be given in either form (the key controller's read address 0xBB).
    const bool subAddressed = (subCount == 1 || subCount == 2) && in[2] == subCount && request.dataLength == 2;
    if ((device & 1) && !subAddressed) {
        const DWORD count = in[2];
        if (count == 0 || request.dataLength != count) return E_INVALIDARG;
        request.returned = count;
        return Raw(request, device, request.data, count);
    }
    if ((subCount != 1 && subCount != 2) || request.dataLength != 2) return E_INVALIDARG;
    request.data[0] = 0;
    request.returned = 2;
    return SubAddressed(request, device, in + 3, subCount, request.data + 1, 1);
}

HRESULT PcieDriver::Write(Request& request) {
    const BYTE* in = request.data;
    if (request.dataLength != kWriteSize || request.instanceLength != 0) return E_INVALIDARG;
    // A sub-addressed byte may name its device in either form, as the Trident boards' driver
    // takes it (the key controller's acknowledge goes to its read address 0xBB).
    const BYTE count = in[1];
    const BYTE device = (in[0] & 1) && count == 2 ? static_cast<BYTE>(in[0] & ~1) : in[0];
    if ((device & 1) || count == 0 || count > kWriteSize - 2) {
        request.what = Head(in, 2);
        return E_INVALIDARG;
    }
    return Raw(request, device, request.data + 2, count);
}

HRESULT PcieDriver::Gpio(Request& request) {
    const BYTE* in = request.data;
    if (request.dataLength != kGpioSize || request.instanceLength != 0) return E_INVALIDARG;
    const BYTE selector = in[0];
    const BYTE level = in[1];
    request.what = WireText("gpio %u level %u", selector, level);
    if ((selector != 3 && selector != 4) || level > 1) return E_INVALIDARG;
    const DWORD line = 1u << selector;
    GetCard().Bridge().DriveHostLines(line, level ? line : 0);
    return S_OK;
}

}  // namespace hwsim
