#include "support/RelayAccess.h"

#include "platform/runtime.h"

HRESULT RelayAccess::Log(RelayCall::Kind kind, std::vector<BYTE> bytes, HRESULT hr, ULONGLONG at)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back({kind, std::move(bytes), hr, at});
    return hr;
}

HRESULT RelayAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    const ULONGLONG at = platform::ClockNow();
    std::vector<BYTE> request = buf != nullptr && len > 0 ? std::vector<BYTE>(buf, buf + len) : std::vector<BYTE>();
    return Log(RelayCall::ReadBlock, std::move(request), m_inner->I2C_ReadBlock(buf, len), at);
}

HRESULT RelayAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    const ULONGLONG at = platform::ClockNow();
    std::vector<BYTE> bytes = buf != nullptr && len > 0 ? std::vector<BYTE>(buf, buf + len) : std::vector<BYTE>();
    bool fail;
    HRESULT failHr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        fail = m_blockWrites++ == m_failAt;
        failHr = m_failHr;
    }
    return Log(RelayCall::WriteBlock, std::move(bytes), fail ? failHr : m_inner->I2C_WriteBlock(buf, len), at);
}

HRESULT RelayAccess::GPIO_Write(DWORD value, DWORD mask)
{
    const ULONGLONG at = platform::ClockNow();
    return Log(RelayCall::GpioWrite, {BYTE(value), BYTE(mask)}, m_inner->GPIO_Write(value, mask), at);
}

HRESULT RelayAccess::ResetTuner(BOOL open)
{
    const ULONGLONG at = platform::ClockNow();
    return Log(RelayCall::ResetTuner, {BYTE(open)}, m_inner->ResetTuner(open), at);
}

HRESULT RelayAccess::ReadBridgeReg(BYTE reg, BYTE* value)
{
    const ULONGLONG at = platform::ClockNow();
    return Log(RelayCall::ReadBridgeReg, {reg}, m_inner->ReadBridgeReg(reg, value), at);
}

HRESULT RelayAccess::GetStatus(BOOL on)
{
    const ULONGLONG at = platform::ClockNow();
    return Log(RelayCall::GetStatus, {BYTE(on)}, m_inner->GetStatus(on), at);
}

std::vector<RelayCall> RelayAccess::Calls() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

std::vector<RelayCall> RelayAccess::Calls(RelayCall::Kind kind) const
{
    std::vector<RelayCall> calls;
    for (const RelayCall& call : Calls())
        if (call.kind == kind) calls.push_back(call);
    return calls;
}

void RelayAccess::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.clear();
    m_blockWrites = 0;
    m_failAt = -1;
}

void RelayAccess::FailBlockWrite(int index, HRESULT hr)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_failAt = m_blockWrites + index;
    m_failHr = hr;
}
