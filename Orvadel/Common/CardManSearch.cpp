// CCardMan: the tuner's own scan and the station's scan thread over the card's scan tuner.
#include "CardMan.h"
#include "SimpleTVSearch.h"
#include "cards/base/TVCardFilter.h"

bool CCardMan::StartScan(BOOL tv, BOOL fullBand) {
    bool result;
    if (Settled(&result)) return result;
    return m_pCardFilter->StartScan(tv, fullBand) != FALSE;
}

void CCardMan::StopScan() {
    if (m_pCardFilter != nullptr) m_pCardFilter->StopScan();
}

bool CCardMan::IsScanning() { return m_pCardFilter != nullptr && m_pCardFilter->IsScanning() != FALSE; }

bool CCardMan::StartSearch(HWND target, int delayMs, const int* frequencies, int count) {
    bool result;
    if (Settled(&result)) return result;
    if (m_pSearch != nullptr) return false;
    m_pSearch = std::make_unique<CSimpleTVSearch>(&m_searchTuner, target);
    m_pSearch->SetDelay(delayMs);
    m_pSearch->SetFrequencyList(frequencies, count);
    m_pSearch->Resume();
    return true;
}

void CCardMan::StopSearch() { m_pSearch.reset(); }
