// A simulated card driver that answers the private KS property sets its capture filter publishes.
#include "hwsim/drivers/KsDriver.h"

#include <cstdarg>
#include <cstdio>

#include "ks.h"

namespace hwsim {

HRESULT I2CResultToHresult(I2CResult result) {
    switch (result) {
    case I2CResult::Ack: return S_OK;
    case I2CResult::Nack: return kI2CNoAck;
    case I2CResult::Stuck: return kI2CBusStuck;
    case I2CResult::Refused: return E_INVALIDARG;
    }
    return E_FAIL;
}

std::string HexBytes(const BYTE* bytes, size_t count) {
    std::string text;
    char hex[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof(hex), i ? " %02X" : "%02X", bytes[i]);
        text += hex;
    }
    return text;
}

std::string WireText(const char* format, ...) {
    char text[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

namespace {

// " 12 34" after the verb of a transfer; nothing for a transfer without data bytes.
std::string Listed(const BYTE* bytes, size_t count) { return count ? " " + HexBytes(bytes, count) : std::string(); }

// The device's address with the direction bit of a write, or of a read.
BYTE WriteForm(BYTE address) { return static_cast<BYTE>(address & 0xFE); }
BYTE ReadForm(BYTE address) { return static_cast<BYTE>(address | 1); }

}  // namespace

KsDriver::KsDriver(Card& card) : m_card(card) {
    m_unplugHook = m_card.OnUnplug([this] { std::unique_lock<std::shared_mutex> drained(m_inFlight); });
}

KsDriver::~KsDriver() { m_card.RemoveUnplugHook(m_unplugHook); }

HRESULT KsDriver::Get(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD dataLength,
                      DWORD* returned) {
    return Handle(WireRequest::Verb::Get, set, id, instance, instanceLength, data, dataLength, returned);
}

HRESULT KsDriver::Set(REFGUID set, DWORD id, void* instance, DWORD instanceLength, void* data, DWORD dataLength) {
    return Handle(WireRequest::Verb::Set, set, id, instance, instanceLength, data, dataLength, nullptr);
}

HRESULT KsDriver::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    WireRequest entry;
    entry.verb = WireRequest::Verb::QuerySupported;
    entry.set = set;
    const char* name = SetName(set);
    entry.setName = name ? name : platform::FormatGuid(set);
    entry.id = id;
    CallHook(entry);

    std::shared_lock<std::shared_mutex> inFlight(m_inFlight);
    if (!m_card.IsPlugged()) {
        entry.result = kDeviceGone;
    } else if (!support) {
        entry.result = E_POINTER;
    } else if (!name) {
        entry.result = E_PROP_SET_UNSUPPORTED;
    } else if (DWORD bits = SupportNow(set, id); bits == 0) {
        entry.result = E_PROP_ID_UNSUPPORTED;
    } else {
        *support = bits;
        entry.result = S_OK;
    }
    const HRESULT result = entry.result;
    m_log.Append(std::move(entry));
    return result;
}

HRESULT KsDriver::Handle(WireRequest::Verb verb, REFGUID set, DWORD id, void* instance, DWORD instanceLength,
                         void* data, DWORD dataLength, DWORD* returned) {
    WireRequest entry;
    entry.verb = verb;
    entry.set = set;
    const char* name = SetName(set);
    entry.setName = name ? name : platform::FormatGuid(set);
    entry.id = id;
    entry.instanceLength = instanceLength;
    entry.dataLength = dataLength;
    if (instance) entry.instance.assign(static_cast<BYTE*>(instance), static_cast<BYTE*>(instance) + instanceLength);
    if (data) entry.data.assign(static_cast<BYTE*>(data), static_cast<BYTE*>(data) + dataLength);
    CallHook(entry);

    std::shared_lock<std::shared_mutex> inFlight(m_inFlight);
    const DWORD verbBit = verb == WireRequest::Verb::Get ? kSupportGet : kSupportSet;
    Request request{verb, id, static_cast<BYTE*>(instance), instanceLength, static_cast<BYTE*>(data), dataLength};
    HRESULT hr;
    if (!m_card.IsPlugged()) {
        hr = kDeviceGone;
    } else if (!name) {
        hr = E_PROP_SET_UNSUPPORTED;
    } else if ((SupportNow(set, id) & Support(set, id) & verbBit) == 0) {
        hr = E_PROP_ID_UNSUPPORTED;
    } else if ((!instance && instanceLength) || !data || (verb == WireRequest::Verb::Get && !returned)) {
        hr = E_POINTER;
    } else {
        hr = Answer(set, request);
        if (returned && SUCCEEDED(hr)) *returned = request.returned;
    }
    entry.what = std::move(request.what);
    entry.result = hr;
    m_log.Append(std::move(entry));
    return hr;
}

HRESULT KsDriver::SubAddressed(Request& request, BYTE address, BYTE subAddress, BYTE* data, size_t count) {
    return SubAddressed(request, request.IsGet(), address, subAddress, data, count);
}

HRESULT KsDriver::SubAddressed(Request& request, bool read, BYTE address, BYTE subAddress, BYTE* data, size_t count) {
    I2CBus& bus = m_card.Bus();
    if (read) {
        const HRESULT hr = I2CResultToHresult(bus.ReadSub(WriteForm(address), subAddress, data, count));
        request.what = WireText("i2c %02X sub %02X read", address, subAddress) + Listed(data, count);
        return hr;
    }
    request.what = WireText("i2c %02X sub %02X write", address, subAddress) + Listed(data, count);
    return I2CResultToHresult(bus.WriteSub(WriteForm(address), subAddress, data, count));
}

HRESULT KsDriver::SubAddressed(Request& request, BYTE address, const BYTE* sub, size_t subCount, BYTE* data,
                               size_t count) {
    I2CBus& bus = m_card.Bus();
    const std::string head = WireText("i2c %02X sub ", address) + HexBytes(sub, subCount);
    if (request.IsGet()) {
        const HRESULT hr = I2CResultToHresult(bus.ReadSub(WriteForm(address), sub, subCount, data, count));
        request.what = head + " read" + Listed(data, count);
        return hr;
    }
    request.what = head + " write" + Listed(data, count);
    std::vector<BYTE> bytes(sub, sub + subCount);
    bytes.insert(bytes.end(), data, data + count);
    return I2CResultToHresult(bus.WriteRaw(WriteForm(address), bytes.data(), bytes.size()));
}

HRESULT KsDriver::Raw(Request& request, BYTE address, BYTE* data, size_t count) {
    return Raw(request, request.IsGet(), address, data, count);
}

HRESULT KsDriver::Raw(Request& request, bool read, BYTE address, BYTE* data, size_t count) {
    I2CBus& bus = m_card.Bus();
    if (read) {
        const HRESULT hr = I2CResultToHresult(bus.ReadRaw(ReadForm(address), data, count));
        request.what = WireText("raw %02X read", address) + Listed(data, count);
        return hr;
    }
    request.what = WireText("raw %02X write", address) + Listed(data, count);
    return I2CResultToHresult(bus.WriteRaw(WriteForm(address), data, count));
}

HRESULT KsDriver::BridgeRegister(Request& request, DWORD address, BYTE* value) {
    if (address >= Saa713x::kRegisterSpace) {
        request.what = WireText("reg %03X", static_cast<unsigned>(address));
        return E_INVALIDARG;
    }
    Saa713x& bridge = m_card.Bridge();
    if (request.IsGet()) {
        const DWORD answer = bridge.Read(address);
        Request::Put<DWORD>(value, 0, answer);
        request.what = WireText("reg %03X read %08X", static_cast<unsigned>(address), static_cast<unsigned>(answer));
        return S_OK;
    }
    const DWORD written = Request::At<DWORD>(value, 0);
    bridge.Write(address, written);
    request.what = WireText("reg %03X write %08X", static_cast<unsigned>(address), static_cast<unsigned>(written));
    return S_OK;
}

void KsDriver::OverrideSupport(REFGUID set, DWORD id, DWORD bits) {
    std::lock_guard<std::mutex> lock(m_overridesLock);
    for (SupportOverride& entry : m_overrides) {
        if (IsEqualGUID(entry.set, set) && entry.id == id) {
            entry.bits = bits;
            return;
        }
    }
    m_overrides.push_back({set, id, bits});
}

DWORD KsDriver::SupportNow(REFGUID set, DWORD id) const {
    {
        std::lock_guard<std::mutex> lock(m_overridesLock);
        for (const SupportOverride& entry : m_overrides) {
            if (IsEqualGUID(entry.set, set) && entry.id == id) return entry.bits;
        }
    }
    return Support(set, id);
}

void KsDriver::SetRequestHook(RequestHook hook) {
    std::lock_guard<std::mutex> lock(m_hookLock);
    m_hook = hook ? std::make_shared<const RequestHook>(std::move(hook)) : nullptr;
}

void KsDriver::CallHook(const WireRequest& request) {
    std::shared_ptr<const RequestHook> hook;
    {
        std::lock_guard<std::mutex> lock(m_hookLock);
        hook = m_hook;
    }
    if (hook) (*hook)(request);
}

}  // namespace hwsim
