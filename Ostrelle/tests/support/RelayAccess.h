// An access object in front of another one: every request goes on to the inner object (owned)
// and is logged with the platform time it was made, so tests see the requests that leave no
// trace on the simulated card (GetStatus on the KS-property access) and the waits between
// requests. A request can be made to fail before it reaches the inner object.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "access/CustomDataAccess.h"

struct RelayCall {
    enum Kind { WriteBlock, ReadBlock, GpioWrite, ResetTuner, ReadBridgeReg, GetStatus } kind;
    std::vector<BYTE> bytes;  // block writes: the buffer as given; GPIO: value, mask; others: the argument
    HRESULT hr = S_OK;
    ULONGLONG at = 0;         // platform clock when the request was made
};

class RelayAccess : public CCustomDataAccess {
public:
    explicit RelayAccess(CCustomDataAccess* inner) : m_inner(inner) {}

    HRESULT Init(IUnknown* device, void* context) override { return m_inner->Init(device, context); }
    HRESULT Open(BYTE open) override { return m_inner->Open(open); }
    HRESULT I2C_Read(BYTE address, int sub, BYTE* data) override { return m_inner->I2C_Read(address, sub, data); }
    HRESULT I2C_Write(BYTE address, int sub, BYTE data) override { return m_inner->I2C_Write(address, sub, data); }
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;
    HRESULT SetOption(BYTE value) override { return m_inner->SetOption(value); }
    HRESULT GPIO_Read(DWORD* value) override { return m_inner->GPIO_Read(value); }
    HRESULT GPIO_Write(DWORD value, DWORD mask) override;
    HRESULT ResetTuner(BOOL open) override;
    HRESULT ReadBridgeReg(BYTE reg, BYTE* value) override;
    HRESULT GetStatus(BOOL on) override;

    std::vector<RelayCall> Calls() const;
    std::vector<RelayCall> Calls(RelayCall::Kind kind) const;
    void Clear();

    // Block write number `index` (counted from 0 after the last Clear) answers `hr` without
    // reaching the inner object.
    void FailBlockWrite(int index, HRESULT hr = E_FAIL);

private:
    HRESULT Log(RelayCall::Kind kind, std::vector<BYTE> bytes, HRESULT hr, ULONGLONG at);

    std::unique_ptr<CCustomDataAccess> m_inner;
    mutable std::mutex m_lock;
    std::vector<RelayCall> m_calls;
    int m_blockWrites = 0;
    int m_failAt = -1;
    HRESULT m_failHr = E_FAIL;
};
