// The CX2388x card family: cards on the Conexant CX2388x video decoder whose driver keeps the
// GPIO lines on a separate tuner device. A card opens its hardware access (access kind 3) on the
// TV-tuner device with its own friendly name and talks to the on-board controller in the
// CX2388x pin layout:
//
//   data byte          bits 16-23 (PackDataByte)
//   request line       bit 15, high in the idle word 0x8600 (mask 0x8600)
//   audio source       bits 12-14, written only by SetAudioSource (the access object's
//                      write keeps them otherwise)
//   controller strobe  bit 11, low while the controller answers or presents a key
//   phase field        bits 9-10: 0x400 high byte, 0x200 low byte, 0x600 command or key
//
// CCx2388xCardFilter holds what every member shares (the access on the tuner device, the audio
// switch, the crossbar table); CCx2388xControllerCardFilter adds the controller of the four
// members that have one. Every file of the family holds one card class and its crossbar.
#pragma once

#include <atomic>
#include <new>

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

constexpr int ACCESS_KIND_TUNER_GPIO = 3;

class CCx2388xCardFilter : public CTVCardFilter {
public:
    using CTVCardFilter::CTVCardFilter;

protected:
    // The base Create with the tuner device's name set and the direct-access flag cleared.
    BOOL CreateOnTuner(const char* tunerFilterName);
    // Access kind 3; E_FAIL while an access object is held; `access` (null: E_OUTOFMEMORY) is
    // the card's access object from here on. The card's own tuner device, which must carry the
    // member's tuner filter name, is found (a failure is returned and the access object stays
    // until ReleaseAccess), then the access object is initialised on it and deleted when that
    // fails (E_POINTER without one).
    HRESULT OpenTunerAccess(CCustomDataAccess* access);
    // The two-bit audio switch (SelectTwoBitAudio) written with mask 0x7000: bit 14 stays.
    HRESULT SelectAudioSource(int source, BOOL on);
};

class CCx2388xControllerCardFilter : public CCx2388xCardFilter {
public:
    static constexpr int kDefaultRemoteWaitLimitMs = 500;

    using CCx2388xCardFilter::CCx2388xCardFilter;
    ~CCx2388xControllerCardFilter() override;

    // Under "Mutex_Remote_Control" (not had within a second: E_FAIL, the lines untouched).
    HRESULT SetAudioSource(int source, BOOL on) override;
    // A key while (word & 0xE00) == 0x600; the word is read again every millisecond until the
    // state ends or the collection limit has passed; key = NOT of the last word's data byte.
    BOOL GetRemoteData(BYTE* key) override;
    // CKsGpioAccess2388x on the tuner device.
    HRESULT InitAccess() override;
    // Idle word, the command, idle word.
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override;
    // Strobe (bit 11) seen low, then high again; 500 ms at most.
    BOOL WaitReadState(DWORD* word) override;
    BOOL WriteControllerWord(WORD value) override;
    BOOL ReadControllerWord(WORD* value) override;
    BOOL ControllerCommand(BOOL on) override;

    // As WaitReadState, with (word & mask) == value as the answer state.
    BOOL WaitReadStateEx(DWORD* word, DWORD mask, DWORD value);
    // ms > 0 replaces the wait limit of the traced members' key collection; other values are
    // ignored.
    void SetRemoteWaitLimit(int ms);
    int GetRemoteWaitLimit() const { return m_nRemoteWaitLimit.load(); }

protected:
    // TRUE: the trace texts of the traced members and the wait limit as the key collection limit
    // (500 ms until changed); FALSE: no traces and one second.
    virtual BOOL IsTracedMember() const = 0;

private:
    std::atomic<int> m_nRemoteWaitLimit{kDefaultRemoteWaitLimitMs};
};

// Video inputs 1, 2, 0 and audio inputs 4, 5, 6 for sources 0, 1, 2.
class CCx2388xCrossbarFilter : public CCrossbarFilter {
public:
    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override;
};
