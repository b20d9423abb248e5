// A chip that is a plain file of byte registers behind an 8-bit register pointer: the first
// byte of a write sets the pointer, further bytes are stored at it, reads answer from it, and
// the pointer moves on after every byte, wrapping at the end of the file. Used as is for
// probes, and as the base of the EEPROM.
#pragma once

#include <cstddef>
#include <vector>

#include "hwsim/bus/I2CDevice.h"

namespace hwsim {

class RegisterFileDevice : public I2CDevice {
public:
    RegisterFileDevice(BYTE address7, size_t size, BYTE fill = 0x00);

    size_t Size() const { return m_registers.size(); }
    // Inspection and set-up from tests and the bench, outside any transfer.
    BYTE Peek(size_t offset) const;
    void Poke(size_t offset, BYTE value);
    std::vector<BYTE> Contents() const;
    void Load(const std::vector<BYTE>& contents);  // from offset 0; a shorter vector leaves the rest
    size_t Pointer() const;

protected:
    bool OnSelect(bool read) override;
    bool OnReceive(BYTE value) override;
    BYTE OnTransmit() override;

    // A data byte for the register at `offset` (chip lock held). The plain file stores it.
    virtual void Store(size_t offset, BYTE value);
    // The byte a read answers for the register at `offset` (chip lock held). The plain file
    // answers what is stored.
    virtual BYTE Fetch(size_t offset);
    // Where the pointer goes after a written byte; the plain file wraps at its end.
    virtual size_t NextWritePointer(size_t offset) const;

    std::vector<BYTE>& Registers() { return m_registers; }

private:
    std::vector<BYTE> m_registers;
    size_t m_pointer = 0;
    bool m_expectPointer = false;
};

}  // namespace hwsim
