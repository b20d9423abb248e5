// A card's I2C bus: chips keyed by their 7-bit address, the wire primitives (start, byte
// out, byte in, stop) and whole-transfer helpers, with a log of every transfer.
//
// Addresses handed to the helpers are 8-bit bus addresses, sent as given: a write (and the
// sub-address phase of a sub-addressed read) takes the write form (low bit clear), a raw read
// the read form (low bit set). A helper given the other form refuses the transfer (Refused)
// and nothing goes on the wire, so a driver that gets the direction bit wrong is caught here
// rather than served. The primitives are the wire itself: the first byte written after a start
// is the address byte, its low bit the direction.
//
// One thread owns the bus from its start to its stop; a start from another thread waits until
// then (a platform wait, so the owner may wait on the platform clock meanwhile). Chips are
// called only by the owner, so a transfer never interleaves with another.
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hwsim/bus/I2CDevice.h"
#include "platform/winbase.h"

namespace hwsim {

// One transfer as it went over the wire: from a start to the next start or the stop.
struct I2CTransfer {
    BYTE address = 0;         // the address byte as sent, direction bit included
    std::vector<BYTE> data;   // bytes written, or bytes read
    int nackAt = -1;          // byte that was not acknowledged (0: the address byte), -1: none
    bool stuck = false;       // the bus was held low

    bool IsRead() const { return (address & 1) != 0; }
    // "A0 W 41 5A", "A1 R 5A", "C2 W NACK@0", "A0 W STUCK".
    std::string Text() const;
};

class I2CBus {
public:
    // Transfers kept in the log; older ones are dropped.
    static constexpr size_t kLogLimit = 8192;

    I2CBus();
    ~I2CBus();
    I2CBus(const I2CBus&) = delete;
    I2CBus& operator=(const I2CBus&) = delete;

    // Chips are owned by the caller and stay attached until detached. Attaching a second chip
    // at a taken address throws std::logic_error.
    void Attach(I2CDevice* device);
    void Detach(I2CDevice* device);
    I2CDevice* DeviceAt(BYTE address7) const;

    // ---- wire primitives ----
    void Start();                  // start, or repeated start while a transfer runs
    I2CResult Write(BYTE value);   // address byte after a start, else a data byte
    BYTE Read(bool ack);           // ack: the master wants another byte after this one
    void Stop();

    // ---- whole transfers (start ... stop); Refused for an address of the wrong form ----
    // S addr(W) sub data... P
    I2CResult WriteSub(BYTE address, BYTE sub, const BYTE* data, size_t count);
    // S addr(W) sub Sr addr+1(R) data... P
    I2CResult ReadSub(BYTE address, BYTE sub, BYTE* data, size_t count);
    // S addr(W) sub... Sr addr+1(R) data... P: a sub-address of several bytes, sent as they stand.
    I2CResult ReadSub(BYTE address, const BYTE* sub, size_t subCount, BYTE* data, size_t count);
    // S addr(W) data... P
    I2CResult WriteRaw(BYTE address, const BYTE* data, size_t count);
    // S addr(R) data... P; bytes not read (NACK, stuck) are left as they were.
    I2CResult ReadRaw(BYTE address, BYTE* data, size_t count);

    // ---- log ----
    std::vector<I2CTransfer> Log() const;
    std::string LogText() const;  // one transfer per line
    void ClearLog();

private:
    enum class Phase { Idle, Address, Writing, Reading };

    void Acquire();
    void Release();
    void EndTransfer(bool stop);
    bool AnyHoldsBus() const;
    static bool IsReadForm(BYTE address);
    I2CResult SendAddress(BYTE address);
    I2CResult SendBytes(const BYTE* data, size_t count);

    // Ownership of the bus.
    CRITICAL_SECTION m_ownership;
    std::atomic<std::thread::id> m_owner;

    // Attached chips; changed only by the owner, read under the lock.
    mutable std::mutex m_devicesLock;
    std::map<BYTE, I2CDevice*> m_devices;

    // State of the owner's transfer (touched only by the owner).
    Phase m_phase = Phase::Idle;
    I2CDevice* m_selected = nullptr;
    int m_byteIndex = 0;
    I2CTransfer m_current;

    mutable std::mutex m_logLock;
    std::deque<I2CTransfer> m_log;
};

}  // namespace hwsim
