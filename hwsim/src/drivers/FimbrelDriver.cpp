// The driver of the Fimbrel card.
#include "hwsim/drivers/FimbrelDriver.h"

#include "hwsim/chips/Saa713x.h"

namespace hwsim {

namespace {

constexpr DWORD kGet = KsDriver::kSupportGet;
constexpr DWORD kSet = KsDriver::kSupportSet;

struct Property {
    const GUID* set;
    DWORD id;
    DWORD support;
    DWORD size;
};
const Property kProperties[] = {
    {&kFimbrelSetA, 0, kSet, 19}, {&kFimbrelSetA, 1, kGet, 19},  {&kFimbrelSetA, 2, kGet, 28},
    {&kFimbrelSetA, 3, kGet, 264}, {&kFimbrelSetA, 4, kSet, 264}, {&kFimbrelSetA, 5, kGet, 8},
    {&kFimbrelSetA, 6, kSet, 8},  {&kFimbrelSetA, 7, kGet, 32},  {&kFimbrelSetB, 0, kGet | kSet, 4},
    {&kFimbrelSetC, 0, kGet, 4},
};

const Property* Find(REFGUID set, DWORD id) {
    for (const Property& row : kProperties) {
        if (IsEqualGUID(*row.set, set) && row.id == id) return &row;
    }
    return nullptr;
}

constexpr size_t kDataAt = 3;
constexpr size_t kCombinedCountAt = 11;
constexpr size_t kCombinedDataAt = 12;
constexpr BYTE kMaxBytes = 16;

constexpr DWORD kLevelsLow = 0xC7008100;
constexpr DWORD kLevelsHigh = 0xC7008104;
constexpr DWORD kOutputsLow = 0xC7008108;
constexpr DWORD kOutputsHigh = 0xC700810C;

constexpr BYTE kControllerWrite = 0xBA;
constexpr BYTE kControllerRead = 0xBB;
constexpr BYTE kControllerRegisters[] = {0xAA, 0xAB};

// The modes the card's firmware takes, each for its own devices: mode 1 for the devices whose
// address has bits 7 and 5 set (the EEPROM's kind), mode 2 for the others and for any block
// write, mode 3 for the controller's registers 0xAA and 0xAB only, written at 0xBA and read
// back at 0xBB. `sub` is the record's sub-address byte.
bool ModeFits(BYTE mode, BYTE address, BYTE sub, bool write) {
    const bool eepromKind = (address & 0xA0) == 0xA0;
    switch (mode) {
    case 1: return eepromKind;
    case 2: return write || !eepromKind;
    case 3:
        return address == (write ? kControllerWrite : kControllerRead) &&
               (sub == kControllerRegisters[0] || sub == kControllerRegisters[1]);
    }
    return false;
}

}  // namespace

FimbrelDriver::FimbrelDriver(Card& card) : KsDriver(card) {}

const char* FimbrelDriver::SetName(REFGUID set) const {
    if (IsEqualGUID(set, kFimbrelSetA)) return "A";
    if (IsEqualGUID(set, kFimbrelSetB)) return "B";
    if (IsEqualGUID(set, kFimbrelSetC)) return "C";
    return nullptr;
}

DWORD FimbrelDriver::Support(REFGUID set, DWORD id) const {
    const Property* row = Find(set, id);
    return row ? row->support : 0;
}

HRESULT FimbrelDriver::Answer(REFGUID set, Request& request) {
    const Property* row = Find(set, request.id);
    if (request.instanceLength != row->size || request.dataLength != row->size || request.instance != request.data) {
        return E_INVALIDARG;
    }
    if (IsEqualGUID(set, kFimbrelSetA)) {
        switch (request.id) {
        case 0:
        case 1: return Transfer(request);
        case 2: return Combined(request);
        case 5:
        case 6: return Register(request);
        }
    }
    if (request.IsGet()) {
        const std::vector<BYTE> bytes = m_store.Bytes(set, request.id, row->size);
        std::copy(bytes.begin(), bytes.end(), request.data);
        request.returned = row->size;
        request.what = "read store";
    } else {
        m_store.Store(set, request.id, request.data, row->size);
        request.what = "store";
    }
    return S_OK;
}

HRESULT FimbrelDriver::Transfer(Request& request) {
    BYTE* record = request.data;
    const BYTE count = record[2];
    if (!ModeFits(record[0], record[1], record[kDataAt], !request.IsGet()) || count < 1 || count > kMaxBytes) {
        request.what = WireText("mode %d device %02X", record[0], record[1]);
        return E_INVALIDARG;
    }
    const std::string head = WireText("mode %d ", record[0]);
    HRESULT hr;
    if (request.IsGet()) {
        hr = Raw(request, static_cast<BYTE>(record[1] | 1), record + kDataAt, count);
        request.returned = request.dataLength;
    } else {
        hr = Raw(request, static_cast<BYTE>(record[1] & 0xFE), record + kDataAt, count);
    }
    request.what = head + request.what;
    return hr;
}

HRESULT FimbrelDriver::Combined(Request& request) {
    BYTE* record = request.data;
    const BYTE count = record[kCombinedCountAt];
    if (!ModeFits(record[0], record[1], record[3], false) || record[2] != 1 || count < 1 || count > kMaxBytes) {
        request.what = WireText("mode %d device %02X", record[0], record[1]);
        return E_INVALIDARG;
    }
    const HRESULT hr = SubAddressed(request, static_cast<BYTE>(record[1] & 0xFE), record[3], record + kCombinedDataAt,
                                    count);
    request.what = WireText("mode %d ", record[0]) + request.what;
    request.returned = request.dataLength;
    return hr;
}

HRESULT FimbrelDriver::Register(Request& request) {
    const DWORD address = Request::At<DWORD>(request.data, 0);
    const DWORD value = Request::At<DWORD>(request.data, 4);
    Saa713x& lines = GetCard().Bridge();
    std::lock_guard<std::mutex> lock(m_linesLock);
    if (request.IsGet()) {
        DWORD answer;
        if (address == kLevelsLow) {
            answer = lines.PinLevels();
        } else if (address == kLevelsHigh) {
            answer = lines.PinLevels() >> 16;
        } else {
            return E_INVALIDARG;
        }
        Request::Put<DWORD>(request.data, 4, answer);
        request.returned = request.dataLength;
        request.what = WireText("reg %08X read %08X", static_cast<unsigned>(address), static_cast<unsigned>(answer));
        return S_OK;
    }
    const DWORD upper = value >> 16;
    switch (address) {
    case kLevelsLow:
    case kLevelsHigh: {
        const int shift = address == kLevelsLow ? 0 : 16;
        const DWORD mask = upper << shift;
        const DWORD levels = (value & 0xFFFF) << shift;
        lines.Write(Saa713x::kGpioStatus, (lines.HostLatches() & ~mask) | (levels & mask));
        break;
    }
    case kOutputsLow:
    case kOutputsHigh: {
        if (value & 0xFFFF) return E_INVALIDARG;
        const DWORD outputs = (address == kOutputsLow ? upper : (upper << 16)) & Saa713x::kGpioLines;
        lines.Write(Saa713x::kGpioMode, lines.Read(Saa713x::kGpioMode) | outputs);
        break;
    }
    default: return E_INVALIDARG;
    }
    request.what = WireText("reg %08X write %08X", static_cast<unsigned>(address), static_cast<unsigned>(value));
    return S_OK;
}

}  // namespace hwsim
