// The access object of a card whose driver addresses the tuner itself (the direct path): a
// block write sends the caller's buffer whole to the tuner at 0xC2 and a block read fills the
// buffer from byte 0 with the tuner's answer. The reset line is the board's GPIO line 18.
#pragma once

#include "support/TestAccessBase.h"
#include "hwsim/boards/Card.h"

class DirectBusAccess : public TestAccessBase {
public:
    static constexpr BYTE kTuner = 0xC2;

    explicit DirectBusAccess(hwsim::Card& board) : m_board(board) {}

    HRESULT I2C_Read(BYTE, int, BYTE*) override { return E_NOTIMPL; }
    HRESULT I2C_Write(BYTE, int, BYTE) override { return E_NOTIMPL; }
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;
    HRESULT ResetTuner(BOOL open) override;

private:
    hwsim::Card& m_board;
};
