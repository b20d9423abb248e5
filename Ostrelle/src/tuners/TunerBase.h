// CTunerBase: the analog TV and FM tuner of one card. It programs a PLL tuner module with one
// five-byte I2C block write and reads the PLL's status byte with one one-byte block read, through
// the card's access object (given at construction, not owned). Every tuner-module class derives
// from it; most only set other constants (TunerModules.h). Scans run on worker threads
// (CSigBase, CFMScanThread) that the tuner creates, starts, stops and owns. A worker calls the
// tuner's operations, so whoever deletes a tuner stops its scan first (the card:
// CTVCardFilter::DeleteTuner).
//
// Frequencies pass as floats in kHz; band limits and intermediate frequencies are whole kHz.
//
// Threads: the owner's thread calls everything; a running scan worker calls the tuning and
// status operations at the same time. Each tuner serialises its own I2C sequences with a
// recursive lock (m_csBus), held only around bus traffic, never while a worker is created,
// stopped or deleted. Every value a worker reads is atomic or, for the channel table, copied
// under a lock when the worker starts.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/analogvideo.h"

class CCustomDataAccess;
class CSigBase;
class CFMScanThread;
struct TunerModuleRow;

// Scan messages posted to the tuner's notify window.
#define WM_TV_SEARCH_STEP 0x3979  // wParam: frequency in kHz; lParam: the found value
#define WM_TV_SEARCH_END 0x3980   // wParam 0, lParam 0

// What a tuner asks of the card that owns it: the horizontal-lock reading of the card's video
// decoder, and the kind of access object the card opened (the Xceive tuners choose their paths
// by it). The capture-card class implements it.
class CTunerOwnerCard {
public:
    virtual HRESULT IsSignalLocked(DWORD* locked) = 0;
    virtual long GetAccessKind() const = 0;

protected:
    ~CTunerOwnerCard() = default;
};

class CTunerBase {
public:
    explicit CTunerBase(CCustomDataAccess* pAccess);
    CTunerBase(const CTunerBase&) = delete;
    CTunerBase& operator=(const CTunerBase&) = delete;

    virtual ~CTunerBase();                                  // 0
    virtual BOOL SetFMChannelFreq(float kHz);               // 1
    virtual BOOL GetFMChannelOkay(DWORD* status);           // 2
    virtual BOOL IsFMChannelLocked();                       // 3
    virtual BOOL IsTVChannelLocked();                       // 4
    virtual BOOL SetTVChannelFreq(float kHz);               // 5
    virtual BOOL GetTVChannelOkay(DWORD* status);           // 6
    virtual BOOL CreateFMScanThread();                      // 7
    virtual BOOL CreateSigBase();                           // 8
    virtual BOOL SetVideoStandard(long standard);           // 9
    virtual BOOL GetSignalLocked(DWORD* locked);            // 10

    // Takes over another tuner's module description (the USB TV card's model-97 module).
    void CopyFrom(const CTunerBase* other);

    // ---- scan control (owner's thread) ----
    BOOL StartScan(BOOL bTV, BOOL bFullBand);
    void StopScan();
    BOOL IsScanning();
    void SetNotifyWindow(HWND window);
    HWND GetNotifyWindow() const;
    // Copies the table (MHz); FALSE and nothing stored for a null table or a negative count.
    BOOL SetChannelTable(const float* table, long count);
    // The tuner's copy, valid until the next SetChannelTable.
    const float* GetChannelTable(long* count);
    void SetSearchWindow(long window);
    void SetSearchStep(long step);
    void SetSettleTime(long ms);
    BOOL SetFMStep(long step);
    BOOL SetFMWait(long wait);
    BOOL SetFMScanRange(long low, long high);
    BOOL SetSweepParams(long skip, long half);
    BOOL SetSweepRange(long low, long high);

    // ---- read by the scan workers on their own threads ----
    std::vector<float> CopyChannelTable() const;
    long GetAfcValue1() const { return m_lAfc[0]; }
    long GetAfcValue2() const { return m_lAfc[1]; }
    long GetAfcValue3() const { return m_lAfc[2]; }
    long GetAfcValue4() const { return m_lAfc[3]; }
    long GetAfcValue5() const { return m_lAfc[4]; }
    BOOL IsFMCapable() const { return m_bFMCapable; }
    void SetScanDone(BOOL bDone) { m_bScanning = !bDone; }
    // The video decoder's status word through the access object; TRUE when not negative.
    BOOL GetVideoStatus(DWORD* status);
    long GetSearchWindow() const { return m_lSearchWindow; }
    long GetSearchStep() const { return m_lSearchStep; }
    long GetSettleTime() const { return m_lSettleTime; }
    long GetFMStep() const { return m_lFMStep; }
    long GetFMWait() const { return m_lFMWait; }
    long GetFMRangeLow() const { return m_lFMRangeLow; }
    long GetFMRangeHigh() const { return m_lFMRangeHigh; }
    long GetFMLockValue() const { return m_lFMLockValue; }
    long GetSweepSkip() const { return m_lSweepSkip; }
    long GetSweepHalfWindow() const { return m_lSweepHalfWindow; }
    long GetSweepRangeLow() const { return m_lSweepRangeLow; }
    long GetSweepRangeHigh() const { return m_lSweepRangeHigh; }
    long GetLowestFreq() const { return m_lLowest; }
    long GetHighestFreq() const { return m_lHighest; }

