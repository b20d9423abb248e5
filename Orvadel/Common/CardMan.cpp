// CCardMan: opening and releasing one card.
#include "CardMan.h"

#include <uuids.h>

#include "cards/TVCardFilter.h"

CCardMan::CCardMan(const CCardName& row) : m_row(row), m_pCardFilter(nullptr) {}

CCardMan::~CCardMan() { Release(); }

bool CCardMan::Create() {
    if (m_pCardFilter == nullptr) {
        CRootFilter* filter = m_graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, m_row.m_strCapture,
                                                      m_row.m_strCrossbar, 0, m_row.m_nIndex);
        m_pCardFilter = dynamic_cast<CTVCardFilter*>(filter);
        // A device that no card class took is of no use to the station.
        if (filter != nullptr && m_pCardFilter == nullptr) m_graph.RemoveFilter(filter);
    }
    return m_pCardFilter != nullptr;
}

void CCardMan::Release() {
    MuteAudio();
    StopRemote();
    m_graph.RemoveAllFilters();
    m_pCardFilter = nullptr;
}

void CCardMan::StopGraph() {
    m_graph.Stop();
    m_graph.DisconnectAllFilters();
}

bool CCardMan::MuteAudio() {
    if (m_row.m_strCrossbar.IsEmpty()) return true;
    if (m_pCardFilter == nullptr) return false;
    return SUCCEEDED(m_pCardFilter->SetAudioSource(0, FALSE));
}

void CCardMan::StopRemote() {
    if (m_pCardFilter != nullptr) m_pCardFilter->StopRemoteThread();
}
