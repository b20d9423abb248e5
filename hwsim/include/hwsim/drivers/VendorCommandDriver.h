// The driver of the USB bridges that take vendor commands shaped like USB control requests
// through one property of their capture filter (85551A18-A51C-4F2D-955F-3F36372ADB5C, id 0):
// a Set hands over a command, the next Get fetches its answer.
//
// Both verbs pass 48-byte instance and property buffers (a Set one buffer as both). The
// instance buffer starts with the set's GUID (bytes 0 to 15) and the id, 0 (bytes 16 to 19);
// bytes 20 to 23 are flags left to the KS proxy and ignored. The command, or the answer, lies
// from byte 24 and its count of bytes is the DWORD at 44. A command is an 8-byte SETUP packet (request
// type, request code, WORD value, WORD index, WORD length, little-endian) and 0 to 10 payload
// bytes, so its count is 8 to 18. Request type 0xC0 reads, 0x40 writes; "v" is the value field,
// "i" the index field, "len" the length field:
//
//   code  read (count 8)                          write
//   0x10  v = addr | sub << 8, len n (1 to 10):   v = addr | sub << 8, len n (1 to 10), count
//         n bytes from sub-address sub            8 + n: the payload to sub-address sub; or
//                                                 len 0, count 8: the one byte in i's low byte
//   0x0E  v = device, i = offset, len 1: one      as the read, count 9: the payload byte
//         byte of any device (the EEPROM command)
//   0x09  v = addr, len 1: one raw byte           v = addr | 4 << 8, len 4: latches a raw write
//                                                 of 4 bytes for the 0x14 that follows
//   0x0A  -                                       v = addr | n << 8 (n 1 to 4), i = sub:
//                                                 latches a sub-addressed write for the 0x14
//   0x14  -                                       v, i: the latched bytes (unused ones 0); a
//                                                 0x14 without its latch is refused
//   0x07  v = reg, len 1: a bridge register       v = reg, i = value
//   0x03  v = port << 8 (port 1 or 3), len 1:     v = bit | port << 8 of a line of the line
//         the port's state                        table, i = 0 or 1
//   0x05  v = a, len 1: the byte stored at a      v = a, i = value
//   0x0C  v = a, i = b, len 1: the byte at (a, b) v = a, i = b, len = value
//   0x11  v = a, i = index, len 2: the word       v = a, i = index, len = value
//
// Every field not named is 0. A malformed command is refused with E_INVALIDARG before anything
// reaches the card. The driver carries out a good command once and keeps its answer (the bytes
// read; nothing for a write) as the card's one pending answer: the next Get returns it and uses
// it up. A Set drops the pending answer first, so a failed command leaves none, and a Get
// without one is refused with kNoAnswer. A Get's instance must carry no command (bytes 24 to 41
// and the count at 44 zero): one that still does is refused with E_INVALIDARG, its answer kept. A transfer the device does not acknowledge fails the
// Set with kI2CNoAck.
//
// Lines: line n is GPIO line n of the card's line model (Card::Bridge()), in ports 1 and 3 as
// kLines gives. Bridge registers: register r is byte r & 3 of the card's bridge register r & ~3,
// so a read hook the board hangs there (as the Xceive fittings do for register 0x3A) answers.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "hwsim/drivers/KsDriver.h"

namespace hwsim {

// 85551A18-A51C-4F2D-955F-3F36372ADB5C
inline constexpr GUID kVendorCommandSet = {0x85551A18, 0xA51C, 0x4F2D, {0x95, 0x5F, 0x3F, 0x36, 0x37, 0x2A, 0xDB, 0x5C}};

class VendorCommandDriver : public KsDriver {
public:
    // What a Get answers when no command's answer is pending.
    static constexpr HRESULT kNoAnswer = HRESULT_FROM_WIN32(ERROR_NOT_READY);

    static constexpr DWORD kBufferBytes = 48;
    static constexpr DWORD kCommandAt = 24;
    static constexpr DWORD kCountAt = 44;

    // Port and bit of each line, by line number.
    struct Line {
        BYTE port;
        BYTE bit;
    };
    static const Line kLines[8];

    explicit VendorCommandDriver(Card& card);

    std::vector<GUID> Sets() const override { return {kVendorCommandSet}; }

    // The aliasing mode: the EEPROM command (0x0E) ignores its offset and addresses byte 0.
    void SetEepromAliasing(bool on) { m_aliasing.store(on); }
    // From now on every answer keeps at most `bytes` of what the command read (its count says
    // so), as a device that returns less than it was asked for; kWholeAnswers ends that.
    static constexpr DWORD kWholeAnswers = 0xFFFFFFFF;
    void ShortenAnswers(DWORD bytes) { m_answerLimit.store(bytes); }

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    struct Command;
    // The latched first half of a two-command write.
    struct Latch {
        BYTE address;
        bool subAddressed;
        BYTE subAddress;
        BYTE count;
    };

    HRESULT Fetch(Request& request);
    HRESULT Carry(Request& request, const Command& command, std::vector<BYTE>& answer);
    HRESULT I2C(Request& request, const Command& command, std::vector<BYTE>& answer);
    HRESULT Eeprom(Request& request, const Command& command, std::vector<BYTE>& answer);
    HRESULT RawOrLatch(Request& request, const Command& command, std::vector<BYTE>& answer);
    HRESULT LatchedData(Request& request, const Command& command, const Latch& latch);
    HRESULT Register(Request& request, const Command& command, std::vector<BYTE>& answer);
    HRESULT Port(Request& request, const Command& command, std::vector<BYTE>& answer);
    HRESULT Store(Request& request, const Command& command, std::vector<BYTE>& answer);

    std::atomic<bool> m_aliasing{false};
    std::atomic<DWORD> m_answerLimit{kWholeAnswers};
    // Held only around the driver's own state, never across a bus transfer.
    std::mutex m_lock;
    std::optional<std::vector<BYTE>> m_pending;
    std::optional<Latch> m_latch;
    std::map<std::uint64_t, WORD> m_stores;  // requests 0x05, 0x0C and 0x11, by code, value and index
};

}  // namespace hwsim
