#include "SimpleTVSearch.h"

#include "tuners/TunerBase.h"

CSimpleTVSearch::CSimpleTVSearch(CSearchTunerInterface* tuner, HWND window)
    : m_lDelay(100), m_hWnd(window), m_pTuner(tuner) {}

CSimpleTVSearch::~CSimpleTVSearch() {
    Stop();
    m_frequencies.RemoveAll();
}

void CSimpleTVSearch::SetFrequencyList(const int* list, int count) {
    if (list == nullptr || count <= 0) return;
    m_frequencies.RemoveAll();
    for (int i = 0; i < count; ++i) m_frequencies.Add(list[i]);
}

void CSimpleTVSearch::SetDelay(long ms) {
    InterlockedExchange(&m_lDelay, static_cast<LONG>(ms));
}

long CSimpleTVSearch::GetDelay() const {
    return InterlockedRead(&m_lDelay);
}

bool CSimpleTVSearch::SetFrequence(int hz) {
    if (m_pTuner == nullptr) return false;
    bool ok = m_pTuner->SetFrequence(hz);
    TRACE("CSimpleTVSearch::SetFrequence %d Hz\n", hz);
    return ok;
}

BYTE CSimpleTVSearch::GetStatus() {
    if (m_pTuner == nullptr) return 0;
    BYTE status = 0;
    m_pTuner->GetStatus(status);
    TRACE("CSimpleTVSearch::GetStatus %d\n", status);
    return status;
}

void CSimpleTVSearch::PostProgress(int hz, BYTE status) {
    if (!IsWindow(m_hWnd)) return;
    PostMessage(m_hWnd, WM_TV_SEARCH_STEP, static_cast<WPARAM>(static_cast<unsigned>(hz) / 1000u),
                static_cast<LPARAM>(status));
}

void CSimpleTVSearch::PostFinished() {
    PostMessage(m_hWnd, WM_TV_SEARCH_END, 0, 0);
}

bool CSimpleTVSearch::OnInit() {
    return m_pTuner != nullptr;
}

int CSimpleTVSearch::Run() {
    for (INT_PTR i = 0; i < m_frequencies.GetSize(); ++i) {
        const int hz = m_frequencies[i];
        if (SetFrequence(hz)) {
            if (IsStopSet() || WaitForSingleObject(GetStopEvent(), static_cast<DWORD>(GetDelay())) == WAIT_OBJECT_0) {
                PostFinished();
                return 1;
            }
            PostProgress(hz, GetStatus());
        } else {
            PostProgress(hz, 0);
            // A stop while frequencies fail to tune ends the scan here, not after the whole list.
            if (IsStopSet()) {
                PostFinished();
                return 1;
            }
        }
    }
    PostFinished();
    return 0;
}
