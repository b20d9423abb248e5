// The driver of the "713x BDA Analog Capture" card: an SAA713x card whose capture filter
// publishes two property sets, I2C transfers (FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE, id 0) and
// the bridge's 32-bit registers (AE36141A-6F0A-42CE-9DF3-03997E538585, id 0), Get and Set.
//
// An I2C request's instance data is the transfer record and its property data the data record.
// Both hold pointers into the caller's memory, which the driver follows. The records keep the
// fields of the 32-bit interface in their order, pointers pointer-sized, each field at its
// natural alignment; with 8-byte pointers:
//   transfer record (40 bytes): BYTE device address at 0 (0xFF: a raw transfer, the device
//     address being the sub-address byte); pointer to the sub-address byte at 8; DWORD
//     sub-address length at 16, which must be 1; pointer to the data byte of a read at 24;
//     DWORD data length at 32, which must be 1; the rest ignored;
//   data record (16 bytes): a write's pointer to its bytes at 0 and DWORD count at 8 (at most
//     256); ignored by a read.
// A Get reads one byte (sub-addressed, or raw) and stores it through the data pointer; a Set
// writes the data record's bytes (sub-addressed, or raw). The device is found by its address
// >> 1 and the direction is the verb's.
//
// A register request carries 8 bytes of instance data (DWORD register below the bridge's
// register space, then 4 bytes ignored) and 4 bytes of property data (DWORD value).
//
// Other lengths and field values are refused with E_INVALIDARG, a null pointer inside a record
// with E_POINTER; nothing reaches the card then.
#pragma once

#include "hwsim/drivers/KsDriver.h"

namespace hwsim {

// FBB1C466-BE03-470F-9A8F-A2AA0FA2C0EE
inline constexpr GUID kKesh713xI2CSet = {0xFBB1C466, 0xBE03, 0x470F, {0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE}};
// AE36141A-6F0A-42CE-9DF3-03997E538585
inline constexpr GUID kKesh713xRegisterSet = {0xAE36141A, 0x6F0A, 0x42CE,
                                              {0x9D, 0xF3, 0x03, 0x99, 0x7E, 0x53, 0x85, 0x85}};

class Kesh713xDriver : public KsDriver {
public:
    // Record sizes on this platform.
    static const DWORD kTransferRecordSize;
    static const DWORD kDataRecordSize;

    explicit Kesh713xDriver(Card& card);

    std::vector<GUID> Sets() const override { return {kKesh713xI2CSet, kKesh713xRegisterSet}; }

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    HRESULT Transfer(Request& request);
};

}  // namespace hwsim
