// The requests of the property-set layout that the SAA713x driver publishes (the table is in
// KsPropertyAccess.h) and that the drivers of other cards speak on the same or a set of their
// own: one local buffer passed as both instance and property data, bytes 0 to 23 left for the
// driver's property header, the payload from byte 24. The access classes of these drivers
// build their slots from the requests below, each on the set the class is given.
//
// The requests take no lock; each class holds its own around them. Every request answers S_OK
// when the driver carried it out and the driver's failure when not.
#pragma once

#include <strmif.h>

#include <cstring>

// FC8FACFF-0293-4CE3-8594-4F638CCD6BB0
DEFINE_GUID(KSPROPSETID_Saa713xAccess, 0xFC8FACFF, 0x0293, 0x4CE3, 0x85, 0x94, 0x4F, 0x63, 0x8C, 0xCD, 0x6B, 0xB0);

enum {
    KSPROPERTY_SAA713X_DEVICE_INFO = 0,
    KSPROPERTY_SAA713X_OPEN = 1,
    KSPROPERTY_SAA713X_I2C = 2,
    KSPROPERTY_SAA713X_OPTION = 3,
    KSPROPERTY_SAA713X_GPIO = 4,
    KSPROPERTY_SAA713X_REGISTER = 5,
    KSPROPERTY_SAA713X_I2C_BLOCK = 6,
    KSPROPERTY_SAA713X_CONTROL13 = 7,
    KSPROPERTY_SAA713X_CONTROL14 = 8,
    KSPROPERTY_SAA713X_CONTROL15 = 9,
    KSPROPERTY_SAA713X_CONTROL16 = 10,
};

// Instance and data lengths of a request.
struct KsRequestLayout {
    DWORD instance;
    DWORD data;
};
inline constexpr KsRequestLayout kShortRequest = {24, 48};
inline constexpr KsRequestLayout kTransferRequest = {32, 56};
inline constexpr KsRequestLayout kBlockRequest = {280, 304};
inline constexpr KsRequestLayout kBareRequest = {16, 40};

// The data field of a block request.
inline constexpr int kKsBlockBytes = 256;

// The one buffer of a request; what a request does not fill stays zero.
class CRequestBuffer {
public:
    static constexpr DWORD kPayload = 24;
    static constexpr DWORD kSecond = 28;        // the second DWORD of the payload
    static constexpr DWORD kTransferData = 32;  // the data byte of a one-byte transfer
    static constexpr DWORD kBlockLength = 280;  // the length of a block transfer

    CRequestBuffer() { std::memset(m_bytes, 0, sizeof(m_bytes)); }
    BYTE* Bytes() { return m_bytes; }
    void PutByte(DWORD at, BYTE value) { m_bytes[at] = value; }
    void PutDword(DWORD at, DWORD value) { std::memcpy(m_bytes + at, &value, sizeof(value)); }
    BYTE Byte(DWORD at) const { return m_bytes[at]; }
    DWORD Dword(DWORD at) const
    {
        DWORD value;
        std::memcpy(&value, m_bytes + at, sizeof(value));
        return value;
    }
    WORD Word(DWORD at) const
    {
        WORD value;
        std::memcpy(&value, m_bytes + at, sizeof(value));
        return value;
    }

private:
    alignas(8) BYTE m_bytes[kBlockRequest.data];
};

HRESULT SetRequest(IKsPropertySet* pSet, REFGUID set, DWORD id, const KsRequestLayout& layout, CRequestBuffer& buffer);
HRESULT GetRequest(IKsPropertySet* pSet, REFGUID set, DWORD id, const KsRequestLayout& layout, CRequestBuffer& buffer);

// The requests of the layout's ids. Those with checks answer E_FAIL without an interface,
// E_POINTER for a null pointer, E_INVALIDARG for a negative sub-address or a block length out
// of range, in that order, before anything is sent.

// Id 2, Get: one byte from sub-address iSubAddr (its low byte goes on the bus); *pData only
// when the Get succeeded. The address goes as the caller gave it.
HRESULT KsI2CRead(IKsPropertySet* pSet, REFGUID set, BYTE ucSlaveAddr, int iSubAddr, BYTE* pData);
// Id 2, Set.
HRESULT KsI2CWrite(IKsPropertySet* pSet, REFGUID set, BYTE ucSlaveAddr, int iSubAddr, BYTE ucData);
// Id 6, Get: len bytes (1 to 256) into buf, from the device in buf[0]; with readAddress, buf[0]
// first becomes the read address (buf[0] & 0xFE) + 1 in the caller's buffer, else it goes as
// the caller wrote it. A failed Get leaves buf as it was sent.
HRESULT KsBlockRead(IKsPropertySet* pSet, REFGUID set, BYTE* buf, int len, bool readAddress);
// Id 6, Set: buf[1] to buf[len-1] (len 2 to 256) to the device in buf[0], whose bit 0 is
// first cleared in the caller's buffer.
HRESULT KsBlockWrite(IKsPropertySet* pSet, REFGUID set, BYTE* buf, int len);
// Id 5: a 32-bit register.
HRESULT KsRegisterRead(IKsPropertySet* pSet, REFGUID set, DWORD addr, DWORD* pValue);
HRESULT KsRegisterWrite(IKsPropertySet* pSet, REFGUID set, DWORD addr, DWORD value);
// A Set of one BYTE (ids 1 and 3) or one DWORD (the controls) at byte 24; a Set of nothing.
HRESULT KsSetByte(IKsPropertySet* pSet, REFGUID set, DWORD id, BYTE value);
HRESULT KsSetDword(IKsPropertySet* pSet, REFGUID set, DWORD id, DWORD value);
HRESULT KsSetBare(IKsPropertySet* pSet, REFGUID set, DWORD id);

// Id 4 on the drivers that keep GPIO themselves, without checks. The Get answers the levels of
// lines 0 to 27 (mask 0x0FFFFFFF); the Set drives the lines in mask to value.
HRESULT KsGpioGet(IKsPropertySet* pSet, REFGUID set, DWORD* pLevels);
HRESULT KsGpioSet(IKsPropertySet* pSet, REFGUID set, DWORD value, DWORD mask);
// Id 0, Get: the two words of the device information, zero-extended; both 0 when the Get
// failed.
HRESULT KsGetDeviceInfo(IKsPropertySet* pSet, REFGUID set, DWORD* pFirst, DWORD* pSecond);
