// CSigBase: the TV scan worker. Run scans either the tuner's channel table, entry by entry with
// a fine search about each, or sweeps a band window by window, and reports every step to the
// tuner's notify window (WM_TV_SEARCH_STEP), then WM_TV_SEARCH_END. It tunes and tests through
// the tuner's own operations and settles on its stop event, so a Stop ends it within one wait.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "graph/Thread.h"

class CTunerBase;

class CSigBase : public CThread {
public:
    explicit CSigBase(CTunerBase* tuner);
    ~CSigBase() override;

    // Atomic setters; they may be called while the scan runs. None checks its value.
    void SetWindow(long window) { m_lWindow = window; }
    void SetStep(long step) { m_lStep = step; }
    void SetSkip(long skip) { m_lSkip = skip; }
    void SetHalfWindow(long half) { m_lHalfWindow = half; }
    void SetSweepRange(long low, long high)
    {
        m_lSweepLow = low;
        m_lSweepHigh = high;
    }
    void SetFullBand(BOOL fullBand) { m_bFullBand = fullBand; }
    void SetSettleTime(long ms) { m_lSettleTime = ms; }

    // Window searches: low < centre < high (kHz), else FALSE with the outputs untouched.
    // Tries centre, -62.5, +125, -187.5, ... until a try leaves the window; the first lock of
    // the card's video decoder ends it.
    BOOL FineSearch(float low, float high, float centre, float* freq, DWORD* found);
    // The same walk; the video-decoder status of the access object ends it, reported at centre.
    BOOL SearchWindow(float low, float high, float centre, float* freq, DWORD* found);
    // A walk driven by the PLL's AFC code from low to high, ended by a lock or by the first
    // frequency tried twice among the last four. FALSE for an invalid window or a stop.
    BOOL AfcSearch(float low, float high, float start, float* freq, DWORD* found);
    // The decoder's lock; without one, three PLL status reads that all give the TV lock value.
    BOOL ConfirmLock(DWORD* status);

protected:
    BOOL OnInit() override;
    int Run() override;
    int OnExit() override;

private:
    void ScanChannelTable();
    void SweepBand();
    // The walk of both window searches: the outputs reset, each try tuned and settled before
    // `look` judges it (true: go on). FALSE for a window that is not one.
    template <class Look>
    BOOL TuneWindow(float low, float high, float centre, float* freq, DWORD* found, Look look);
    // Waits the settle time on the stop event; false when a stop came.
    bool Settle();
    void PostStep(double kHz, DWORD found);

    CTunerBase* const m_pTuner;
    std::atomic<long> m_lWindow{625};
    std::atomic<long> m_lStep{125};
    std::atomic<long> m_lSkip{3000};
    std::atomic<long> m_lHalfWindow{1000};
    std::atomic<long> m_lSweepLow;
    std::atomic<long> m_lSweepHigh;
    std::atomic<long> m_lReportCeiling;
    std::atomic<long> m_lSettleTime{60};
    std::atomic<BOOL> m_bFullBand{FALSE};
    HWND m_hNotify = nullptr;
    // The tuner's channel table as it was when the worker was made (the start of a scan).
    std::vector<float> m_vecTable;
};
