// CSimpleTVSearch: scans a list of frequencies in a worker thread. For each it tunes, waits the
// settle delay, reads the tuner's status and posts WM_TV_SEARCH_STEP (kHz, status) to the target
// window; at the end, or when stopped, it posts WM_TV_SEARCH_END. It knows the tuner only through
// CSearchTunerInterface.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "SearchTunerInterface.h"
#include "zelk/cyurkthread.h"

class CSimpleTVSearch : public zelk::MThread {
public:
    // The thread exists suspended; Resume starts the scan.
    CSimpleTVSearch(CSearchTunerInterface* tuner, HWND window);
    // Stops the thread (a tuning call in progress completes first), then frees the list.
    ~CSimpleTVSearch() override;

    // Replaces the list (Hz, scanned in order) when `list` is given and `count` is positive. Not
    // while the thread runs.
    void SetFrequencyList(const int* list, int count);
    // The settle time after each tuning; may be changed while the thread runs, taking effect at
    // the next frequency.
    void SetDelay(long ms);
    long GetDelay() const;

    bool SetFrequence(int hz);
    BYTE GetStatus();
    // Posts one step when the target is still a window.
    void PostProgress(int hz, BYTE status);
    void PostFinished();

protected:
    bool OnInit() override;
    int Run() override;

private:
    CArray<int, int> m_frequencies;
    mutable LONG m_lDelay;
    HWND m_hWnd;
    CSearchTunerInterface* m_pTuner;  // not owned
};
