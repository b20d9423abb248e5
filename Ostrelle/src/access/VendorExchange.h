// CVendorExchange: the exchange of a bridge's vendor commands (VendorCommand.h) with its
// driver filter, and the I2C data commands built on it. The command channel and the Trident
// bridge classes derive from it; each gives the critical section that every exchange holds.
//
// The exchange: Set the 48-byte property buffer with the command, then Get the answer into a
// second buffer; the answer's bytes (at most 18) replace the command in the caller's buffer and
// their count goes to *count. S_OK when the driver answered, its failure when not; a failed Set
// skips the Get. A count outside 8 to 18 is refused with E_INVALIDARG; a missing interface, a
// null command or a null count with E_POINTER, as a null output or buffer is everywhere; all
// before anything is sent. The reads below take the bytes they asked for only from
// an answer that holds them all: a shorter answer is kShortAnswer, with the output unchanged.
#pragma once

#include "access/VendorCommand.h"

class CVendorExchange {
public:
    // What a read answers when the driver's answer holds fewer bytes than the read takes.
    static constexpr HRESULT kShortAnswer = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

    CVendorExchange(const CVendorExchange&) = delete;
    CVendorExchange& operator=(const CVendorExchange&) = delete;

    HRESULT Transact(BYTE* cmd, int* count);
    // Traces the command, then Transact.
    HRESULT SendCommand(BYTE* cmd, int* count);
    // SendCommand of an 8-byte command.
    HRESULT Send(BYTE* cmd);

    // Traced C0 10 addr sub 00 00 n 00 (n 1 to 10); the n answer bytes to out.
    HRESULT I2CRead(BYTE addr, BYTE sub, BYTE* out, int n);
    // Traced 40 10 addr sub 00 00 n 00 + n data bytes (n 1 to 10).
    HRESULT I2CWrite(BYTE addr, BYTE sub, BYTE* data, int n);
    HRESULT I2CWriteBlock(BYTE* buf, int total);           // I2CWrite(buf[0], buf[1], buf + 2, total - 2)
    HRESULT I2CWriteTo(BYTE addr, BYTE* buf, int total);  // I2CWrite(addr, buf[0], buf + 1, total - 1)
    // buf[0] the device, buf[1] the sub-address, len - 2 data bytes from buf[2]: up to 9 in one
    // I2CWrite, more in writes of 8 to the same sub-address with a 2 ms sleep after each, then
    // one of the rest. The first failed write ends it and is the result. E_INVALIDARG for len
    // below 3.
    HRESULT I2CWriteChunked(BYTE* buf, int len);

protected:
    // pLock: held around every exchange.
    explicit CVendorExchange(CRITICAL_SECTION* pLock);
    ~CVendorExchange();

    // Releases a held interface; E_POINTER for a null filter, else the result of asking it for
    // IKsPropertySet.
    HRESULT Bind(IUnknown* filter);
    // Send (traced) or Transact (untraced) of an 8-byte read; answer byte 0 to *out. E_POINTER
    // for a null out.
    HRESULT ReadByte(CVendorCommand command, BYTE* out);
    HRESULT TransactByte(CVendorCommand command, BYTE* out);
    // The result of an exchange of `command` that reads n bytes: kShortAnswer when it succeeded
    // with fewer.
    static HRESULT Answered(HRESULT hr, CVendorCommand& command, int n);

    // The I2C data commands above answer E_POINTER without it, or for a null buffer.
    CComPtr<IKsPropertySet> m_pKsPropertySet;

private:
    CRITICAL_SECTION* const m_pLock;
};
