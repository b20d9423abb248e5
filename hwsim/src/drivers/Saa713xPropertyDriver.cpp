// The driver of the SAA713x TV cards that publish one property set for everything.
#include "hwsim/drivers/Saa713xPropertyDriver.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "platform/winbase.h"

namespace hwsim {

namespace {

struct Property {
    DWORD support;
    DWORD instanceLength;
    DWORD dataLength;
};

constexpr DWORD kGet = KsDriver::kSupportGet;
constexpr DWORD kSet = KsDriver::kSupportSet;

// By property id.
constexpr Property kProperties[] = {
    {kGet, 24, 48},          // 0 device information
    {kSet, 24, 48},          // 1 open
    {kGet | kSet, 32, 56},   // 2 one-byte I2C transfer
    {kSet, 24, 48},          // 3 option
    {kGet | kSet, 24, 48},   // 4 GPIO
    {kGet | kSet, 24, 48},   // 5 32-bit register
    {kGet | kSet, 280, 304}, // 6 I2C block
    {kSet, 24, 48},          // 7 control
    {kSet, 24, 48},          // 8 control
    {kSet, 16, 40},          // 9 control without data
    {kSet, 24, 48},          // 10 control
};

constexpr size_t kPayload = 24;
constexpr size_t kSecond = 28;
constexpr size_t kTransferData = 32;
constexpr size_t kBlockLength = 280;
constexpr DWORD kBlockBytes = 256;
constexpr DWORD kMaxSubAddress = 0xFF;

}  // namespace

const std::vector<DWORD> Saa713xPropertyDriver::kGpioDriverIds = {0, 1, 2, 3, 4, 6};

Saa713xPropertyDriver::Saa713xPropertyDriver(Card& card)
    : Saa713xPropertyDriver(card, kSaa713xPropertySet, "SAA", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) {}

Saa713xPropertyDriver::Saa713xPropertyDriver(Card& card, const GUID& set, const char* name, std::vector<DWORD> ids,
                                             GpioWrite gpioWrite)
    : KsDriver(card), m_set(set), m_name(name), m_ids(std::move(ids)), m_gpioWrite(gpioWrite) {}

const char* Saa713xPropertyDriver::SetName(REFGUID set) const { return IsEqualGUID(set, m_set) ? m_name : nullptr; }

DWORD Saa713xPropertyDriver::Support(REFGUID, DWORD id) const {
    if (id >= std::size(kProperties) || std::find(m_ids.begin(), m_ids.end(), id) == m_ids.end()) return 0;
    return kProperties[id].support;
}

HRESULT Saa713xPropertyDriver::Answer(REFGUID, Request& request) {
    const Property& property = kProperties[request.id];
    if (request.instanceLength != property.instanceLength || request.dataLength != property.dataLength ||
        request.instance != request.data) {
        return E_INVALIDARG;
    }
    BYTE* buffer = request.data;
    switch (request.id) {
    case 0:
        Request::Put<WORD>(buffer, kPayload, kDeviceInfoVendor);
        Request::Put<WORD>(buffer, kPayload + 2, kDeviceInfoDevice);
        request.returned = request.dataLength;
        request.what = WireText("device info %04X %04X", kDeviceInfoVendor, kDeviceInfoDevice);
        return S_OK;
    case 1: {
        const BYTE flag = buffer[kPayload];
        request.what = WireText("open %u", flag);
        return flag <= 1 ? S_OK : E_INVALIDARG;
    }
    case 2: return Transfer(request);
    case 3: request.what = WireText("option %02X", buffer[kPayload]); return S_OK;
    case 4: return Gpio(request);
    case 5: {
        std::lock_guard<std::mutex> lock(m_registerLock);
        request.returned = request.dataLength;
        return BridgeRegister(request, Request::At<DWORD>(buffer, kPayload), buffer + kSecond);
    }
    case 6: return Block(request);
    case 9: request.what = "control 9"; return S_OK;
    case 7: {
        const DWORD handle = Request::At<DWORD>(buffer, kPayload);
        {
            std::lock_guard<std::mutex> lock(m_eventLock);
            m_deviceEvent = handle;
        }
        request.what = WireText("control 7 value %08X", static_cast<unsigned>(handle));
        return S_OK;
    }
    default:
        request.what = WireText("control %u value %08X", static_cast<unsigned>(request.id),
                              static_cast<unsigned>(Request::At<DWORD>(buffer, kPayload)));
        return S_OK;
    }
}

bool Saa713xPropertyDriver::RaiseDeviceEvent() {
    const DWORD handle = DeviceEventHandle();
    if (handle == 0) return false;
    return SetEvent(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle))) != FALSE;
}

DWORD Saa713xPropertyDriver::DeviceEventHandle() const {
    std::lock_guard<std::mutex> lock(m_eventLock);
    return m_deviceEvent;
}

HRESULT Saa713xPropertyDriver::Transfer(Request& request) {
    BYTE* buffer = request.data;
    const DWORD subAddress = Request::At<DWORD>(buffer, kSecond);
    // The bus carries one sub-address byte: a larger one names no register of the chip.
    if (subAddress > kMaxSubAddress) {
        request.what = WireText("i2c %02X sub %X", buffer[kPayload], static_cast<unsigned>(subAddress));
        return E_INVALIDARG;
    }
    request.returned = request.dataLength;
    return SubAddressed(request, buffer[kPayload], static_cast<BYTE>(subAddress), buffer + kTransferData, 1);
}

HRESULT Saa713xPropertyDriver::Gpio(Request& request) {
    BYTE* buffer = request.data;
    const DWORD mask = Request::At<DWORD>(buffer, kPayload);
    const DWORD value = Request::At<DWORD>(buffer, kSecond);
    Saa713x& bridge = GetCard().Bridge();
    if ((mask & ~Saa713x::kGpioLines) != 0 || (!request.IsGet() && (value & ~Saa713x::kGpioLines) != 0)) {
        request.what = WireText("gpio mask %08X value %08X", static_cast<unsigned>(mask), static_cast<unsigned>(value));
        return E_INVALIDARG;
    }
    std::lock_guard<std::mutex> lock(m_registerLock);
    if (request.IsGet()) {
        const DWORD levels = bridge.SampleLines() & mask;
        Request::Put<DWORD>(buffer, kSecond, levels);
        request.returned = request.dataLength;
        request.what = WireText("gpio mask %08X read %08X", static_cast<unsigned>(mask), static_cast<unsigned>(levels));
        return S_OK;
    }
    if (m_gpioWrite == GpioWrite::ReleaseOtherLines) {
        bridge.DriveOnlyHostLines(mask, value);
    } else {
        bridge.DriveHostLines(mask, value);
    }
    request.what = WireText("gpio mask %08X write %08X", static_cast<unsigned>(mask), static_cast<unsigned>(value));
    return S_OK;
}

HRESULT Saa713xPropertyDriver::Block(Request& request) {
    BYTE* buffer = request.data;
    const DWORD length = Request::At<DWORD>(buffer, kBlockLength);
    const DWORD least = request.IsGet() ? 1 : 2;
    if (length < least || length > kBlockBytes) {
        request.what = WireText("block %02X len %u", buffer[kPayload], static_cast<unsigned>(length));
        return E_INVALIDARG;
    }
    if (request.IsGet()) {
        request.returned = request.dataLength;
        return Raw(request, buffer[kPayload], buffer + kPayload, length);
    }
    return Raw(request, buffer[kPayload], buffer + kPayload + 1, length - 1);
}

}  // namespace hwsim
