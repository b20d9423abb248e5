// CVendorExchange: the exchange of a bridge's vendor commands.
#include "access/VendorExchange.h"

#include <algorithm>
#include <cstring>

#include "graph/Thread.h"

namespace {

constexpr DWORD kPropertyBytes = 48;
constexpr DWORD kCommandAt = 24;
constexpr DWORD kCountAt = 44;

constexpr int kChunk = 8;
constexpr int kSingleWriteLimit = 9;
constexpr DWORD kChunkPauseMs = 2;

// The 48-byte property buffer, the set and id in its header.
struct PropertyBuffer {
    PropertyBuffer() { std::memcpy(bytes, &KSPROPSETID_VendorCommand, sizeof(GUID)); }
    void PutCommand(const BYTE* cmd, int count)
    {
        std::memset(bytes + kCommandAt, 0, CVendorCommand::kMaxBytes);
        if (count > 0) std::memcpy(bytes + kCommandAt, cmd, count);
        const DWORD n = static_cast<DWORD>(count);
        std::memcpy(bytes + kCountAt, &n, sizeof(n));
    }
    DWORD Count() const
    {
        DWORD n;
        std::memcpy(&n, bytes + kCountAt, sizeof(n));
        return n;
    }

    alignas(8) BYTE bytes[kPropertyBytes] = {};
};

bool PayloadCount(int n) { return n >= 1 && n <= CVendorCommand::kMaxPayload; }

}  // namespace

CVendorExchange::CVendorExchange(CRITICAL_SECTION* pLock) : m_pLock(pLock) {}

CVendorExchange::~CVendorExchange() = default;

HRESULT CVendorExchange::Bind(IUnknown* filter)
{
    m_pKsPropertySet.Release();
    if (!filter) return E_POINTER;
    return filter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CVendorExchange::Transact(BYTE* cmd, int* count)
{
    // Refused with a failure for the Trident classes too, though their old exchange answered 1
    // (S_FALSE) here, which a caller testing SUCCEEDED took as sent.
    if (!m_pKsPropertySet || !cmd || !count) return E_POINTER;
    if (*count < CVendorCommand::kSetupBytes || *count > CVendorCommand::kMaxBytes) return E_INVALIDARG;
    PropertyBuffer request;
    request.PutCommand(cmd, *count);

    CScopedLock lock(m_pLock);
    HRESULT hr = m_pKsPropertySet->Set(KSPROPSETID_VendorCommand, 0, request.bytes, kPropertyBytes, request.bytes,
                                       kPropertyBytes);
    if (FAILED(hr)) return hr;
    request.PutCommand(nullptr, 0);
    PropertyBuffer answer;
    DWORD returned = 0;
    hr = m_pKsPropertySet->Get(KSPROPSETID_VendorCommand, 0, request.bytes, kPropertyBytes, answer.bytes,
                               kPropertyBytes, &returned);
    if (FAILED(hr)) return hr;
    const int n = static_cast<int>(std::min<DWORD>(answer.Count(), CVendorCommand::kMaxBytes));
    std::memcpy(cmd, answer.bytes + kCommandAt, n);
    *count = n;
    return S_OK;
}

HRESULT CVendorExchange::SendCommand(BYTE* cmd, int* count)
{
    if (cmd && count && *count >= 0 && *count <= CVendorCommand::kMaxBytes) TraceVendorCommand(cmd, *count);
    return Transact(cmd, count);
}

HRESULT CVendorExchange::Send(BYTE* cmd)
{
    int count = CVendorCommand::kSetupBytes;
    return SendCommand(cmd, &count);
}

HRESULT CVendorExchange::I2CRead(BYTE addr, BYTE sub, BYTE* out, int n)
{
    if (!m_pKsPropertySet || !out) return E_POINTER;
    if (!PayloadCount(n)) return E_INVALIDARG;
    CVendorCommand command = CVendorCommand::I2CRead(addr, sub, n);
    HRESULT hr = Answered(SendCommand(command.Bytes(), command.Count()), command, n);
    if (hr == S_OK) std::memcpy(out, command.Bytes(), n);
    return hr;
}

HRESULT CVendorExchange::I2CWrite(BYTE addr, BYTE sub, BYTE* data, int n)
{
    if (!m_pKsPropertySet || !data) return E_POINTER;
    if (!PayloadCount(n)) return E_INVALIDARG;
    CVendorCommand command = CVendorCommand::I2CWrite(addr, sub, data, n);
    return SendCommand(command.Bytes(), command.Count());
}

HRESULT CVendorExchange::I2CWriteBlock(BYTE* buf, int total)
{
    if (!m_pKsPropertySet || !buf) return E_POINTER;
    if (!PayloadCount(total - 2)) return E_INVALIDARG;
    return I2CWrite(buf[0], buf[1], buf + 2, total - 2);
}

HRESULT CVendorExchange::I2CWriteTo(BYTE addr, BYTE* buf, int total)
{
    if (!m_pKsPropertySet || !buf) return E_POINTER;
    if (!PayloadCount(total - 1)) return E_INVALIDARG;
    return I2CWrite(addr, buf[0], buf + 1, total - 1);
}

HRESULT CVendorExchange::I2CWriteChunked(BYTE* buf, int len)
{
    if (!m_pKsPropertySet || !buf) return E_POINTER;
    if (len < 3) return E_INVALIDARG;
    const int n = len - 2;
    if (n <= kSingleWriteLimit) return I2CWrite(buf[0], buf[1], buf + 2, n);
    HRESULT hr = S_OK;
    int sent = 0;
    for (; sent + kChunk <= n; sent += kChunk) {
        hr = I2CWrite(buf[0], buf[1], buf + 2 + sent, kChunk);
        if (FAILED(hr)) return hr;
        Sleep(kChunkPauseMs);
    }
    if (sent < n) hr = I2CWrite(buf[0], buf[1], buf + 2 + sent, n - sent);
    return hr;
}

HRESULT CVendorExchange::ReadByte(CVendorCommand command, BYTE* out)
{
    if (!out) return E_POINTER;
    HRESULT hr = Answered(SendCommand(command.Bytes(), command.Count()), command, 1);
    if (hr == S_OK) *out = command.Byte(0);
    return hr;
}

HRESULT CVendorExchange::TransactByte(CVendorCommand command, BYTE* out)
{
    if (!out) return E_POINTER;
    HRESULT hr = Answered(Transact(command.Bytes(), command.Count()), command, 1);
    if (hr == S_OK) *out = command.Byte(0);
    return hr;
}

HRESULT CVendorExchange::Answered(HRESULT hr, CVendorCommand& command, int n)
{
    return hr == S_OK && *command.Count() < n ? kShortAnswer : hr;
}
