// The kernel driver of the Lurvan PCI Express dual-tuner board: one device interface of class
// {4F397D29-7F2F-42A9-AB90-1791384014C4} per board, with a DevicePath of the board's own,
// reached with DeviceIoControl (logged as set "PCIE" with the control code as id; a Get with the
// request as instance and the answer as data for reads, a Set with the request as data
// otherwise). Every request must have exactly its sizes:
//
//   0x226000  I2C read, 253-byte request: byte 0 the device. Odd: a raw read of byte 2 (1 to
//             253) bytes into the answer (of that size) from byte 0. Even, or odd with bytes 1
//             and 2 both 1 or both 2 and a 2-byte answer: byte 1 (1 or 2) sub-address bytes from
//             byte 3 on are written, one byte is read after a repeated start and answered in
//             byte 1 of a 2-byte answer (byte 0 is 0).
//   0x22A004  I2C write, 252-byte request: byte 0 the device (even), byte 1 the count n (1 to
//             250), then the n bytes as they stand; no answer.
//   0x226458  GPIO, 2 bytes: the selector (3 or 4) and the level (0 or 1) of the line of that
//             number; no answer.
//
// Anything else is refused with ERROR_INVALID_PARAMETER before the bus or a line is touched; a
// device that does not acknowledge fails with ERROR_IO_DEVICE; an unplugged board answers
// ERROR_DEVICE_NOT_CONNECTED. The board's halves: tuner A at 0xC2/0xC3 with its reset on
// line 3, tuner B at 0xC8/0xC9 with its reset on line 4 (0 holds it), the EEPROM and the other
// chips shared.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "hwsim/drivers/KsDriver.h"
#include "platform/deviceinterfaces.h"
#include "platform/devicetree.h"

namespace hwsim {

// {4F397D29-7F2F-42A9-AB90-1791384014C4}
inline constexpr GUID kPcieInterfaceClass = {0x4F397D29, 0x7F2F, 0x42A9, {0xAB, 0x90, 0x17, 0x91, 0x38, 0x40, 0x14, 0xC4}};

class PcieDriver : public KsDriver {
public:
    static constexpr DWORD kI2CRead = 0x226000;
    static constexpr DWORD kI2CWrite = 0x22A004;
    static constexpr DWORD kGpio = 0x226458;
    static constexpr DWORD kReadSize = 253;
    static constexpr DWORD kWriteSize = 252;
    static constexpr DWORD kGpioSize = 2;

    // Enters the board's device interface, its DevicePath made from the card's instance.
    explicit PcieDriver(Card& card);
    ~PcieDriver() override;

    std::vector<GUID> Sets() const override { return {}; }

    const std::string& DevicePath() const { return m_devicePath; }
    // DeviceIoControl on the board: ERROR_SUCCESS or the Win32 error of the failure.
    DWORD Control(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);

    // Lists the board's two capture devices, one after the other, under its FriendlyName, each
    // bind making a capture filter on `driver`; taken out when the board is unplugged or the
    // driver goes.
    static void PlugCaptureDevices(const std::shared_ptr<PcieDriver>& driver);

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    HRESULT Read(Request& request);
    HRESULT Write(Request& request);
    HRESULT Gpio(Request& request);
    void RemoveDevices();

    std::string m_devicePath;
    std::mutex m_devicesLock;
    platform::DeviceInterfaceId m_interface = 0;
    std::vector<platform::DeviceId> m_captureDevices;
    int m_unplugHook = 0;
};

}  // namespace hwsim
