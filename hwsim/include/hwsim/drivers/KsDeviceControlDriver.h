// The driver of the cards whose capture filter answers device-control commands: the
// property set C44A1A10-0A37-11D2-8328-006097BA83AB, sent as IOCTL_KS_PROPERTY on the filter's
// kernel handle. The driver offers primitives (I2C start, byte out, byte in, acknowledge,
// stop; a port word; GPIO words) and the host builds its transfers from them.
//
// Every command is one buffer given as both input and output: a command block of 120 bytes
// (property id 4) or a large block of 328 bytes (id 2), the KSPROPERTY header first (the set,
// the id, flags 2 for a SET or 1 for a GET) and the command code at byte 24:
//
//   command block (id 4)                 large block (id 2)
//   24  code                             24  code
//   28  answer word                      28  answer word
//   32, 36, 40, 44  DWORD parameters     32 to 60  DWORD parameters
//   48 to 51  BYTE parameters            68  second answer word
//   52  64 data bytes, 116  length       72  256 data bytes
//
// A command runs as a pair: the SET carries it out once; the GET that follows on the same
// thread with the same code fills its answers into the block. A GET without its SET is
// refused. The commands the driver carries out:
//
//   0x1100000B  I2C start, or repeated start (answer word 0)
//   0x1100000E  I2C byte out: the byte at 50; not acknowledged: kI2CNoAck (answer word 1
//               when acknowledged)
//   0x1100000D  I2C byte in: the byte answered at 50; fails after an address that was
//               not acknowledged, as every byte of such a transfer does
//   0x11000010  I2C acknowledge after a byte in (recorded)
//   0x1100000C  I2C stop
//   0x10000002  read the port word into the answer word
//   2           write the port word from the DWORD at 36
//   0x1000000A  GPIO read: count 1 at 40; the line levels in data bytes 0 to 3
//   10          GPIO write: value in data bytes 0 to 3, mask in 4 to 7, the DWORDs at 48
//               and 52 both 1
//   0x11000018  open (the byte at 50), 0x1000000C  option: recorded
//
// The GPIO commands are refused unless the port word is 0. The other codes of the command
// table are carried out without effect and logged with their parameter bytes ("command
// 11000002 params 05 00 ...": bytes 32 to 51 of a command block, 32 to 67 of a large one, and
// the length at 116 of 0x11000007 and 0x1100000A); their GET answers what the code's row
// lists: the answer word 0xA5000000 | (code & 0xFFFFFF), for 0x11000006 the byte
// 0x60 | (code & 0x0F) at 50, for 0x11000007 and 0x1100000A the 64 data bytes
// (code & 0xFF) + i, for 0x1000000B the second answer word ~code at 68. An unknown code, a
// code in the wrong block,
// a header that does not name the set, the id and a verb, other lengths or two different
// buffers are refused with E_INVALIDARG before the bus or a line is touched.
//
// A transfer belongs to the thread that started it: a start while another thread's transfer
// is open waits for that one's stop (I2CBus). Byte commands of a thread without an open
// transfer find nobody to acknowledge them (kI2CNoAck) and touch nothing.
#pragma once

#include <array>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "hwsim/drivers/KsDriver.h"

namespace hwsim {

// C44A1A10-0A37-11D2-8328-006097BA83AB
inline constexpr GUID kDeviceControlSet = {0xC44A1A10, 0x0A37, 0x11D2, {0x83, 0x28, 0x00, 0x60, 0x97, 0xBA, 0x83, 0xAB}};

class KsDeviceControlDriver : public KsDriver {
public:
    static constexpr DWORD kCommandId = 4;
    static constexpr DWORD kCommandSize = 120;
    static constexpr DWORD kLargeId = 2;
    static constexpr DWORD kLargeSize = 328;
    // The port word when the driver starts.
    static constexpr DWORD kPortWordAtStart = 0x00000001;
    // The top byte of the answer word of a command without effect.
    static constexpr DWORD kAnswerMark = 0xA5000000;

    explicit KsDeviceControlDriver(Card& card);

    std::vector<GUID> Sets() const override { return {kDeviceControlSet}; }
    bool HasKernelHandle() const override { return true; }

    DWORD PortWord() const;
    void SetPortWord(DWORD value);

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    // What a SET answered, kept for the GET of the same thread.
    struct Answers {
        DWORD id = 0;
        DWORD code = 0;
        DWORD word = 0;
        DWORD word2 = 0;                   // large block: the second answer word
        BYTE byte = 0;                     // command block: the byte at 50
        std::array<BYTE, 256> data = {};   // large block: the data bytes
        std::string what;
    };
    // A thread's I2C transfer, from its start to its stop.
    struct Transfer {
        bool open = false;
        bool addressSent = false;
        I2CResult address = I2CResult::Ack;
        bool reading = false;
    };
    struct ThreadState {
        bool pending = false;
        Answers answers;
        Transfer transfer;
    };

    HRESULT I2CCommand(DWORD code, BYTE* block, Answers& answers);
    HRESULT LargeCommand(DWORD code, BYTE* block, Answers& answers);
    // A code of the table that the driver carries out without effect: its reading with the
    // parameter bytes up to `paramsEnd`, and its fixed answers.
    static void AnswerWithoutEffect(DWORD code, const BYTE* block, size_t paramsEnd, Answers& answers);

    // The calling thread's state; the lock guards the map, not the state, which only its
    // thread touches.
    ThreadState& Mine();
    void Forget();

    mutable std::mutex m_lock;
    std::map<std::thread::id, ThreadState> m_threads;
    DWORD m_portWord = kPortWordAtStart;
};

}  // namespace hwsim
