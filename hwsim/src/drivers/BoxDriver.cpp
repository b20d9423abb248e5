// The driver of the USB encoder boxes (the MPEG-2 box and the Wolbry box).
#include "hwsim/drivers/BoxDriver.h"

#include <algorithm>
#include <cstring>

#include "hwsim/chips/Saa713x.h"

namespace hwsim {

namespace {

constexpr DWORD kGet = KsDriver::kSupportGet;
constexpr DWORD kSet = KsDriver::kSupportSet;

// The encoder properties kept as stores: id, verbs, size (and the other size it takes).
struct StoredProperty {
    DWORD id;
    DWORD support;
    DWORD size;
    DWORD otherSize;
};
constexpr StoredProperty kStored[] = {
    {0x00, kGet | kSet, 4, 0},   {0x01, kGet | kSet, 18, 10}, {0x02, kGet, 4, 0},        {0x03, kGet | kSet, 4, 0},
    {0x04, kGet | kSet, 4, 0},   {0x05, kGet | kSet, 1, 0},   {0x06, kGet | kSet, 8, 0}, {0x07, kGet | kSet, 4, 0},
    {0x0B, kGet | kSet, 4, 0},   {0x0C, kGet | kSet, 4, 0},   {0x0D, kGet | kSet, 4, 0}, {0x16, kSet, 5, 0},
    {0x18, kSet, 5, 0},          {0x2A, kGet | kSet, 108, 0}, {0x32, kGet | kSet, 4, 0}, {0x36, kGet | kSet, 4, 0},
    {0x3C, kGet, 4, 0},          {0x3E, kSet, 8, 0},          {0x3F, kSet, 1, 0},        {0x40, kSet, 1, 0},
};

const StoredProperty* FindStored(DWORD id) {
    for (const StoredProperty& row : kStored) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

constexpr DWORD kRequestSize = 9;
constexpr DWORD kVersionSize = 20;
constexpr size_t kVersionText = 10;
constexpr DWORD kImageLimit = 0x40000;
constexpr size_t kImageAt = 12;
constexpr BYTE kDecoder = 0x21;
constexpr BYTE kDecoderAlias = 0x20;
constexpr DWORD kPllStatusRegister = 142;

// The raw write modes of the Wolbry pieces: register bytes, value bytes.
struct PieceMode {
    BYTE mode;
    int registerBytes;
    int valueBytes;
};
constexpr PieceMode kPieceModes[] = {
    {0x21, 0, 1}, {0x29, 0, 2}, {0x31, 0, 3}, {0x39, 0, 4}, {0x07, 4, 1}, {0x0F, 4, 2}, {0x17, 4, 3}, {0x1F, 4, 4},
};

bool IsTunerPll(BYTE device) { return device >= 0x60 && device <= 0x63; }
bool Fits(DWORD value, int bytes) { return bytes >= 4 || value < (1u << (8 * bytes)); }
// `count` bytes of `value`, most significant first, appended to `out`.
void PutBigEndian(std::vector<BYTE>& out, DWORD value, int count) {
    for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

}  // namespace

BoxDriver::BoxDriver(Card& card) : KsDriver(card) {}

void BoxDriver::SetVersions(const std::string& loader, const std::string& firmware) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_loader = loader.substr(0, kVersionText - 1);
    m_firmware = firmware.substr(0, kVersionText - 1);
}

void BoxDriver::SetBootReads(int reads) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bootReads = reads;
}

std::vector<BYTE> BoxDriver::FirmwareBlock() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_firmwareBlock;
}

const char* BoxDriver::SetName(REFGUID set) const {
    if (IsEqualGUID(set, kBoxPropertySet)) return "BOX";
    if (IsEqualGUID(set, kBoxFirmwareSet)) return "FW";
    return nullptr;
}

