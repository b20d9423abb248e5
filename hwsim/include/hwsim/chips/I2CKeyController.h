// The remote-key controller that boards read over I2C: a register file with a key-ready
// register (1 while a key waits, else 0) and a key register, at addresses the board chooses.
// Reading the key register, writing 0 to the ready register or 0xFF to the key register
// clears the ready state, so one press gives one key; keys pressed meanwhile wait in order
// and the next one is presented as soon as the ready state clears (on a wiring that says so,
// only once the key register was read). Other registers are plain.
#pragma once

#include <cstddef>
#include <vector>

#include "hwsim/bus/RegisterFileDevice.h"
#include "hwsim/chips/KeyQueue.h"

namespace hwsim {

// Where a board wires its key controller: the chip's 7-bit address and its two registers.
struct I2CKeyWiring {
    BYTE address7;
    BYTE readyRegister;
    BYTE keyRegister;
    // The host acknowledges before it reads the key: the next key waits until the key register
    // was read.
    bool nextAfterKeyRead = false;
};

// The MPEG-2 box's controller: 7-bit 0x5D, ready at 0x30, key at 0x31.
inline constexpr I2CKeyWiring kBoxKeyWiring = {0x5D, 0x30, 0x31};
// The Lurvan PCI Express board's controller: the same chip at the same place (8-bit 0xBB).
inline constexpr I2CKeyWiring kLurvanKeyWiring = kBoxKeyWiring;
// The USB TV box's controller: the same registers at the same address, acknowledged before the
// key is read.
inline constexpr I2CKeyWiring kTVBoxKeyWiring = {0x5D, 0x30, 0x31, true};
// The Fimbrel card's controller: 7-bit 0x5D (0xBA), ready at 0xAA, key at 0xAB.
inline constexpr I2CKeyWiring kFimbrelKeyWiring = {0x5D, 0xAA, 0xAB};

class I2CKeyController : public RegisterFileDevice {
public:
    static constexpr size_t kRegisters = 256;
    static constexpr BYTE kClearKey = 0xFF;

    explicit I2CKeyController(const I2CKeyWiring& wiring);

    const I2CKeyWiring& Wiring() const { return m_wiring; }
    // Queues a key; presented at once when none waits.
    void PressKey(BYTE code);
    // Presses `round` now and again `pauseMs` after each round was taken (KeyQueue).
    void RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs);
    // Whether the ready register reads 1.
    bool KeyWaiting() const;
    // Keys pressed and not yet presented.
    size_t KeysQueued() const;

protected:
    void Store(size_t offset, BYTE value) override;
    BYTE Fetch(size_t offset) override;

private:
    // Chip lock held.
    void ClearReady();
    void PresentNext();

    const I2CKeyWiring m_wiring;
    KeyQueue m_queue;
    bool m_keyUnread = false;  // the presented key was not read yet
};

}  // namespace hwsim
