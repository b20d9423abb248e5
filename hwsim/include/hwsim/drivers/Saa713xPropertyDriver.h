// The driver of the SAA713x TV cards that publish one property set for everything
// (FC8FACFF-0293-4CE3-8594-4F638CCD6BB0, ids 0 to 10): I2C transfers on the card's bus, the
// bridge's 32-bit registers, GPIO, and driver controls. The drivers of the CX2388x cards and of
// the Rivesk and Prisko encoder cards speak the same layout with fewer ids (0 to 4 and 6, GPIO
// kept by the driver), the latter on a set of their own: one class serves them all, the set,
// its short name and the published ids given at construction.
//
// Every request passes one buffer as both instance and property data; bytes 0 to 23 are the
// caller's header room and are ignored; the payload starts at byte 24:
//
//   id  request                verb     instance/data  payload
//    0  device information     Get      24/48          answer: WORD at 24, WORD at 26
//    1  open                   Set      24/48          BYTE flag at 24 (0 or 1)
//    2  one-byte I2C transfer  Get/Set  32/56          BYTE address at 24, DWORD sub-address at
//                                                      28 (0 to 0xFF, one byte on the bus), BYTE
//                                                      data at 32 (the answer of a Get)
//    3  option                 Set      24/48          BYTE value at 24
//    4  GPIO                   Get/Set  24/48          DWORD mask at 24, DWORD value at 28 (the
//                                                      masked line levels answered by a Get)
//    5  32-bit register        Get/Set  24/48          DWORD register at 24, DWORD value at 28
//    6  I2C block              Get/Set  280/304        BYTE data[256] at 24, byte 24 the device
//                                                      address; DWORD length at 280 counting it
//                                                      (Get 1 to 256, Set 2 to 256); a Get
//                                                      answers the bytes read from byte 24 on
//    7, 8, 10  control         Set      24/48          DWORD value at 24
//    9  control                Set      16/40          nothing
//
// The value of id 7 is the handle of the caller's device event (a handle fits the 32 bits, as
// kernel handles do); the driver keeps the last one and signals it for each device event
// (RaiseDeviceEvent). Ids 8, 9 and 10 are only logged.
//
// Anything else (other lengths, two different buffers, a flag above 1, GPIO bits above line
// 27, a register outside the bridge's register space, a block length out of range) is refused
// with E_INVALIDARG and nothing reaches the card. The direction of a transfer is the verb's;
// the device is found by its address >> 1, whatever the address's low bit.
#pragma once

#include <mutex>
#include <vector>

#include "hwsim/drivers/KsDriver.h"

namespace hwsim {

// FC8FACFF-0293-4CE3-8594-4F638CCD6BB0
inline constexpr GUID kSaa713xPropertySet = {0xFC8FACFF, 0x0293, 0x4CE3,
                                             {0x85, 0x94, 0x4F, 0x63, 0x8C, 0xCD, 0x6B, 0xB0}};
// B9433C39-8511-4660-A2ED-E0911456DF74: the Rivesk and Prisko encoder cards.
inline constexpr GUID kRiveskPropertySet = {0xB9433C39, 0x8511, 0x4660,
                                            {0xA2, 0xED, 0xE0, 0x91, 0x14, 0x56, 0xDF, 0x74}};

class Saa713xPropertyDriver : public KsDriver {
public:
    // The two words of id 0: the bridge's PCI vendor and device.
    static constexpr WORD kDeviceInfoVendor = 0x1131;
    static constexpr WORD kDeviceInfoDevice = 0x7134;

    // The ids of the drivers that keep GPIO themselves.
    static const std::vector<DWORD> kGpioDriverIds;

    // What a GPIO Set does to the lines outside its mask: the chip keeps driving them as it did,
    // or lets them go (the CX2388x driver: the lines of the last Set are the lines it drives).
    enum class GpioWrite { KeepOtherLines, ReleaseOtherLines };

    // The SAA713x set with every id.
    explicit Saa713xPropertyDriver(Card& card);
    // `set` named `name` in the wire log, publishing only `ids` (each 0 to 10).
    Saa713xPropertyDriver(Card& card, const GUID& set, const char* name, std::vector<DWORD> ids,
                          GpioWrite gpioWrite = GpioWrite::KeepOtherLines);

    std::vector<GUID> Sets() const override { return {m_set}; }

    // Signals the device event last given through id 7; false when none was given or the
    // handle no longer names an event.
    bool RaiseDeviceEvent();
    DWORD DeviceEventHandle() const;

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    HRESULT Transfer(Request& request);
    HRESULT Gpio(Request& request);
    HRESULT Block(Request& request);

    const GUID m_set;
    const char* const m_name;
    const std::vector<DWORD> m_ids;
    const GpioWrite m_gpioWrite;

    // GPIO requests are read-modify-writes of the bridge's GPIO registers: no register request
    // of another thread falls inside one.
    std::mutex m_registerLock;

    mutable std::mutex m_eventLock;
    DWORD m_deviceEvent = 0;
};

}  // namespace hwsim