DWORD BoxDriver::Support(REFGUID set, DWORD id) const {
    if (IsEqualGUID(set, kBoxFirmwareSet)) return id == kFirmwareProperty ? kSet : 0;
    switch (id) {
    case kRegisterProperty: return kGet | kSet;
    case kTunerResetProperty: return kSet;
    case kVersionProperty: return kGet;
    }
    const StoredProperty* row = FindStored(id);
    return row ? row->support : 0;
}

HRESULT BoxDriver::Answer(REFGUID set, Request& request) {
    if (IsEqualGUID(set, kBoxFirmwareSet)) return Firmware(request);
    switch (request.id) {
    case kRegisterProperty: return ChipRequest(request);
    case kTunerResetProperty: return TunerReset(request);
    case kVersionProperty: return Version(request);
    }
    return Stored(request);
}

HRESULT BoxDriver::ChipRequest(Request& request) {
    if (request.instanceLength != kRequestSize || request.dataLength != sizeof(DWORD)) return E_INVALIDARG;
    const DWORD device = Request::At<DWORD>(request.instance, 0);
    const BYTE mode = request.instance[4];
    const DWORD reg = Request::At<DWORD>(request.instance, 5);
    if (device > 0x7F) return E_INVALIDARG;
    BYTE routed = static_cast<BYTE>(device == kDecoderAlias ? kDecoder : device);
    const std::string head = WireText("dev %02X mode %02X ", static_cast<unsigned>(device), mode);
    HRESULT hr;
    if (request.IsGet()) {
        DWORD value = 0;
        hr = ChipRead(request, routed, mode, reg, &value);
        if (SUCCEEDED(hr)) {
            Request::Put<DWORD>(request.data, 0, value);
            request.returned = sizeof(DWORD);
        }
    } else {
        hr = ChipWrite(request, routed, mode, reg, Request::At<DWORD>(request.data, 0));
    }
    if (!request.what.empty()) request.what = head + request.what;
    return hr;
}

HRESULT BoxDriver::ChipRead(Request& request, BYTE device, BYTE mode, DWORD reg, DWORD* value) {
    const BYTE address = static_cast<BYTE>(device << 1);
    BYTE bytes[4] = {};
    switch (mode) {
    case 0:
    case 1:
        if (IsTunerPll(device)) {
            // The PLL has no registers: its status answers at the lock poll's register only.
            if (reg != kPllStatusRegister) return E_INVALIDARG;
            const HRESULT hr = Raw(request, address | 1, bytes, 1);
            *value = bytes[0];
            return hr;
        }
        [[fallthrough]];
    case 3: {
        if (reg > 0xFF) return E_INVALIDARG;
        const HRESULT hr = SubAddressed(request, address, static_cast<BYTE>(reg), bytes, 1);
        *value = bytes[0];
        return hr;
    }
    case 33: {
        if (reg != 0) return E_INVALIDARG;
        const HRESULT hr = Raw(request, address | 1, bytes, 1);
        *value = bytes[0];
        return hr;
    }
    case 0x38: {
        if (reg != 0) return E_INVALIDARG;
        const HRESULT hr = Raw(request, address | 1, bytes, 4);
        *value = (DWORD(bytes[0]) << 24) | (DWORD(bytes[1]) << 16) | (DWORD(bytes[2]) << 8) | bytes[3];
        return hr;
    }
    }
    return E_INVALIDARG;
}

