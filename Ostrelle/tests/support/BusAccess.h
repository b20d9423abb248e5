// An access object that carries a tuner's requests straight to a simulated I2C bus, and a card
// whose video-decoder lock follows a simulated lock source.
#pragma once

#include <windows.h>

#include <functional>

#include "support/TestAccessBase.h"
#include "tuners/TunerBase.h"
#include "hwsim/bus/I2CBus.h"

class BusAccess : public TestAccessBase {
public:
    explicit BusAccess(hwsim::I2CBus& bus) : m_bus(bus) {}

    HRESULT I2C_Read(BYTE address, int sub, BYTE* data) override;
    HRESULT I2C_Write(BYTE address, int sub, BYTE data) override;
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;
    // The video decoder's status bit, from the lock source.
    HRESULT Reserved27(DWORD* value) override;

    std::function<bool()> picture = [] { return false; };

private:
    hwsim::I2CBus& m_bus;
};

class DecoderCard : public CTunerOwnerCard {
public:
    explicit DecoderCard(std::function<bool()> picture) : m_picture(std::move(picture)) {}
    HRESULT IsSignalLocked(DWORD* locked) override
    {
        *locked = m_picture() ? 1 : 0;
        return S_OK;
    }
    long GetAccessKind() const override { return kind; }

    long kind = 2;  // the KS-property access unless a test names another

private:
    std::function<bool()> m_picture;
};
