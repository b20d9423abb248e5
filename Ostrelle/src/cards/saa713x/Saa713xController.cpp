// The word transactions with the on-board controller of the SAA713x cards, the IO pin layout.
#include "cards/saa713x/Saa713xController.h"

#include <optional>

#include "cards/base/ControllerLink.h"
#include "access/CustomDataAccess.h"
#include "cards/base/TVCardFilter.h"

namespace {

constexpr int kAttempts = 5;
constexpr DWORD kByteSettleMs = 200;
constexpr DWORD kRetryPauseMs = 100;
constexpr DWORD kReadPauseMs = 100;
constexpr DWORD kFrameWaitMs = 10;

// Controller codes (data bytes) of the transactions.
constexpr BYTE kAskHigh = 0x01;
constexpr BYTE kAskLow = 0x10;
constexpr BYTE kCommandOn = 0x33;
constexpr BYTE kCommandOff = 0x11;
constexpr DWORD kReplyOn = 0xCA;
constexpr DWORD kReplyOff = 0xBA;

// The IO layout's lines.
constexpr DWORD kIoDataBits = 0xEF80000;
constexpr DWORD kIoIdle = 0x8600;
constexpr DWORD kIoPipIdleMask = 0xF600;
constexpr DWORD kIoStrobe = 0x800;
constexpr DWORD kIoKeyStateMask = 0xE00;
constexpr DWORD kIoKeyState = 0x600;
constexpr DWORD kAudioBits = 0x7000;

DWORD StandardToGpio(BYTE value) { return value; }
BYTE StandardFromGpio(DWORD word) { return static_cast<BYTE>(word & 0xFF); }
// The strobe and phase bits must read 0 with the reply byte.
DWORD StandardReply(DWORD word) { return word & 0x1C00FF; }

DWORD IoToGpio(BYTE value) { return MapControllerByte(value, TRUE); }
BYTE IoFromGpio(DWORD word) { return static_cast<BYTE>(MapControllerByte(word, FALSE)); }
DWORD IoReply(DWORD word) { return MapControllerByte(word & 0xEF80600, FALSE); }

constexpr char kGpioReadTrace[] = "GPIO_Read: %08x\n";

constexpr Saa713xControllerLayout kStandard = {
    0x1C0000, 0x80000,        0x100000,        0x180000,          0x1801FF,       5,
    kGpioReadTrace, kGpioReadTrace, kGpioReadTrace, TRUE, &StandardToGpio, &StandardFromGpio, &StandardReply,
};
constexpr Saa713xControllerLayout kIo = {
    0xE00, 0x400, 0x200, 0x600, 0xEF88600, 10, nullptr, nullptr, nullptr, TRUE, &IoToGpio, &IoFromGpio, &IoReply,
};

DWORD Word(const Saa713xControllerLayout& layout, BYTE data, DWORD phase) { return layout.ToGpio(data) | phase; }

// One answered frame: the request, then the answer in `phase`; its data byte into *data.
BOOL AskByte(CTVCardFilter* card, const Saa713xControllerLayout& layout, BYTE request, DWORD phase,
             const char* replyTrace, BYTE* data) {
    if (!card->SendGPIOCommand(Word(layout, request, layout.phaseCommand), layout.commandMask, kFrameWaitMs)) {
        return FALSE;
    }
    DWORD word = 0;
    if (!card->WaitReadState(&word)) return FALSE;
    if (replyTrace != nullptr) TRACE(replyTrace, word);
    if ((word & layout.stateMask) != phase) return FALSE;
    *data = layout.FromGpio(word);
    return TRUE;
}

}  // namespace

const Saa713xControllerLayout& Saa713xStandardLayout() { return kStandard; }
const Saa713xControllerLayout& Saa713xIoLayout() { return kIo; }

DWORD MapControllerByte(DWORD value, BOOL toGpio) {
    if (toGpio) {
        const DWORD b = value & 0xFF;
        return ((b << 19) & 0xF80000) | ((b << 20) & 0xE000000);
    }
    const DWORD w = value & kIoDataBits;
    return ((w >> 19) & 0x1F) | ((w >> 20) & 0xE0);
}

BOOL Saa713xWriteControllerWord(CTVCardFilter* card, const Saa713xControllerLayout& layout, WORD value) {
    if (card == nullptr || card->GetAccess() == nullptr) return FALSE;
    CControllerLock lock;
    if (layout.lockRequired && !lock.IsLocked()) return FALSE;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!card->SendGPIOCommand(Word(layout, static_cast<BYTE>(value >> 8), layout.phaseHigh), layout.commandMask,
                                   kFrameWaitMs)) {
            Sleep(kRetryPauseMs);
            continue;
        }
        Sleep(kByteSettleMs);
        if (!card->SendGPIOCommand(Word(layout, static_cast<BYTE>(value & 0xFF), layout.phaseLow), layout.commandMask,
                                   layout.lowByteWaitMs)) {
            Sleep(kRetryPauseMs);
            continue;
        }
        Sleep(kByteSettleMs);
        WORD readBack = 0;
        if (card->ReadControllerWord(&readBack) && readBack == value) return TRUE;
    }
    return FALSE;
}