HRESULT BoxDriver::ChipWrite(Request& request, BYTE device, BYTE mode, DWORD reg, DWORD value) {
    const BYTE address = static_cast<BYTE>(device << 1);
    std::vector<BYTE> bytes;
    switch (mode) {
    case 0:
    case 2: {
        if (reg > 0xFF) return E_INVALIDARG;
        BYTE data = static_cast<BYTE>(value);
        return SubAddressed(request, address, static_cast<BYTE>(reg), &data, 1);
    }
    case 8: {
        if (device != 0x43 || reg != 0 || !Fits(value, 2)) return E_INVALIDARG;
        BYTE word[2] = {static_cast<BYTE>(value >> 8), static_cast<BYTE>(value)};
        return SubAddressed(request, address, 0, word, 2);
    }
    case 10:
        if (!Fits(reg, 2) || !Fits(value, 2)) return E_INVALIDARG;
        PutBigEndian(bytes, reg, 2);
        PutBigEndian(bytes, value, 2);
        return Raw(request, address, bytes.data(), bytes.size());
    case 18:
        if (!Fits(reg, 2) || !Fits(value, 3)) return E_INVALIDARG;
        PutBigEndian(bytes, reg, 2);
        PutBigEndian(bytes, value, 3);
        return Raw(request, address, bytes.data(), bytes.size());
    }
    for (const PieceMode& piece : kPieceModes) {
        if (piece.mode != mode) continue;
        if ((piece.registerBytes == 0 && reg != 0) || !Fits(value, piece.valueBytes)) return E_INVALIDARG;
        PutBigEndian(bytes, reg, piece.registerBytes);
        PutBigEndian(bytes, value, piece.valueBytes);
        return Raw(request, address, bytes.data(), bytes.size());
    }
    return E_INVALIDARG;
}

HRESULT BoxDriver::TunerReset(Request& request) {
    if (request.instanceLength != 0 || request.dataLength != 1 || request.data[0] > 1) return E_INVALIDARG;
    const bool hold = request.data[0] == 1;
    Saa713x& lines = GetCard().Bridge();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        const DWORD latches = lines.HostLatches();
        lines.Write(Saa713x::kGpioStatus, hold ? latches & ~kTunerResetLine : latches | kTunerResetLine);
        lines.Write(Saa713x::kGpioMode, lines.Read(Saa713x::kGpioMode) | kTunerResetLine);
    }
    request.what = hold ? "tuner reset hold" : "tuner reset release";
    return S_OK;
}

HRESULT BoxDriver::Version(Request& request) {
    if (request.instanceLength != kVersionSize || request.dataLength != kVersionSize) return E_INVALIDARG;
    std::string loader;
    std::string firmware;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        loader = m_loader;
        firmware = m_firmware;
        if (m_bootReads != 0) {
            firmware = "0.0.1";
            if (m_bootReads > 0) --m_bootReads;
        }
    }
    std::memset(request.data, 0, kVersionSize);
    std::memcpy(request.data, loader.c_str(), loader.size());
    std::memcpy(request.data + kVersionText, firmware.c_str(), firmware.size());
    request.returned = kVersionSize;
    request.what = "version " + loader + " running " + firmware;
    return S_OK;
}

HRESULT BoxDriver::Firmware(Request& request) {
    if (request.instanceLength != kFirmwareBlockSize || request.dataLength != kFirmwareBlockSize ||
        request.instance != request.data) {
        return E_INVALIDARG;
    }
    const DWORD length = Request::At<DWORD>(request.data, 0);
    if (length > kImageLimit || std::any_of(request.data + 4, request.data + kImageAt, [](BYTE b) { return b != 0; })) {
        return E_INVALIDARG;
    }
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_firmwareBlock.assign(request.data, request.data + kFirmwareBlockSize);
    }
    request.what = WireText("firmware %u bytes", static_cast<unsigned>(length));
    return S_OK;
}

HRESULT BoxDriver::Stored(Request& request) {
    const StoredProperty* row = FindStored(request.id);
    const DWORD size = request.dataLength;
    if (!row || (size != row->size && (row->otherSize == 0 || size != row->otherSize)) ||
        request.instanceLength != size || request.instance != request.data) {
        return E_INVALIDARG;
    }
    if (request.IsGet()) {
        const std::vector<BYTE> bytes = m_store.Bytes(kBoxPropertySet, request.id, size);
        std::copy(bytes.begin(), bytes.end(), request.data);
        request.returned = size;
        request.what = "read " + HexBytes(bytes.data(), std::min<size_t>(bytes.size(), 18));
    } else {
        m_store.Store(kBoxPropertySet, request.id, request.data, size);
        request.what = "store " + HexBytes(request.data, std::min<size_t>(size, 18));
    }
    return S_OK;
}

}  // namespace hwsim
