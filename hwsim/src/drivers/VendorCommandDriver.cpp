// The driver of the USB bridges.
#include "hwsim/drivers/VendorCommandDriver.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace hwsim {

namespace {

constexpr BYTE kReadType = 0xC0;
constexpr BYTE kWriteType = 0x40;
constexpr DWORD kSetupBytes = 8;
constexpr DWORD kMaxPayload = 10;
constexpr DWORD kMaxCount = kSetupBytes + kMaxPayload;
constexpr BYTE kDataLatchCount = 4;
constexpr DWORD kIdAt = 16;

enum : BYTE {
    kPortRequest = 0x03,
    kStore05 = 0x05,
    kRegisterRequest = 0x07,
    kRawRequest = 0x09,
    kShortLatchRequest = 0x0A,
    kStore0C = 0x0C,
    kEepromRequest = 0x0E,
    kI2CRequest = 0x10,
    kWordStore = 0x11,
    kDataRequest = 0x14,
};

BYTE Low(WORD word) { return static_cast<BYTE>(word); }
BYTE High(WORD word) { return static_cast<BYTE>(word >> 8); }

}  // namespace

struct VendorCommandDriver::Command {
    BYTE type;
    BYTE code;
    WORD value;
    WORD index;
    WORD length;
    const BYTE* payload;
    DWORD payloadCount;

    bool IsRead() const { return type == kReadType; }
};

const VendorCommandDriver::Line VendorCommandDriver::kLines[8] = {
    {1, 1}, {1, 2}, {1, 3}, {1, 4}, {3, 0}, {3, 1}, {3, 4}, {3, 5},
};

VendorCommandDriver::VendorCommandDriver(Card& card) : KsDriver(card) {}

const char* VendorCommandDriver::SetName(REFGUID set) const {
    return IsEqualGUID(set, kVendorCommandSet) ? "USB" : nullptr;
}

DWORD VendorCommandDriver::Support(REFGUID, DWORD id) const { return id == 0 ? kSupportGet | kSupportSet : 0; }

HRESULT VendorCommandDriver::Answer(REFGUID, Request& request) {
    if (request.instanceLength != kBufferBytes || request.dataLength != kBufferBytes ||
        (!request.IsGet() && request.instance != request.data)) {
        return E_INVALIDARG;
    }
    GUID set;
    std::memcpy(&set, request.instance, sizeof(set));
    if (!IsEqualGUID(set, kVendorCommandSet) || Request::At<DWORD>(request.instance, kIdAt) != 0) {
        request.what = "header: not the set's GUID and id 0";
        return E_INVALIDARG;
    }
    if (request.IsGet()) return Fetch(request);

    std::optional<Latch> latch;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pending.reset();
        latch = m_latch;
        m_latch.reset();
    }
    const BYTE* bytes = request.data + kCommandAt;
    const DWORD count = Request::At<DWORD>(request.data, kCountAt);
    if (count < kSetupBytes || count > kMaxCount) {
        request.what = WireText("count %u", static_cast<unsigned>(count));
        return E_INVALIDARG;
    }
    const Command command{bytes[0],
                          bytes[1],
                          Request::At<WORD>(bytes, 2),
                          Request::At<WORD>(bytes, 4),
                          Request::At<WORD>(bytes, 6),
                          bytes + kSetupBytes,
                          count - kSetupBytes};
    std::vector<BYTE> answer;
    HRESULT hr = E_INVALIDARG;
    if (command.type == kReadType || command.type == kWriteType) {
        if (command.code == kDataRequest && !command.IsRead()) {
            hr = latch ? LatchedData(request, command, *latch) : E_INVALIDARG;
        } else {
            hr = Carry(request, command, answer);
        }
    }
    // "cmd 40 10 A0 05 00 00 01 00 12: i2c A0 sub 05 write 12"; "...: refused" when refused early.
    request.what = "cmd " + HexBytes(bytes, count) + ": " + (request.what.empty() ? "refused" : request.what);
    if (SUCCEEDED(hr)) {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pending = std::move(answer);
    }
    return hr;
}

HRESULT VendorCommandDriver::Fetch(Request& request) {
    // The Get's instance carries no command: its command bytes and their count are zeroed.
    const BYTE* command = request.instance + kCommandAt;
    if (std::any_of(command, command + kMaxCount, [](BYTE b) { return b != 0; }) ||
        Request::At<DWORD>(request.instance, kCountAt) != 0) {
        request.what = "get still carries a command";
        return E_INVALIDARG;
    }
    std::vector<BYTE> answer;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_pending) {
            request.what = "no answer pending";
            return kNoAnswer;
        }
        answer = std::move(*m_pending);
        m_pending.reset();
    }
    if (answer.size() > m_answerLimit.load()) answer.resize(m_answerLimit.load());
    std::memset(request.data + kCommandAt, 0, kBufferBytes - kCommandAt);
    if (!answer.empty()) std::memcpy(request.data + kCommandAt, answer.data(), answer.size());
    Request::Put<DWORD>(request.data, kCountAt, static_cast<DWORD>(answer.size()));
    request.returned = kBufferBytes;
    request.what = answer.empty() ? std::string("answer none") : "answer " + HexBytes(answer.data(), answer.size());
    return S_OK;
}

