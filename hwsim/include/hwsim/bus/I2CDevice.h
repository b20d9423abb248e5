// One chip on a card's I2C bus, seen from the bus: address phase, data bytes in both
// directions, end of transfer. Every chip carries the same fault injection: absent (never
// answers), stuck (holds the data line low, so nothing on the bus answers) and NACKs at a
// chosen transfer.
#pragma once

#include <mutex>

#include "platform/wintypes.h"

namespace hwsim {

enum class I2CResult {
    Ack,    // the addressed chip acknowledged every byte
    Nack,   // no chip answered, or the chip refused a byte
    Stuck,  // the data line is held low: the bus cannot be used
    Refused,  // a whole-transfer helper was given an address whose read/write bit contradicts it
};

class I2CDevice {
public:
    explicit I2CDevice(BYTE address7);
    virtual ~I2CDevice();
    I2CDevice(const I2CDevice&) = delete;
    I2CDevice& operator=(const I2CDevice&) = delete;

    BYTE Address() const { return m_address; }  // 7-bit

    // ---- bus side (called by I2CBus while it owns the bus) ----
    // Address phase of a transfer to this chip; false: the chip does not acknowledge.
    bool Select(bool read);
    // A byte the master sends (index counts from 1, the address byte being 0); false: NACK.
    bool Receive(BYTE value, int index);
    // A byte the master reads.
    BYTE Transmit();
    // The transfer ends: with a stop condition (stop true) or a repeated start.
    void End(bool stop);
    // The chip holds the data line low.
    bool HoldsBus() const;

    // ---- fault injection ----
    void SetAbsent(bool absent);
    void SetStuck(bool stuck);
    // NACKs byte `byteIndex` (0: the address byte) of `count` transfers to this chip, starting
    // with transfer number `transfer` (0: the next one). count < 0: every transfer from then on.
    void NackTransfers(int transfer, int byteIndex = 0, int count = 1);
    void ClearFaults();

protected:
    // Hooks, called with the chip lock held.
    virtual bool OnSelect(bool read) { return true; }
    virtual bool OnReceive(BYTE value) = 0;
    virtual BYTE OnTransmit() = 0;
    virtual void OnEnd(bool stop) {}

    // Guards the chip's state; derived classes take it in their own inspection methods.
    std::mutex& ChipLock() const { return m_lock; }

private:
    bool NackNow(int byteIndex) const;

    const BYTE m_address;
    mutable std::mutex m_lock;
    bool m_absent = false;
    bool m_stuck = false;
    int m_transfer = -1;  // number of the current transfer since the NACK fault was armed
    int m_nackFirst = -1;
    int m_nackByte = 0;
    int m_nackCount = 0;
};

}  // namespace hwsim
