// CCommandChannel: the vendor commands of a USB bridge.
#include "access/CommandChannel.h"

#include <cstring>

#include "graph/Thread.h"

namespace {

enum : BYTE {
    kRequest05 = 0x05,
    kRawRequest = 0x09,
    kShortRequest = 0x0A,
    kRequest0C = 0x0C,
    kEepromRequest = 0x0E,
    kWordRequest = 0x11,
    kDataRequest = 0x14,
};

constexpr BYTE kRead = CVendorCommand::kRead;
constexpr BYTE kWrite = CVendorCommand::kWrite;
constexpr int kShortMax = 4;

constexpr BYTE kEeprom = 0xA0;
constexpr BYTE kProbeValue = 0x99;
constexpr DWORD kProbeWaitMs = 100;

}  // namespace

CCommandChannel::CCommandChannel() : CVendorExchange(&m_cs) { InitializeCriticalSection(&m_cs); }

CCommandChannel::~CCommandChannel()
{
    DeleteCriticalSection(&m_cs);
    Close();
}

HRESULT CCommandChannel::Init(IUnknown* filter) { return Bind(filter); }

void CCommandChannel::Close() { m_pKsPropertySet.Release(); }

HRESULT CCommandChannel::SendTwo(CVendorCommand first, CVendorCommand second)
{
    HRESULT hr = Send(first.Bytes());
    if (hr != S_OK) return hr;
    return Send(second.Bytes());
}

HRESULT CCommandChannel::ControlRequest(BYTE type, BYTE request, WORD value, WORD index, WORD* io)
{
    if (!io) return E_POINTER;
    CVendorCommand command(type, request, value, index, *io);
    // The word handed back is the answer's bytes 6-7: an answer that ends before them fails.
    HRESULT hr = Answered(SendCommand(command.Bytes(), command.Count()), command, CVendorCommand::kSetupBytes);
    if (hr == S_OK) *io = command.Word(6);
    return hr;
}

HRESULT CCommandChannel::ReadEepromByte(BYTE dev, BYTE offset, BYTE* out)
{
    return ReadByte(CVendorCommand(kRead, kEepromRequest, dev, offset, 1), out);
}

HRESULT CCommandChannel::WriteEepromByte(BYTE dev, BYTE offset, BYTE value)
{
    CVendorCommand command = CVendorCommand(kWrite, kEepromRequest, dev, offset, 1).Append(&value, 1);
    return SendCommand(command.Bytes(), command.Count());
}

HRESULT CCommandChannel::I2CReadByte(BYTE addr, BYTE sub, BYTE* out)
{
    if (!m_pKsPropertySet) return E_POINTER;
    return ReadByte(CVendorCommand::I2CRead(addr & 0xFE, sub, 1), out);
}

HRESULT CCommandChannel::I2CWriteByte(BYTE addr, BYTE sub, BYTE value)
{
    if (!m_pKsPropertySet) return E_POINTER;
    return I2CWrite(addr, sub, &value, 1);
}

HRESULT CCommandChannel::I2CReadBlock(BYTE* buf, int total)
{
    if (!m_pKsPropertySet || !buf) return E_POINTER;
    // The length first: a buffer of one byte has no sub-address to read.
    if (total < 3 || total - 2 > CVendorCommand::kMaxPayload) return E_INVALIDARG;
    return I2CRead(buf[0], buf[1], buf, total - 2);
}

HRESULT CCommandChannel::I2CReadDirect(BYTE addr, BYTE* out) { return ReadByte(CVendorCommand::RawRead(addr), out); }

HRESULT CCommandChannel::I2CWriteDirect4(BYTE addr, BYTE b0, BYTE b1, BYTE b2, BYTE b3)
{
    return SendTwo(CVendorCommand(kWrite, kRawRequest, static_cast<WORD>(addr | (4 << 8)), 0, 4),
                   CVendorCommand(kWrite, kDataRequest, static_cast<WORD>(b0 | (b1 << 8)),
                                  static_cast<WORD>(b2 | (b3 << 8)), 0));
}

HRESULT CCommandChannel::I2CWriteShort(BYTE addr, BYTE sub, BYTE* data, int n)
{
    if (!m_pKsPropertySet || !data) return E_POINTER;
    if (n < 1 || n > kShortMax) return E_INVALIDARG;
    CVendorCommand second(kWrite, kDataRequest, 0, 0, 0);
    std::memcpy(second.Bytes() + 2, data, n);
    return SendTwo(CVendorCommand(kWrite, kShortRequest, static_cast<WORD>(addr | (n << 8)), sub, 0), second);
}

HRESULT CCommandChannel::QuickWrite(BYTE a, BYTE b, BYTE c)
{
    if (!m_pKsPropertySet) return E_POINTER;
    CVendorCommand command = CVendorCommand::QuickWrite(a, b, c);
    return Transact(command.Bytes(), command.Count());
}

