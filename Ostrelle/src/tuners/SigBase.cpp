// CSigBase: the TV scan worker.
#include "tuners/SigBase.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "tuners/ScanMessages.h"
#include "tuners/TunerBase.h"

namespace {

const float kTryStep = 62.5f;

bool AllFinite(float a, float b, float c)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

// Tries centre, centre - 62.5, centre + 125, centre - 187.5, ... (the side alternates, the
// distance grows by 62.5 kHz) while the try lies inside (low, high); tryAt answers false to end.
template <class Try>
void WalkWindow(float low, float high, float centre, Try tryAt)
{
    float sign = 1.0f;
    for (int k = 0;; ++k, sign = -sign) {
        const float t = centre + sign * static_cast<float>(k) * kTryStep;
        if (t <= low || t >= high || !tryAt(t)) return;
    }
}

}  // namespace

CSigBase::CSigBase(CTunerBase* tuner)
    : m_pTuner(tuner),
      m_lSweepLow(tuner != nullptr ? tuner->GetLowestFreq() : 0),
      m_lSweepHigh(tuner != nullptr ? tuner->GetHighestFreq() : 0),
      m_lReportCeiling(tuner != nullptr ? tuner->GetHighestFreq() : 0)
{
    if (tuner != nullptr) m_vecTable = tuner->CopyChannelTable();
}

CSigBase::~CSigBase()
{
    Stop();
}

BOOL CSigBase::OnInit()
{
    if (m_pTuner != nullptr) m_hNotify = m_pTuner->GetNotifyWindow();
    if (m_pTuner == nullptr) return FALSE;
    return CThread::OnInit();
}

int CSigBase::Run()
{
    if (m_bFullBand)
        SweepBand();
    else
        ScanChannelTable();
    return 0;
}

// Whatever OnInit answered, a started worker ends its scan: the flag and the end message.
int CSigBase::OnExit()
{
    EndScan(m_pTuner, m_hNotify);
    return CThread::OnExit();
}

bool CSigBase::Settle()
{
    return WaitForSingleObject(GetStopEvent(), static_cast<DWORD>(std::max(0L, m_lSettleTime.load()))) == WAIT_TIMEOUT;
}

void CSigBase::PostStep(double kHz, DWORD found)
{
    PostScanStep(m_hNotify, kHz, found);
}

void CSigBase::ScanChannelTable()
{
    const float bottom = static_cast<float>(m_pTuner->GetLowestFreq() - 1000);
    const float top = static_cast<float>(m_pTuner->GetHighestFreq() + 1000);
    for (float entry : m_vecTable) {
        if (IsStopSet()) break;
        const float f = entry * 1000.0f;
        const float window = static_cast<float>(m_lWindow.load());
        const float low = f - window;
        const float high = f + window;
        float freq = f;
        DWORD found = 0;
        if (low > bottom && high < top) FineSearch(low, high, f, &freq, &found);
        PostStep(freq, found);
    }
}

void CSigBase::SweepBand()
{
    float f = static_cast<float>(m_lSweepLow.load());
    while (f < static_cast<float>(m_lSweepHigh.load()) && !IsStopSet()) {
        const float half = static_cast<float>(m_lHalfWindow.load());
        DWORD found = 0;
        float centre = f;
        SearchWindow(f - half, f + half, f, &centre, &found);
        const float ceiling = static_cast<float>(m_lReportCeiling.load());
        if (centre > ceiling) centre = ceiling;
        PostStep(centre, found);
        f = found != 0 ? centre + static_cast<float>(m_lSkip.load()) : f + 2.0f * half;
    }
}

template <class Look>
BOOL CSigBase::TuneWindow(float low, float high, float centre, float* freq, DWORD* found, Look look)
{
    if (!AllFinite(low, high, centre) || !(low < centre && centre < high)) return FALSE;
    *found = 0;
    *freq = centre;
    WalkWindow(low, high, centre, [&](float t) { return m_pTuner->SetTVChannelFreq(t) && Settle() && look(t); });
    return TRUE;
}

BOOL CSigBase::FineSearch(float low, float high, float centre, float* freq, DWORD* found)
{
    return TuneWindow(low, high, centre, freq, found, [&](float t) {
        DWORD locked = 0;
        if (!m_pTuner->GetSignalLocked(&locked)) return false;
        if (locked == 0) return true;
        Sleep(300);
        m_pTuner->GetSignalLocked(found);
        *freq = t;
        return false;
    });
}

BOOL CSigBase::SearchWindow(float low, float high, float centre, float* freq, DWORD* found)
{
    return TuneWindow(low, high, centre, freq, found, [&](float) {
        DWORD status = 0;
        if (!m_pTuner->GetVideoStatus(&status)) return false;
        if (status == 0) return true;
        *found = status;
        return false;
    });
}

BOOL CSigBase::AfcSearch(float low, float high, float start, float* freq, DWORD* found)
{
    *found = 0;
    if (!AllFinite(low, high, start) || !(low < high)) return FALSE;
    DWORD status = 0;
    if (m_pTuner->SetTVChannelFreq(start)) {
        if (!Settle()) return FALSE;
        if (m_pTuner->IsTVChannelLocked() && ConfirmLock(&status)) {
            *freq = std::trunc(start);
            *found = 1;
            return TRUE;
        }
    }
    const long afc2 = m_pTuner->GetAfcValue2();
    const long afc3 = m_pTuner->GetAfcValue3();
    const long afc4 = m_pTuner->GetAfcValue4();
    const long afc5 = m_pTuner->GetAfcValue5();
    std::deque<float> history;
    float t = low;
    while (low <= t && t <= high) {
        if (std::find(history.begin(), history.end(), t) != history.end()) {
            TRACE("Dead lock happened and killed!\n");
            *found = ConfirmLock(&status);
            *freq = std::trunc(t);
            break;
        }
        history.push_back(t);
        if (history.size() > 4) history.pop_front();
        if (!m_pTuner->SetTVChannelFreq(t)) {
            t += 125.0f;
            continue;
        }
        if (!Settle()) return FALSE;
        status = static_cast<DWORD>(afc2);
        if (!m_pTuner->GetTVChannelOkay(&status)) {
            t += 375.0f;
            continue;
        }
        const long code = static_cast<long>(status);
        if (code == afc5) {
            t -= 125.0f;
        } else if (code == afc4) {
            t -= 62.5f;
        } else if (code == afc3) {
            if (ConfirmLock(&status)) {
                *freq = std::trunc(t);
                *found = 1;
                break;
            }
        } else if (code == afc2) {
            t += 62.5f;
        } else {
            t += 125.0f;
        }
    }
    return TRUE;
}

BOOL CSigBase::ConfirmLock(DWORD* status)
{
    DWORD locked = 0;
    if (m_pTuner->GetSignalLocked(&locked)) {
        *status = locked;
        return locked != 0 ? TRUE : FALSE;
    }
    for (int i = 0; i < 3; ++i) {
        if (!m_pTuner->GetTVChannelOkay(status) || static_cast<long>(*status) != m_pTuner->GetAfcValue3()) return FALSE;
    }
    return TRUE;
}
