// The scan workers' reports to the tuner's notify window.
#pragma once

#include <windows.h>

#include "tuners/FrequencyMath.h"
#include "tuners/TunerBase.h"

// One scan step: the frequency in kHz, truncated, and the found value.
inline void PostScanStep(HWND window, double kHz, DWORD found)
{
    PostMessage(window, WM_TV_SEARCH_STEP, static_cast<WPARAM>(TruncateKHz(kHz)), static_cast<LPARAM>(found));
}

// The scan has ended: the tuner's scanning flag is cleared, then the end is posted.
inline void EndScan(CTunerBase* tuner, HWND window)
{
    if (tuner == nullptr) return;
    tuner->SetScanDone(TRUE);
    PostMessage(window, WM_TV_SEARCH_END, 0, 0);
}
