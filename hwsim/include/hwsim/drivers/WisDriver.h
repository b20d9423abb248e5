// The driver of the USB encoder boxes on the WIS GO7007SB: its capture filter answers the I2C
// interface IWisI2C, logged as set "WIS" with the entry as id, the entry's leading arguments
// as instance and the bytes moved as data. Every entry requires the flag word 0x8000.
//
//   7   one byte written at an 8- or 16-bit sub-address (16 bits go high byte first)
//   8   one byte read from an 8- or 16-bit sub-address (written, then a repeated start)
//   9   count raw bytes written as they stand (width and sub-address 0; a count of 0 sends the
//       address alone)
//   15  (2, header {device, sub-address, 0}, 1, data, flags): the one byte at data written
//       at the header's sub-address; the driver reads the header's two bytes and one data byte
//
// Other values are refused with E_INVALIDARG before the bus is touched, the other entries
// answer E_NOTIMPL, and a device that does not acknowledge fails with kI2CNoAck.
#pragma once

#include "hwsim/drivers/KsDriver.h"

namespace hwsim {

class WisDriver : public KsDriver {
public:
    static constexpr DWORD kWriteSub = 7;
    static constexpr DWORD kReadSub = 8;
    static constexpr DWORD kWriteRaw = 9;
    static constexpr DWORD kWriteHeadered = 15;
    static constexpr DWORD kFlags = 0x8000;

    explicit WisDriver(Card& card);

    std::vector<GUID> Sets() const override { return {}; }
    HRESULT QueryDriverInterface(IUnknown* filter, REFIID riid, void** ppv) override;

    // The entries as the capture filter hands them on.
    HRESULT WriteSub(BYTE address, DWORD width, WORD subAddress, BYTE value, DWORD flags);
    HRESULT ReadSub(BYTE address, DWORD width, WORD subAddress, BYTE* data, DWORD flags);
    HRESULT WriteRaw(BYTE address, DWORD width, WORD subAddress, DWORD count, BYTE* data, DWORD flags);
    HRESULT WriteHeadered(DWORD headerLength, BYTE* header, DWORD count, void* data, DWORD flags);

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    // The leading arguments of entries 7, 8 and 9 as they travel in the instance.
    struct Head {
        BYTE address;
        DWORD width;
        WORD subAddress;
        DWORD flags;
    };
    // Entry 15's: the header's two bytes, its length, the data count and the flags.
    struct HeaderHead {
        DWORD headerLength;
        BYTE header[2];
        DWORD count;
        DWORD flags;
    };
    HRESULT Addressed(Request& request, const Head& head);
};

}  // namespace hwsim
