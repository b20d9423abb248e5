// The DVB-C board's chip library (DM1105.h) as the simulated PC installs it: the board's
// EEPROM of 128 bytes (the 24C02 at the kind's address on the board's bus, kept in the bench
// state), its infrared receiver and its ports.
//
// The receiver calls the registered callback on the library's own thread, once per key, with
// an unused byte 0 and the value 0xFFFFFF00 | key; keys pressed while nothing is registered
// wait for a registration (the bench's keys are pressed at plug-in). UnregIRkeyCallback
// returns once no call of the callback runs, and none starts afterwards.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "hwsim/boards/Card.h"
#include "platform/dm1105library.h"

namespace hwsim {

class Dm1105Library : public platform::Dm1105Library {
public:
    static constexpr DWORD kKeyHighBits = 0xFFFFFF00;

    explicit Dm1105Library(Card& card);
    ~Dm1105Library() override;

    int RegIRkeyCallback(PIRKEYCALLBACK callback, DWORD reserved, void* context) override;
    int UnregIRkeyCallback() override;
    // 0 for a null buffer, a count of 0, a byte past the EEPROM, a failing address or a byte
    // the chip did not take; bytes before a failing one are written.
    int WriteEEPROM(BYTE address, BYTE* data, BYTE count) override;
    int ReadEEPROM(BYTE address, BYTE* data, BYTE count) override;
    int WritePortBYTE(DWORD port, BYTE value) override;

    // ---- for tests ----
    void PressKey(BYTE key);
    // Reads and writes of this EEPROM address fail.
    void FailAddress(BYTE address, bool fail);
    // RegIRkeyCallback answers 0 without registering.
    void RefuseRegistration(bool refuse);
    // RegIRkeyCallback hands the waiting keys to the new callback itself, before it returns.
    void DeliverInsideRegistration(bool inside);
    // Runs on the caller's thread as UnregIRkeyCallback begins, before anything changes.
    void SetUnregisterHook(std::function<void()> hook);
    int Registrations() const;
    bool IsRegistered() const;
    // Keys handed to a callback.
    int KeysDelivered() const;
    std::vector<std::pair<DWORD, BYTE>> PortWrites() const;
    std::vector<BYTE> EepromWrites() const;  // addresses, in order

private:
    static DWORD __stdcall ReceiverProc(void* self);
    void Receive();
    bool AddressUsable(BYTE address) const;

    Card& m_card;
    mutable std::mutex m_lock;
    PIRKEYCALLBACK m_callback = nullptr;
    bool m_stop = false;
    bool m_refuse = false;
    bool m_deliverInside = false;
    std::function<void()> m_unregisterHook;
    int m_registrations = 0;
    int m_delivered = 0;
    std::deque<BYTE> m_keys;
    std::set<BYTE> m_failing;
    std::vector<std::pair<DWORD, BYTE>> m_ports;
    std::vector<BYTE> m_writes;
    HANDLE m_idle;  // set while no callback runs
    HANDLE m_wake = nullptr;
    HANDLE m_thread = nullptr;
    std::atomic<DWORD> m_threadId{0};
};

}  // namespace hwsim
