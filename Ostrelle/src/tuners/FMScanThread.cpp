// CFMScanThread: the FM scan worker.
#include "tuners/FMScanThread.h"

#include <algorithm>

#include "tuners/ScanMessages.h"
#include "tuners/TunerBase.h"

namespace {

// A status that no module reports, set before each read so that a read which leaves the status
// alone is never taken for the lock of the previous step.
const DWORD kNoStatus = 0xFFFFFFFFu;

const DWORD kSettleMs = 150;

}  // namespace

CFMScanThread::CFMScanThread(CTunerBase* tuner) : m_pTuner(tuner) {}

CFMScanThread::~CFMScanThread()
{
    Stop();
}

BOOL CFMScanThread::OnInit()
{
    if (m_pTuner != nullptr) m_hNotify = m_pTuner->GetNotifyWindow();
    if (m_pTuner == nullptr || !m_pTuner->IsFMCapable()) return FALSE;
    return CThread::OnInit();
}

int CFMScanThread::Run()
{
    m_lStep = m_pTuner->GetFMStep();
    m_lDistance = m_pTuner->GetFMWait();
    const long step = std::max(1L, m_lStep.load());
    const long distance = std::max(1L, m_lDistance.load());
    const long high = m_lHigh;
    for (long f = m_lLow; f <= high;) {
        DWORD found = 0;
        if (!m_pTuner->SetFMChannelFreq(static_cast<float>(f))) {
            f += step;
            continue;
        }
        if (WaitForSingleObject(GetStopEvent(), kSettleMs) != WAIT_TIMEOUT) break;
        DWORD status = kNoStatus;
        if (m_pTuner->GetFMChannelOkay(&status) && static_cast<long>(status) == m_pTuner->GetFMLockValue()) found = 1;
        PostScanStep(m_hNotify, static_cast<double>(f), found);
        f += found != 0 ? distance : step;
    }
    return 0;
}

int CFMScanThread::OnExit()
{
    EndScan(m_pTuner, m_hNotify);
    return CThread::OnExit();
}
