// The vendor commands of the USB bridges.
#include "access/VendorCommand.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

enum : BYTE {
    kPortRequest = 0x03,
    kBridgeRequest = 0x07,
    kRawRequest = 0x09,
    kI2CRequest = 0x10,
};

WORD Pair(BYTE low, BYTE high) { return static_cast<WORD>(low | (high << 8)); }

}  // namespace

const VendorLine kVendorLines[kVendorLineCount] = {
    {1, 1}, {1, 2}, {1, 3}, {1, 4}, {3, 0}, {3, 1}, {3, 4}, {3, 5},
};

CVendorCommand::CVendorCommand(BYTE type, BYTE request, WORD value, WORD index, WORD length)
{
    const BYTE setup[kSetupBytes] = {type,
                                     request,
                                     static_cast<BYTE>(value),
                                     static_cast<BYTE>(value >> 8),
                                     static_cast<BYTE>(index),
                                     static_cast<BYTE>(index >> 8),
                                     static_cast<BYTE>(length),
                                     static_cast<BYTE>(length >> 8)};
    std::memcpy(m_bytes, setup, sizeof(setup));
}

CVendorCommand& CVendorCommand::Append(const BYTE* data, int n)
{
    std::memcpy(m_bytes + m_count, data, n);
    m_count += n;
    return *this;
}

CVendorCommand CVendorCommand::I2CRead(BYTE addr, BYTE sub, int n)
{
    return CVendorCommand(kRead, kI2CRequest, Pair(addr, sub), 0, static_cast<WORD>(n));
}

CVendorCommand CVendorCommand::I2CWrite(BYTE addr, BYTE sub, const BYTE* data, int n)
{
    return CVendorCommand(kWrite, kI2CRequest, Pair(addr, sub), 0, static_cast<WORD>(n)).Append(data, n);
}

CVendorCommand CVendorCommand::QuickWrite(BYTE a, BYTE b, BYTE c)
{
    return CVendorCommand(kWrite, kI2CRequest, Pair(a, b), c, 0);
}

CVendorCommand CVendorCommand::RawRead(BYTE addr) { return CVendorCommand(kRead, kRawRequest, addr, 0, 1); }

CVendorCommand CVendorCommand::ReadBridgeReg(BYTE reg) { return CVendorCommand(kRead, kBridgeRequest, reg, 0, 1); }

CVendorCommand CVendorCommand::WriteBridgeReg(BYTE reg, BYTE value)
{
    return CVendorCommand(kWrite, kBridgeRequest, reg, value, 0);
}

CVendorCommand CVendorCommand::WriteLine(BYTE line, BYTE on)
{
    const VendorLine& row = kVendorLines[line];
    return CVendorCommand(kWrite, kPortRequest, Pair(row.bit, row.port), on != 0 ? 1 : 0, 0);
}

CVendorCommand CVendorCommand::ReadPort(BYTE port) { return CVendorCommand(kRead, kPortRequest, Pair(0, port), 0, 1); }

void TraceVendorCommand(const BYTE* cmd, int count)
{
    std::string text = "cmd : ";
    char hex[4];
    for (int i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof(hex), "%02x ", cmd[i]);
        text += hex;
        if (i % 8 == 7) text += ' ';
    }
    text += '\n';
    OutputDebugStringA(text.c_str());
}