HRESULT CCommandChannel::ReadBridgeReg(BYTE reg, BYTE* out)
{
    if (!m_pKsPropertySet) return E_POINTER;
    return ReadByte(CVendorCommand::ReadBridgeReg(reg), out);
}

HRESULT CCommandChannel::WriteBridgeReg(BYTE reg, BYTE value)
{
    if (!m_pKsPropertySet) return E_POINTER;
    return Send(CVendorCommand::WriteBridgeReg(reg, value).Bytes());
}

HRESULT CCommandChannel::ReadRequest05(BYTE a, BYTE* out)
{
    if (!m_pKsPropertySet) return E_POINTER;
    return ReadByte(CVendorCommand(kRead, kRequest05, a, 0, 1), out);
}

HRESULT CCommandChannel::WriteRequest05(BYTE a, BYTE value)
{
    if (!m_pKsPropertySet) return E_POINTER;
    return Send(CVendorCommand(kWrite, kRequest05, a, value, 0).Bytes());
}

HRESULT CCommandChannel::ReadRequest0C(BYTE a, BYTE b, BYTE* out)
{
    return ReadByte(CVendorCommand(kRead, kRequest0C, a, b, 1), out);
}

HRESULT CCommandChannel::WriteRequest0C(BYTE a, BYTE b, BYTE c)
{
    return Send(CVendorCommand(kWrite, kRequest0C, a, b, c).Bytes());
}

HRESULT CCommandChannel::ReadWord(BYTE a, WORD index, WORD* out)
{
    if (!out) return E_POINTER;
    CVendorCommand command(kRead, kWordRequest, a, index, 2);
    HRESULT hr = Answered(SendCommand(command.Bytes(), command.Count()), command, 2);
    if (hr == S_OK) *out = command.Word(0);
    return hr;
}

HRESULT CCommandChannel::WriteWord(BYTE a, WORD index, WORD value)
{
    return Send(CVendorCommand(kWrite, kWordRequest, a, index, value).Bytes());
}

HRESULT CCommandChannel::ReadLine(BYTE line, BYTE* state)
{
    if (!m_pKsPropertySet || !state) return E_POINTER;
    if (line < 1 || line >= kVendorLineCount) return E_INVALIDARG;
    BYTE port = 0;
    HRESULT hr = ReadByte(CVendorCommand::ReadPort(line > 3 ? 3 : 1), &port);
    if (hr == S_OK) *state = (port >> kVendorLines[line].bit) & 1;
    return hr;
}

HRESULT CCommandChannel::WriteLine(BYTE line, BYTE on)
{
    if (!m_pKsPropertySet) return E_POINTER;
    if (line >= kVendorLineCount) return E_INVALIDARG;
    return Send(CVendorCommand::WriteLine(line, on).Bytes());
}

HRESULT CCommandChannel::ReadLines(BYTE* states)
{
    if (!m_pKsPropertySet || !states) return E_POINTER;
    BYTE lines = 0;
    for (BYTE line = kVendorLineCount - 1; line >= 1; --line) {
        BYTE state = 0;
        HRESULT hr = ReadLine(line, &state);
        if (hr != S_OK) return hr;
        lines |= static_cast<BYTE>(state << line);
    }
    *states = lines;
    return S_OK;
}

HRESULT CCommandChannel::ProbeEepromAliasing(BYTE* aliasing)
{
    if (!aliasing) return E_POINTER;
    BYTE saved = 0;
    BYTE savedI2C = 0;
    HRESULT hr = ReadEepromByte(kEeprom, 0, &saved);
    if (hr == S_OK) hr = I2CReadByte(kEeprom, 0, &savedI2C);
    if (hr != S_OK) return hr;  // nothing written yet
    hr = WriteEepromByte(kEeprom, 0, kProbeValue);
    if (hr == S_OK) Sleep(kProbeWaitMs);
    BYTE result = 0;
    BYTE first = 0;
    BYTE second = 0;
    if (hr == S_OK) hr = ReadEepromByte(kEeprom, 1, &first);
    if (hr == S_OK && first == kProbeValue) hr = ReadEepromByte(kEeprom, 0x10, &second);
    if (hr == S_OK && first == kProbeValue && second == kProbeValue) {
        I2CWriteByte(kEeprom, 0, savedI2C);  // byte 0 is written again below in any case
        result = 1;
    }
    // Byte 0 goes back whatever the probe found; a restore that fails is tried once more.
    HRESULT restored = WriteEepromByte(kEeprom, 0, saved);
    if (restored != S_OK) restored = WriteEepromByte(kEeprom, 0, saved);
    if (restored != S_OK) return restored;
    if (hr != S_OK) return hr;
    *aliasing = result;
    return S_OK;
}
