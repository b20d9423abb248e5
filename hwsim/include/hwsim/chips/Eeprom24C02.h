// The card's configuration EEPROM: a 24C02-style chip of 256 bytes, at bus address 0xA0 unless
// the board wires it elsewhere (0xA2 on the boxes).
// Reads run on through the whole chip and wrap at its end; a write fills the chip's page
// buffer, whose pointer wraps within the page, and the page is programmed at the stop
// condition. While the write cycle runs (on the platform clock) the chip does not acknowledge
// its address. With the write-protect pin high the chip acknowledges writes but stores
// nothing.
#pragma once

#include <functional>
#include <vector>

#include "hwsim/bus/RegisterFileDevice.h"

namespace hwsim {

class Eeprom24C02 : public RegisterFileDevice {
public:
    static constexpr BYTE kAddress7 = 0x50;  // 0xA0 on the bus, the usual place
    static constexpr size_t kSize = 256;

    struct Options {
        size_t pageSize = 8;       // bytes the page buffer holds
        DWORD writeCycleMs = 0;    // programming time after a stop
        bool writeProtect = false;
        BYTE address7 = kAddress7;
    };
    // Told every byte the chip programs (chip lock held; must not call back into the chip).
    typedef std::function<void(BYTE offset, BYTE value)> StoreObserver;

    Eeprom24C02();
    explicit Eeprom24C02(const Options& options);

    void SetWriteProtect(bool on);
    bool WriteProtect() const;
    void SetWriteCycleMs(DWORD milliseconds);
    void SetStoreObserver(StoreObserver observer);

protected:
    bool OnSelect(bool read) override;
    void OnEnd(bool stop) override;
    void Store(size_t offset, BYTE value) override;
    size_t NextWritePointer(size_t offset) const override;

private:
    Options m_options;
    std::vector<std::pair<BYTE, BYTE>> m_pending;  // page buffer: offset, value
    ULONGLONG m_busyUntil = 0;
    StoreObserver m_observer;
};

}  // namespace hwsim
