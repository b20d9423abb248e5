// CEm2800Access: the hardware access of the USB TV boxes on Empia EM28xx bridges. It finds the
// bridge's capture device by FriendlyName (Init with the device name; no filter) and carries
// I2C transfers with and without sub-address and the bridge's GPIO register through a
// CVendorAccess member. It also scans the I2C bus for the card filters.
//
// Every I2C and GPIO slot holds the request lock. A slot answers S_OK when its request was
// carried out, E_FAIL when the device is not open or the driver refused, and E_POINTER or
// E_INVALIDARG for bad input before anything is sent. Block reads move 1 to 255 bytes and block
// writes 2 to 256 (the address byte and up to 255 data bytes: the driver's count is one byte).
#pragma once

#include <string>

#include "access/CustomDataAccess.h"
#include "access/VendorAccess.h"

class CEm2800Access : public CCustomDataAccess {
public:
    CEm2800Access();
    ~CEm2800Access() override;

    // Init's pContext: the device name (const char*).
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()

    void OpenDevice();
    void CloseDevice();
    // One-byte reads of the addresses 0 to min(last, 254); each address whose read succeeds
    // with a byte that has a bit of `mask` set goes into addrs (room for 255). Returns the count.
    int ScanI2CBus(BYTE* addrs, int last, BYTE mask);
    // The vendor interface under the slots (AC97 and raw property requests of the card filters).
    CVendorAccess& GetVendorAccess() { return m_vendor; }

private:
    CVendorAccess m_vendor;
    std::string m_strDeviceName;
    BOOL m_bOpen;
};