HRESULT VendorCommandDriver::Carry(Request& request, const Command& command, std::vector<BYTE>& answer) {
    switch (command.code) {
    case kI2CRequest: return I2C(request, command, answer);
    case kEepromRequest: return Eeprom(request, command, answer);
    case kRawRequest: return RawOrLatch(request, command, answer);
    case kShortLatchRequest: {
        const BYTE n = High(command.value);
        if (command.IsRead() || n < 1 || n > kDataLatchCount || High(command.index) != 0 || command.length != 0 ||
            command.payloadCount != 0) {
            return E_INVALIDARG;
        }
        std::lock_guard<std::mutex> lock(m_lock);
        m_latch = Latch{Low(command.value), true, Low(command.index), n};
        request.what = WireText("latch %02X sub %02X count %u", Low(command.value), Low(command.index), n);
        return S_OK;
    }
    case kRegisterRequest: return Register(request, command, answer);
    case kPortRequest: return Port(request, command, answer);
    case kStore05:
    case kStore0C:
    case kWordStore: return Store(request, command, answer);
    default: return E_INVALIDARG;
    }
}

HRESULT VendorCommandDriver::I2C(Request& request, const Command& command, std::vector<BYTE>& answer) {
    const BYTE address = Low(command.value);
    const BYTE sub = High(command.value);
    if (command.IsRead()) {
        if (command.index != 0 || command.length < 1 || command.length > kMaxPayload || command.payloadCount != 0) {
            return E_INVALIDARG;
        }
        answer.resize(command.length);
        const HRESULT hr = SubAddressed(request, true, address, sub, answer.data(), answer.size());
        if (FAILED(hr)) answer.clear();
        return hr;
    }
    if (command.length == 0) {
        // The one data byte rides in the index field.
        if (High(command.index) != 0 || command.payloadCount != 0) return E_INVALIDARG;
        BYTE value = Low(command.index);
        return SubAddressed(request, false, address, sub, &value, 1);
    }
    if (command.index != 0 || command.length > kMaxPayload || command.payloadCount != command.length) {
        return E_INVALIDARG;
    }
    std::vector<BYTE> data(command.payload, command.payload + command.payloadCount);
    return SubAddressed(request, false, address, sub, data.data(), data.size());
}

HRESULT VendorCommandDriver::Eeprom(Request& request, const Command& command, std::vector<BYTE>& answer) {
    if (High(command.value) != 0 || High(command.index) != 0 || command.length != 1 ||
        command.payloadCount != (command.IsRead() ? 0u : 1u)) {
        return E_INVALIDARG;
    }
    const BYTE offset = m_aliasing.load() ? 0 : Low(command.index);
    if (command.IsRead()) {
        answer.resize(1);
        const HRESULT hr = SubAddressed(request, true, Low(command.value), offset, answer.data(), 1);
        if (FAILED(hr)) answer.clear();
        return hr;
    }
    BYTE value = command.payload[0];
    return SubAddressed(request, false, Low(command.value), offset, &value, 1);
}

