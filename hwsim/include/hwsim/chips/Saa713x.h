// The SAA713x bridge as its driver sees it: a file of 32-bit registers, with the GPIO block
// modelled line by line.
//
// GPIO: 28 lines (bits 0 to 27). The mode register 0x1B0 holds one direction bit per line
// (1: the chip drives the line from its host latch) and the sampling strobe in bit 31; a
// rising strobe (bit 31 written 1 after 0) latches the pin levels, and the status register
// 0x1B4 reads those latched levels. Writing 0x1B4 sets the host latches. A line the chip does
// not drive is at the level the devices on it drive (0 where nobody drives it). Shared lines
// (SetSharedLines) are wired-AND: a level the chip drives high only releases the line to the
// devices' level, so a device can answer on a line the host holds high.
//
// Devices on the lines (the on-board controller) attach as GpioListeners. They are told when
// the host changes its lines and just before the host samples them, and answer by driving
// their lines; they are called with the register lock held and must not wait.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/wintypes.h"

namespace hwsim {

class GpioListener {
public:
    virtual ~GpioListener() = default;
    // The host's lines changed: `driven` the lines the chip drives, `levels` their levels.
    virtual void OnHostLines(DWORD levels, DWORD driven) {}
    // The host is about to latch the pin levels.
    virtual void OnSample() {}
};

class Saa713x {
public:
    static constexpr DWORD kGpioMode = 0x1B0;
    static constexpr DWORD kGpioStatus = 0x1B4;
    static constexpr DWORD kVideoStatus = 0x11F;  // bit 0: the decoder sees a picture
    static constexpr DWORD kGpioStrobe = 0x80000000;
    static constexpr DWORD kGpioLines = 0x0FFFFFFF;
    // The bridge's register window: registers 0x000 to 0xFFF.
    static constexpr DWORD kRegisterSpace = 0x1000;

    // Computes a register's value when it is read, from the value last written there.
    typedef std::function<DWORD(DWORD stored)> ReadHook;

    Saa713x() = default;
    Saa713x(const Saa713x&) = delete;
    Saa713x& operator=(const Saa713x&) = delete;

    DWORD Read(DWORD address);
    void Write(DWORD address, DWORD value);
    void SetReadHook(DWORD address, ReadHook hook);

    // ---- GPIO lines ----
    DWORD Directions() const;
    DWORD HostLatches() const;
    DWORD ExternalLevels() const;
    DWORD PinLevels() const;      // the lines as they are now
    DWORD LatchedLevels() const;  // as the last strobe caught them
    // Devices drive the lines in `mask` to `levels`.
    void DriveExternal(DWORD mask, DWORD levels);

    // GPIO as the drivers that keep the lines themselves do it, each step under the register
    // lock, so no register access of another thread falls inside. SampleLines strobes the pins
    // (the mode word itself is left as it was) and answers the latched levels; DriveHostLines
    // makes the chip drive the lines in `mask` to `levels`, the other lines as they were.
    DWORD SampleLines();
    void DriveHostLines(DWORD mask, DWORD levels);
    // As DriveHostLines, but the chip drives only the lines in `mask` from then on.
    void DriveOnlyHostLines(DWORD mask, DWORD levels);

    // The lines both the host and a device drive (see above); none by default.
    void SetSharedLines(DWORD lines);

    void Attach(GpioListener* listener);
    void Detach(GpioListener* listener);

private:
    DWORD PinLevelsLocked() const;
    void NotifyHostLines();

    mutable std::recursive_mutex m_lock;
    std::map<DWORD, DWORD> m_registers;
    std::map<DWORD, ReadHook> m_hooks;
    DWORD m_mode = 0;
    DWORD m_latches = 0;
    DWORD m_external = 0;
    DWORD m_shared = 0;
    DWORD m_sampled = 0;
    std::vector<GpioListener*> m_listeners;
};

}  // namespace hwsim
