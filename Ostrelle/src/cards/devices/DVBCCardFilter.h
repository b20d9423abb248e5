// The DVB-C card ("DVBC TS Capture"): a transport-stream capture card on the DM1105 chip. Its
// driver filter has the private control interface IDvbcControl; the card's EEPROM (128 bytes),
// its infrared receiver and one port are reached through the chip library DM1105.h, not
// through its access object (CDvbcAccess, access kind 16, which refuses the transfers, so the
// base opens the fallback tuner with maker 'T').
//
// Remote keys: one card per process holds the library's key callback. The callback runs on the
// library's thread; it reaches the registered card under a process-wide key lock that
// StopRemoteKeys takes to clear the registration before it unregisters, so no key reaches a
// card once its StopRemoteKeys (the destructor's first step) has begun. Starts and stops run
// one at a time on a second lock the callback never takes, and neither holds the key lock
// across a library call, so a library that delivers a key inside the registration (or waits
// there for its own thread's delivery) goes on. Only the first key
// after StartRemoteKeys is posted (WM_REMOTE_KEY to the window of SetNotifyWindow).
#pragma once

#include <atomic>
#include <mutex>

#include "DM1105.h"
#include "drvpriv.h"
#include "graph/FilterClassRecord.h"
#include "cards/base/TVCardFilter.h"

constexpr int ACCESS_KIND_DVBC = 16;

// One band of the band table: start and end frequency, and a value no operation here reads.
struct DvbcBand {
    DWORD dwStart;
    DWORD dwEnd;
    DWORD dwParam;
};

class CDVBCCardFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "DVBC TS Capture";
    static constexpr int kEepromBytes = 128;
    static constexpr DWORD kPowerPort = 0x18;
    static constexpr DWORD kDefaultLow = 100000;
    static constexpr DWORD kDefaultHigh = 900000;

    CDVBCCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CDVBCCardFilter(CRootGraph* owner, REFCLSID clsid);
    ~CDVBCCardFilter() override;

    // Needs IDvbcControl on the driver filter, then the base Create.
    BOOL Create() override;
    // Bytes at 0-127 go one per call to the library's WriteEEPROM, each followed by the delay;
    // bytes of the request above 127 are skipped (a request wholly above answers S_OK without
    // writing). S_OK, or E_FAIL when a byte was not written (every byte is tried). E_POINTER
    // for a null buffer or count, E_INVALIDARG for a count below 1 or a range past 255.
    HRESULT WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) override;
    // A read wholly within 0-127, one byte per library call: *count becomes the bytes read and
    // a byte not read keeps its old value; S_OK only when every byte was read. A read not
    // wholly within the EEPROM: E_INVALIDARG with *count 0. E_POINTER, E_INVALIDARG as above.
    HRESULT ReadEeprom(BYTE* buffer, BYTE address, int* count) override;
    // A CDvbcAccess, access kind 16; its Init's result is not looked at.
    HRESULT InitAccess() override;

    // ---- band table ----
    // A copy of `count` entries; a null table or a negative count changes nothing.
    void SetBandTable(const DvbcBand* table, int count);
    const DvbcBand* GetBandEntry(int index) const;
    int GetBandCount() const { return m_nBandCount; }
    // The lowest start and the highest end of the table, swapped when the low one lies above
    // the high one; 100000 and 900000 for an empty one.
    void GetBandRange(DWORD* low, DWORD* high) const;

    void GetParamBlock(BYTE block[8]) const;
    void SetParamBlock(const BYTE block[8]);
    // The window of the remote keys, with two values kept beside it.
    void SetNotifyWindow(HWND window, DWORD value1, DWORD value2);
    using CTVCardFilter::SetNotifyWindow;

    // ---- remote keys ----
    // Registers this card's key callback with the library; 1 at once when a card holds it.
    int StartRemoteKeys();
    void StopRemoteKeys();
    // Port 0x18: 0x90 on, 0x00 off.
    void SetPortPower(BOOL on);
    // A non-null pointer (readability cannot be probed here).
    static BOOL IsValidBuffer(const void* pointer, DWORD size, BOOL writable);

    // ---- IDvbcControl, by position; TRUE when the call succeeded ----
    BOOL StartStream();
    BOOL StopStream();
    BOOL Tune(DWORD frequency, WORD symbolRate);
    BOOL ResetDemodulator();
    BOOL SetModulation(DWORD modulation);
    BOOL SetSpectrumInversion(DWORD inversion);
    BOOL AddPid(DWORD pid);
    BOOL RemovePid(DWORD pid);
    BOOL SetStreamMode(DWORD mode);
    BOOL SetTunerPower(DWORD on);
    BOOL WriteDemodRegister(DWORD reg, DWORD value);

    // Placeholders of the card's interface: they do nothing.
    int PlaceholderA(DWORD, DWORD, DWORD) { return 0; }
    int PlaceholderB(DWORD) { return 0; }
    void PlaceholderC() {}
    int PlaceholderD(DWORD) { return 1; }

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;

private:
    static void CALLBACK RemoteKeyCallback(BYTE unused, DWORD keyValue);
    void OnRemoteKey(BYTE unused, DWORD keyValue);
    BOOL Succeeded(HRESULT hr) const { return SUCCEEDED(hr) ? TRUE : FALSE; }

    CComPtr<IDvbcControl> m_pControl;
    DvbcBand* m_pBands = nullptr;
    int m_nBandCount = 0;
    DWORD m_dwSymbolRate = 0;
    DWORD m_dwTuneValue = 0;
    std::atomic<HWND> m_hKeyWindow{nullptr};
    DWORD m_dwNotify1 = 0;
    DWORD m_dwNotify2 = 0;
    std::atomic<int> m_nKeyPending{0};
    BYTE m_params[8] = {};

    // The card holding the library's key callback, and the lock around it.
    static std::mutex s_keyLock;
    static CDVBCCardFilter* s_pKeyCard;
};
