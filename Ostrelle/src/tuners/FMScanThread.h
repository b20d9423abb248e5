// CFMScanThread: the FM scan worker. Steps through the tuner's FM range, settles 150 ms on its
// stop event after each tuning, and reports every step with its found flag to the tuner's
// notify window (WM_TV_SEARCH_STEP), then WM_TV_SEARCH_END.
#pragma once

#include <windows.h>

#include <atomic>

#include "graph/Thread.h"

class CTunerBase;

class CFMScanThread : public CThread {
public:
    explicit CFMScanThread(CTunerBase* tuner);
    ~CFMScanThread() override;

    void SetRange(long low, long high)
    {
        m_lLow = low;
        m_lHigh = high;
    }
    void SetStep(long step) { m_lStep = step; }
    // As SetStep, ignoring a value below 1.
    void SetStepChecked(long step)
    {
        if (step >= 1) m_lStep = step;
    }

protected:
    BOOL OnInit() override;
    int Run() override;
    int OnExit() override;

private:
    CTunerBase* const m_pTuner;
    std::atomic<long> m_lLow{0};
    std::atomic<long> m_lHigh{0};
    std::atomic<long> m_lStep{100};
    std::atomic<long> m_lDistance{100};
    HWND m_hNotify = nullptr;
};