    // ---- module description (the card filters and the factory) ----
    long GetSecondModel() const { return m_lSecondModel; }
    long GetModelCode() const { return m_lModelCode; }
    long GetFactory() const { return m_lFactory; }
    long GetLowBandTop() const { return m_lLowBandTop; }
    long GetMidBandTop() const { return m_lMidBandTop; }
    long GetIF() const { return m_lIF; }
    long GetFMIF() const { return m_lFMIF; }
    BYTE GetBandByte(int band) const { return m_ucBand[band]; }
    BYTE GetControlByte() const { return m_ucControl; }
    BYTE GetLockMask() const { return m_ucLockMask; }
    BYTE GetFMControlByte() const { return m_ucFMControl; }
    BYTE GetFMBandByte() const { return m_ucFMBand; }
    BYTE GetReadAddress() const { return m_ucReadAddr; }
    BYTE GetWriteAddress() const { return m_ucWriteAddr; }
    void SetReadAddress(BYTE address) { m_ucReadAddr = address; }
    void SetWriteAddress(BYTE address) { m_ucWriteAddr = address; }
    BOOL GetReapplyStandard() const { return m_bReapplyStandard; }
    long GetCurrentStandard() const { return m_lCurrentStandard; }
    void SetCurrentStandard(long standard) { m_lCurrentStandard = standard; }
    const std::vector<long>& GetSupportedStandards() const { return m_vecStandards; }
    CTunerOwnerCard* GetOwnerCard() const { return m_pOwnerCard; }
    void SetOwnerCard(CTunerOwnerCard* card) { m_pOwnerCard = card; }

    // The default channel table: 95 picture carriers in MHz.
    static const float* DefaultChannelTable(long* count);

protected:
    // Overwrites the module constants with one row of the module table.
    void SetModule(const TunerModuleRow& row);
    // Modules whose IF follows the standard; call it inside the bus lock.
    void SetIF(long ifKHz) { m_lIF = ifKHz; }
    // A tuner that is no module of the table until one is copied into it.
    void SetFactoryModel(long factory, long model)
    {
        m_lFactory = factory;
        m_lModelCode = model;
    }

    CCustomDataAccess* m_pAccess;
    // Serialises this tuner's I2C sequences (recursive).
    CRITICAL_SECTION m_csBus;

private:
    CSigBase* m_pSigBase = nullptr;
    CFMScanThread* m_pFMScan = nullptr;
    std::atomic<HWND> m_hNotifyWnd{nullptr};
    std::atomic<BOOL> m_bScanning{FALSE};
    mutable std::mutex m_tableLock;
    std::vector<float> m_vecChannelTable;
    std::atomic<long> m_lLowest{48250};
    long m_lLowBandTop = 170000;
    long m_lMidBandTop = 450000;
    std::atomic<long> m_lHighest{863250};
    std::atomic<long> m_lFMRangeLow{0};
    std::atomic<long> m_lFMRangeHigh{0};
    std::atomic<BOOL> m_bFMCapable{FALSE};
    long m_lIF = 38900;
    long m_lFMIF = 0;
    std::atomic<long> m_lSearchWindow{625};
    std::atomic<long> m_lSearchStep{125};
    std::atomic<long> m_lFMStep{100};
    std::atomic<long> m_lFMWait{100};
    std::atomic<long> m_lSweepSkip{3500};
    std::atomic<long> m_lSweepHalfWindow{1000};
    std::atomic<long> m_lSettleTime{60};
    BYTE m_ucBand[3] = {0x01, 0x02, 0x08};
    BYTE m_ucControl = 0xCE;
    BYTE m_ucLockMask = 0x40;
    std::atomic<BYTE> m_ucReadAddr{0xC0};
    std::atomic<BYTE> m_ucWriteAddr{0xC0};
    BYTE m_ucFMControl = 0xCE;
    BYTE m_ucFMBand = 0x01;
    std::atomic<long> m_lAfc[5] = {4, 3, 2, 1, 0};
    std::atomic<long> m_lFMLockValue{4};
    long m_lFactory = 'N';
    long m_lModelCode = 0;
    long m_lSecondModel = 0;
    BOOL m_bReapplyStandard = FALSE;
    std::atomic<long> m_lCurrentStandard{AnalogVideo_PAL_B};
    std::vector<long> m_vecStandards;
    std::atomic<long> m_lSweepRangeLow{48250};
    std::atomic<long> m_lSweepRangeHigh{863250};
    CTunerOwnerCard* m_pOwnerCard = nullptr;
};