HRESULT VendorCommandDriver::RawOrLatch(Request& request, const Command& command, std::vector<BYTE>& answer) {
    const BYTE address = Low(command.value);
    if (command.IsRead()) {
        if (High(command.value) != 0 || command.index != 0 || command.length != 1 || command.payloadCount != 0) {
            return E_INVALIDARG;
        }
        answer.resize(1);
        const HRESULT hr = Raw(request, true, address, answer.data(), 1);
        if (FAILED(hr)) answer.clear();
        return hr;
    }
    if (High(command.value) != kDataLatchCount || command.index != 0 || command.length != kDataLatchCount ||
        command.payloadCount != 0) {
        return E_INVALIDARG;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    m_latch = Latch{address, false, 0, kDataLatchCount};
    request.what = WireText("latch raw %02X count %u", address, kDataLatchCount);
    return S_OK;
}

HRESULT VendorCommandDriver::LatchedData(Request& request, const Command& command, const Latch& latch) {
    if (command.length != 0 || command.payloadCount != 0) return E_INVALIDARG;
    BYTE data[kDataLatchCount] = {Low(command.value), High(command.value), Low(command.index), High(command.index)};
    for (BYTE i = latch.count; i < kDataLatchCount; ++i) {
        if (data[i] != 0) return E_INVALIDARG;
    }
    if (latch.subAddressed) return SubAddressed(request, false, latch.address, latch.subAddress, data, latch.count);
    return Raw(request, false, latch.address, data, latch.count);
}

HRESULT VendorCommandDriver::Register(Request& request, const Command& command, std::vector<BYTE>& answer) {
    const BYTE reg = Low(command.value);
    const DWORD word = reg & ~3u;
    const int shift = 8 * (reg & 3);
    if (High(command.value) != 0) return E_INVALIDARG;
    Saa713x& bridge = GetCard().Bridge();
    std::lock_guard<std::mutex> lock(m_lock);
    if (command.IsRead()) {
        if (command.index != 0 || command.length != 1 || command.payloadCount != 0) return E_INVALIDARG;
        answer.push_back(static_cast<BYTE>(bridge.Read(word) >> shift));
        request.what = WireText("reg %02X read %02X", reg, answer[0]);
        return S_OK;
    }
    if (High(command.index) != 0 || command.length != 0 || command.payloadCount != 0) return E_INVALIDARG;
    const DWORD byteMask = 0xFFu << shift;
    bridge.Write(word, (bridge.Read(word) & ~byteMask) | (static_cast<DWORD>(Low(command.index)) << shift));
    request.what = WireText("reg %02X write %02X", reg, Low(command.index));
    return S_OK;
}

HRESULT VendorCommandDriver::Port(Request& request, const Command& command, std::vector<BYTE>& answer) {
    Saa713x& bridge = GetCard().Bridge();
    if (command.IsRead()) {
        const BYTE port = High(command.value);
        if (Low(command.value) != 0 || (port != 1 && port != 3) || command.index != 0 || command.length != 1 ||
            command.payloadCount != 0) {
            return E_INVALIDARG;
        }
        const DWORD levels = bridge.SampleLines();
        BYTE state = 0;
        for (DWORD line = 0; line < std::size(kLines); ++line) {
            if (kLines[line].port == port && (levels & (1u << line))) state |= 1u << kLines[line].bit;
        }
        answer.push_back(state);
        request.what = WireText("port %u read %02X", port, state);
        return S_OK;
    }
    if (High(command.index) != 0 || Low(command.index) > 1 || command.length != 0 || command.payloadCount != 0) {
        return E_INVALIDARG;
    }
    for (DWORD line = 0; line < std::size(kLines); ++line) {
        if (kLines[line].bit != Low(command.value) || kLines[line].port != High(command.value)) continue;
        const bool on = Low(command.index) != 0;
        bridge.DriveHostLines(1u << line, on ? 1u << line : 0);
        request.what = WireText("line %u %s", static_cast<unsigned>(line), on ? "on" : "off");
        return S_OK;
    }
    return E_INVALIDARG;
}

HRESULT VendorCommandDriver::Store(Request& request, const Command& command, std::vector<BYTE>& answer) {
    const bool word = command.code == kWordStore;
    const bool twoKeys = command.code != kStore05;
    if (High(command.value) != 0 || command.payloadCount != 0 || (!word && High(command.index) != 0)) {
        return E_INVALIDARG;
    }
    // The key: code, value and (for 0x0C and 0x11) index.
    const std::uint64_t key = (static_cast<std::uint64_t>(command.code) << 32) |
                              (static_cast<std::uint64_t>(Low(command.value)) << 16) |
                              (twoKeys ? command.index : 0u);
    std::lock_guard<std::mutex> lock(m_lock);
    if (command.IsRead()) {
        if ((!twoKeys && command.index != 0) || command.length != (word ? 2u : 1u)) return E_INVALIDARG;
        const WORD stored = m_stores[key];
        answer.push_back(Low(stored));
        if (word) answer.push_back(High(stored));
        request.what = WireText("store %02X %02X %04X read %s", command.code, Low(command.value), command.index,
                                HexBytes(answer.data(), answer.size()).c_str());
        return S_OK;
    }
    // 0x05 keeps the index's low byte; 0x0C the length's low byte; 0x11 the length word.
    WORD value;
    if (command.code == kStore05) {
        if (command.length != 0) return E_INVALIDARG;
        value = Low(command.index);
    } else if (!word) {
        if (High(command.length) != 0) return E_INVALIDARG;
        value = Low(command.length);
    } else {
        value = command.length;
    }
    m_stores[key] = value;
    request.what = WireText("store %02X %02X %04X write %04X", command.code, Low(command.value), command.index, value);
    return S_OK;
}

}  // namespace hwsim
