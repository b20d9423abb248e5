// The vendor commands of the USB bridges whose capture filter takes USB control requests
// through one property, KSPROPSETID_VendorCommand id 0: one Set hands the driver a command, one
// Get fetches the driver's answer. Written once here for the command channel and the Trident
// bridge classes; the exchange itself is CVendorExchange.
//
// A command is a USB SETUP packet and its payload, at most 18 bytes:
//
//   byte 0     request type: 0xC0 a read (device to host, vendor), 0x40 a write
//   byte 1     request code
//   bytes 2-3  value (little-endian)
//   bytes 4-5  index (little-endian)
//   bytes 6-7  length (little-endian)
//   bytes 8 on the payload of a write, 0 to 10 bytes
//
// Property buffer (48 bytes, one layout for the request and the answer): the set's GUID at 0,
// the id (0) at 16, flags at 20 (left to the KS proxy), the command or answer bytes at 24, the
// DWORD count of valid bytes at 44.
//
// GPIO lines (request 0x03): line n is bit kVendorLines[n].bit of port kVendorLines[n].port.
#pragma once

#include <strmif.h>

// 85551A18-A51C-4F2D-955F-3F36372ADB5C
DEFINE_GUID(KSPROPSETID_VendorCommand, 0x85551A18, 0xA51C, 0x4F2D, 0x95, 0x5F, 0x3F, 0x36, 0x37, 0x2A, 0xDB, 0x5C);

// One command in a zeroed 20-byte buffer, with its count; after an exchange the buffer holds the
// answer and the count the answer's.
class CVendorCommand {
public:
    static constexpr int kSetupBytes = 8;
    static constexpr int kMaxPayload = 10;
    static constexpr int kMaxBytes = kSetupBytes + kMaxPayload;
    static constexpr BYTE kRead = 0xC0;
    static constexpr BYTE kWrite = 0x40;

    CVendorCommand(BYTE type, BYTE request, WORD value, WORD index, WORD length);
    // Appends payload bytes (the caller keeps the total within kMaxPayload).
    CVendorCommand& Append(const BYTE* data, int n);

    // The layouts that more than one class sends.
    // C0 10 addr sub 00 00 n 00
    static CVendorCommand I2CRead(BYTE addr, BYTE sub, int n);
    // 40 10 addr sub 00 00 n 00 + n data bytes
    static CVendorCommand I2CWrite(BYTE addr, BYTE sub, const BYTE* data, int n);
    // 40 10 a b c 00 00 00: a one-byte write with its byte in the index field
    static CVendorCommand QuickWrite(BYTE a, BYTE b, BYTE c);
    // C0 09 addr 00 00 00 01 00: one raw byte
    static CVendorCommand RawRead(BYTE addr);
    // C0 07 reg 00 00 00 01 00 and 40 07 reg 00 value 00 00 00
    static CVendorCommand ReadBridgeReg(BYTE reg);
    static CVendorCommand WriteBridgeReg(BYTE reg, BYTE value);
    // 40 03 bit port on 00 00 00 (line 0 to 7, on 0 or 1) and C0 03 00 port 00 00 01 00
    static CVendorCommand WriteLine(BYTE line, BYTE on);
    static CVendorCommand ReadPort(BYTE port);

    BYTE* Bytes() { return m_bytes; }
    int* Count() { return &m_count; }
    BYTE Byte(int at) const { return m_bytes[at]; }
    WORD Word(int at) const { return static_cast<WORD>(m_bytes[at] | (m_bytes[at + 1] << 8)); }

private:
    BYTE m_bytes[20] = {};
    int m_count = kSetupBytes;
};

struct VendorLine {
    BYTE port;
    BYTE bit;
};
inline constexpr int kVendorLineCount = 8;
extern const VendorLine kVendorLines[kVendorLineCount];

// "cmd : " and each byte as "%02x ", one more blank after every eighth, to the debug trace.
void TraceVendorCommand(const BYTE* cmd, int count);
