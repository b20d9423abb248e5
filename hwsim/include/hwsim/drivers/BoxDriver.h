// The driver of the USB encoder boxes (the MPEG-2 box and the Wolbry box). Their capture filter
// publishes the encoder property set D2185A40-0398-11D3-A53E-00A0C9EF506A and, for the firmware
// download, EE6C0342-E3A9-11D2-A53E-00A0C9EF506A. The boxes have no I2C path of their own: the
// box's firmware carries chip requests.
//
// Property 20 (Get and Set): a chip request. Instance: the 9-byte packed request {DWORD 7-bit
// device at 0, BYTE mode at 4, DWORD register at 5}; data: a DWORD value. The firmware takes
// devices 0x20 and 0x21 both as its video decoder (0x21). Modes:
//   Get  0, 1   a register byte (sub-addressed read); on the tuner's PLL (devices 0x60 to 0x63)
//               the status byte, lock in bit 6, at register 142 only (the lock poll's)
//        3      a register byte
//        33     one raw byte (register 0)
//        0x38   four raw bytes (register 0), the first in bits 24 to 31
//   Set  0, 2   a register byte (the value's low byte)
//        8      16 bits, high byte first, to device 0x43 register 0
//        10     the raw bytes register >> 8, register, value >> 8, value
//        18     the raw bytes register >> 8, register, value >> 16, value >> 8, value
//        0x21, 0x29, 0x31, 0x39   1 to 4 raw bytes from the value, most significant first
//                                 (register 0)
//        0x07, 0x0F, 0x17, 0x1F   4 raw bytes from the register, then 1 to 4 from the value
// Property 25 (Set): no instance (length 0), one byte: 1 holds the tuner's reset line
// (kTunerResetLine, driven low), 0 releases it (driven high).
// Property 27 (Get, 20 bytes): the loader's version text at byte 0, the running firmware's at
// byte 10; while the box boots the firmware answers "0.0.1".
// Firmware set, property 5 (Set): the 0x4000C-byte download block as instance and data: a
// DWORD image length (at most 0x40000), 8 zero bytes, the image.
// The other encoder properties are stores (PropertyStore) of fixed sizes, with one buffer as
// instance and data; property 1 takes 18 bytes or the 10 of the old bitrate form.
//
// Anything else (lengths, mode, a device above 0x7F, a register or value the mode cannot send)
// is refused with E_INVALIDARG before the bus is touched.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "hwsim/drivers/KsDriver.h"
#include "hwsim/drivers/PropertyStore.h"

namespace hwsim {

// D2185A40-0398-11D3-A53E-00A0C9EF506A
inline constexpr GUID kBoxPropertySet = {0xD2185A40, 0x0398, 0x11D3, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};
// EE6C0342-E3A9-11D2-A53E-00A0C9EF506A
inline constexpr GUID kBoxFirmwareSet = {0xEE6C0342, 0xE3A9, 0x11D2, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};

class BoxDriver : public KsDriver {
public:
    static constexpr DWORD kRegisterProperty = 20;
    static constexpr DWORD kTunerResetProperty = 25;
    static constexpr DWORD kVersionProperty = 27;
    static constexpr DWORD kFirmwareProperty = 5;
    static constexpr DWORD kFirmwareBlockSize = 0x4000C;
    static constexpr DWORD kTunerResetLine = 0x00000001;  // GPIO line 0 of the card's line model

    explicit BoxDriver(Card& card);

    std::vector<GUID> Sets() const override { return {kBoxPropertySet, kBoxFirmwareSet}; }

    // The version texts of property 27 (at most 9 characters each).
    void SetVersions(const std::string& loader, const std::string& firmware);
    // The firmware answers "0.0.1" to this many reads of property 27 before it runs; -1: it
    // never starts.
    void SetBootReads(int reads);
    // The encoder properties' stores.
    PropertyStore& Store() { return m_store; }
    // The last firmware block downloaded (empty before the first).
    std::vector<BYTE> FirmwareBlock() const;

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    HRESULT ChipRequest(Request& request);
    HRESULT ChipRead(Request& request, BYTE device, BYTE mode, DWORD reg, DWORD* value);
    HRESULT ChipWrite(Request& request, BYTE device, BYTE mode, DWORD reg, DWORD value);
    HRESULT TunerReset(Request& request);
    HRESULT Version(Request& request);
    HRESULT Firmware(Request& request);
    HRESULT Stored(Request& request);

    PropertyStore m_store;
    mutable std::mutex m_lock;
    std::string m_loader = "2.4.21";
    std::string m_firmware = "2.4.21";
    int m_bootReads = 0;
    std::vector<BYTE> m_firmwareBlock;
};

}  // namespace hwsim