BOOL Saa713xReadControllerWord(CTVCardFilter* card, const Saa713xControllerLayout& layout, WORD* value) {
    if (value == nullptr) return FALSE;
    *value = 0;
    if (card == nullptr || card->GetAccess() == nullptr) return FALSE;
    // A layout that goes on without the lock does not wait for it here either: the read runs
    // inside the write's hold (or its one wait), once per transaction.
    std::optional<CControllerLock> lock;
    if (layout.lockRequired) {
        lock.emplace();
        if (!lock->IsLocked()) return FALSE;
    }
    BYTE high = 0;
    if (!AskByte(card, layout, kAskHigh, layout.phaseHigh, layout.highReplyTrace, &high)) return FALSE;
    Sleep(kReadPauseMs);
    BYTE low = 0;
    if (!AskByte(card, layout, kAskLow, layout.phaseLow, layout.lowReplyTrace, &low)) return FALSE;
    *value = static_cast<WORD>(high << 8 | low);
    return TRUE;
}

BOOL Saa713xControllerCommand(CTVCardFilter* card, const Saa713xControllerLayout& layout, BOOL on) {
    if (card == nullptr || card->GetAccess() == nullptr) return FALSE;
    CControllerLock lock;
    if (layout.lockRequired && !lock.IsLocked()) return FALSE;
    const DWORD command = Word(layout, on ? kCommandOn : kCommandOff, layout.phaseCommand);
    const DWORD expected = on ? kReplyOn : kReplyOff;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        DWORD word = 0;
        if (card->SendGPIOCommand(command, layout.commandMask, kFrameWaitMs) && card->WaitReadState(&word)) {
            if (layout.commandReplyTrace != nullptr) TRACE(layout.commandReplyTrace, word);
            if (layout.Reply(word) == expected) return TRUE;
        }
        Sleep(kRetryPauseMs);
    }
    return FALSE;
}

BOOL SendCommandBetweenIdleWords(CCustomDataAccess* access, DWORD value, DWORD mask, DWORD waitMs) {
    if (access == nullptr) return FALSE;
    return SUCCEEDED(access->GPIO_Write(kIoIdle, kIoIdle)) &&
                   SUCCEEDED(access->GPIO_WriteEx(value, mask, waitMs)) &&
                   SUCCEEDED(access->GPIO_Write(kIoIdle, kIoIdle))
               ? TRUE
               : FALSE;
}

BOOL Saa713xIoSendGPIOCommand(CCustomDataAccess* access, Saa713xIoBoard board, DWORD value, DWORD mask,
                              DWORD waitMs) {
    if (board != Saa713xIoBoard::Pip) return SendCommandBetweenIdleWords(access, value, mask, waitMs);
    if (access == nullptr) return FALSE;
    DWORD word = 0;
    if (FAILED(access->GPIO_Read(&word))) return FALSE;
    const DWORD keep = word & kAudioBits;
    const DWORD idle = keep | kIoIdle;
    return SUCCEEDED(access->GPIO_Write(idle, kIoPipIdleMask)) &&
                   SUCCEEDED(access->GPIO_WriteEx((value & ~kAudioBits) | keep, mask | kAudioBits, waitMs)) &&
                   SUCCEEDED(access->GPIO_Write(idle, kIoPipIdleMask))
               ? TRUE
               : FALSE;
}

BOOL Saa713xIoWaitReadState(CCustomDataAccess* access, DWORD* word) {
    return WaitControllerStrobe(access, kIoStrobe, 0, nullptr, word);
}

BOOL Saa713xIoGetRemoteData(CCustomDataAccess* access, Saa713xIoBoard board, BYTE* key) {
    if (access == nullptr || key == nullptr) return FALSE;
    DWORD last = 0;
    if (!CollectRemoteKey([access](DWORD* value) { return access->GPIO_Read(value); }, kIoKeyStateMask, kIoKeyState,
                          board == Saa713xIoBoard::Pip ? KeyWordTrace::Traced : KeyWordTrace::Quiet, &last)) {
        return FALSE;
    }
    *key = static_cast<BYTE>(~MapControllerByte(last, FALSE));
    if (board != Saa713xIoBoard::Pip) TRACE("GetRemoteData : %d\n", *key);
    return TRUE;
}
