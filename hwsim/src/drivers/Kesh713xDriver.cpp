// The driver of the "713x BDA Analog Capture" card.
#include "hwsim/drivers/Kesh713xDriver.h"

namespace hwsim {

namespace {

// Field offsets of the records for this platform's pointer width (4: 0, 4, 8, 12, 16 and a
// 24-byte record; 8: 0, 8, 16, 24, 32 and a 40-byte record).
constexpr size_t kPointer = sizeof(void*);
constexpr size_t AlignUp(size_t offset, size_t alignment) { return (offset + alignment - 1) / alignment * alignment; }

constexpr size_t kAddressAt = 0;
constexpr size_t kSubPointerAt = kPointer;
constexpr size_t kSubLengthAt = kSubPointerAt + kPointer;
constexpr size_t kDataPointerAt = AlignUp(kSubLengthAt + 4, kPointer);
constexpr size_t kDataLengthAt = kDataPointerAt + kPointer;
constexpr size_t kTransferSize = AlignUp(kDataLengthAt + 4 + 4, kPointer);

constexpr size_t kWritePointerAt = 0;
constexpr size_t kWriteCountAt = kPointer;
constexpr size_t kDataSize = AlignUp(kWriteCountAt + 4, kPointer);

constexpr DWORD kRegisterInstance = 8;
constexpr DWORD kRegisterData = 4;

constexpr BYTE kRawTransfer = 0xFF;
constexpr DWORD kWriteLimit = 256;

}  // namespace

const DWORD Kesh713xDriver::kTransferRecordSize = kTransferSize;
const DWORD Kesh713xDriver::kDataRecordSize = kDataSize;

Kesh713xDriver::Kesh713xDriver(Card& card) : KsDriver(card) {}

const char* Kesh713xDriver::SetName(REFGUID set) const {
    if (IsEqualGUID(set, kKesh713xI2CSet)) return "I2C";
    if (IsEqualGUID(set, kKesh713xRegisterSet)) return "REG";
    return nullptr;
}

DWORD Kesh713xDriver::Support(REFGUID, DWORD id) const { return id == 0 ? kSupportGet | kSupportSet : 0; }

HRESULT Kesh713xDriver::Answer(REFGUID set, Request& request) {
    if (IsEqualGUID(set, kKesh713xI2CSet)) return Transfer(request);
    if (request.instanceLength != kRegisterInstance || request.dataLength != kRegisterData) return E_INVALIDARG;
    request.returned = request.IsGet() ? kRegisterData : 0;
    return BridgeRegister(request, Request::At<DWORD>(request.instance, 0), request.data);
}

HRESULT Kesh713xDriver::Transfer(Request& request) {
    if (request.instanceLength != kTransferSize || request.dataLength != kDataSize) return E_INVALIDARG;
    const BYTE* record = request.instance;
    const BYTE address = record[kAddressAt];
    BYTE* subAddress = Request::At<BYTE*>(record, kSubPointerAt);
    BYTE* readInto = Request::At<BYTE*>(record, kDataPointerAt);
    if (Request::At<DWORD>(record, kSubLengthAt) != 1 || Request::At<DWORD>(record, kDataLengthAt) != 1) {
        return E_INVALIDARG;
    }
    if (!subAddress) return E_POINTER;

    BYTE* bytes;
    DWORD count;
    if (request.IsGet()) {
        if (!readInto) return E_POINTER;
        bytes = readInto;
        count = 1;
        request.returned = request.dataLength;
    } else {
        bytes = Request::At<BYTE*>(request.data, kWritePointerAt);
        count = Request::At<DWORD>(request.data, kWriteCountAt);
        if (count > kWriteLimit) return E_INVALIDARG;
        if (!bytes && count > 0) return E_POINTER;
    }
    if (address == kRawTransfer) return Raw(request, *subAddress, bytes, count);
    return SubAddressed(request, address, *subAddress, bytes, count);
}

}  // namespace hwsim
