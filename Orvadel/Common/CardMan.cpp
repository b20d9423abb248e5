// CCardMan: opening and releasing one card, its crossbar, and the entry test of its operations.
#include "CardMan.h"

#include <ks.h>
#include <ksmedia.h>
#include <uuids.h>

#include "SimpleTVSearch.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"
#include "graph/FilterClassRecord.h"

CCardMan::CCardMan(const CCardName& row) : m_row(row) {}

CCardMan::~CCardMan() { Release(); }

namespace {

// The crossbar connected to one of the filter's input pins (the capture graph builder brings a
// card's crossbar in that way), or NULL.
CComPtr<IBaseFilter> CrossbarUpstreamOf(CRootFilter* filter) {
    CComPtr<IEnumPins> pins;
    if (filter->GetFilter() == nullptr || FAILED(filter->GetFilter()->EnumPins(&pins)) || pins == nullptr) return nullptr;
    for (;;) {
        CComPtr<IPin> pin;
        if (pins->Next(1, &pin, nullptr) != S_OK) return nullptr;
        PIN_DIRECTION direction;
        CComPtr<IPin> peer;
        if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_INPUT || FAILED(pin->ConnectedTo(&peer)) ||
            peer == nullptr) {
            continue;
        }
        PIN_INFO info;
        if (FAILED(peer->QueryPinInfo(&info)) || info.pFilter == nullptr) continue;
        CComPtr<IBaseFilter> owner;
        owner.Attach(info.pFilter);
        CComPtr<IAMCrossbar> crossbar;
        if (SUCCEEDED(owner->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&crossbar))) && crossbar != nullptr) {
            return owner;
        }
    }
}

}  // namespace

bool CCardMan::Create() {
    if (m_pCardFilter == nullptr) {
        CRootFilter* filter = m_graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, m_row.m_strCapture,
                                                      m_row.m_strCrossbar, 0, m_row.m_nIndex);
        m_pCardFilter = dynamic_cast<CTVCardFilter*>(filter);
        // A device that no card class took is of no use to the station.
        if (filter != nullptr && m_pCardFilter == nullptr) m_graph.RemoveFilter(filter);
        m_searchTuner.SetCardFilter(m_pCardFilter);
    }
    if (m_pCardFilter != nullptr) PlaceCrossbar();
    return m_pCardFilter != nullptr;
}

void CCardMan::PlaceCrossbar() {
    if (m_pCrossbar != nullptr || m_row.m_strCrossbar.IsEmpty()) return;
    const char* name = m_row.m_strCrossbar;
    CComPtr<IBaseFilter> present = CrossbarUpstreamOf(m_pCardFilter);
    if (present == nullptr) {
        CRootFilter* added = m_graph.AddDeviceFilter(AM_KSCATEGORY_CROSSBAR, name, name, 0, m_row.m_nIndex);
        m_pCrossbar = dynamic_cast<CCrossbarFilter*>(added);
        if (added != nullptr && m_pCrossbar == nullptr) m_graph.RemoveFilter(added);
    } else {
        // The capture graph builder brought the card's crossbar in while the card opened: the
        // same filter gets the wrapper class registered for its name.
        CRootFilter* wrapper = nullptr;
        for (CFilterClassRecord* r = CFilterClassRecord::GetHead(); r != nullptr && wrapper == nullptr; r = r->GetNext()) {
            if (r->MatchCategoryName(AM_KSCATEGORY_CROSSBAR, name) && r->CanWrap()) wrapper = r->Wrap(&m_graph, present);
        }
        if (wrapper == nullptr) {
            wrapper = new CCrossbarFilter(&m_graph, present);
            wrapper->SetUp();
        }
        wrapper->SetName(name);
        m_pCrossbar = dynamic_cast<CCrossbarFilter*>(wrapper);
        if (m_pCrossbar == nullptr || !m_graph.AttachWrapper(wrapper)) {
            delete wrapper;
            m_pCrossbar = nullptr;
        }
    }
    if (m_pCrossbar == nullptr) TRACE("CCardMan: the crossbar %s could not be placed\n", name);
}

void CCardMan::Release() {
    StopSearch();
    MuteAudio();
    StopRemote();
    m_graph.RemoveAllFilters();
    ClearSlots();
}

void CCardMan::ClearSlots() {
    m_pCardFilter = nullptr;
    m_pCrossbar = nullptr;
    m_pAudioDevice = nullptr;
    m_pEncoder = nullptr;
    m_pDumpFilter = nullptr;
    m_pDemux = nullptr;
    m_pVideoDecoder = nullptr;
    m_pAudioDecoder = nullptr;
    m_pSoundRender = nullptr;
    m_pOverlay = nullptr;
    m_pVideoRender = nullptr;
    m_pAudioRender = nullptr;
    m_pVMR = nullptr;
    m_pAudioCapture = nullptr;
    m_searchTuner.SetCardFilter(nullptr);
}

void CCardMan::StopGraph() {
    m_graph.Stop();
    m_graph.DisconnectAllFilters();
}

bool CCardMan::Settled(bool* result) const {
    if (m_row.m_strCrossbar.IsEmpty()) {
        *result = true;
        return true;
    }
    if (m_pCardFilter == nullptr) {
        *result = false;
        return true;
    }
    return false;
}

bool CCardMan::MuteAudio() {
    bool result;
    if (Settled(&result)) return result;
    return SUCCEEDED(m_pCardFilter->SetAudioSource(0, FALSE));
}

void CCardMan::SetNotifyWindow(HWND window) {
    m_hNotifyWnd = window;
    if (m_pCardFilter != nullptr) m_pCardFilter->SetNotifyWindow(window);
}

bool CCardMan::StartRemote() {
    bool result;
    if (Settled(&result)) return result;
    return m_pCardFilter->StartRemoteThread() != FALSE;
}

void CCardMan::StopRemote() {
    if (m_pCardFilter != nullptr) m_pCardFilter->StopRemoteThread();
}

bool CCardMan::IsCardKind11() const {
    return m_pCardFilter != nullptr && m_pCardFilter->GetAccessKind() == ACCESS_KIND_ENCODER_CARD;
}

bool CCardMan::IsCardKind4to9() const {
    if (m_pCardFilter == nullptr) return false;
    long kind = m_pCardFilter->GetAccessKind();
    return kind >= 4 && kind <= 9;
}

bool CCardMan::HasAudioPin() {
    if (m_pCardFilter == nullptr) return false;
    long kind = m_pCardFilter->GetAccessKind();
    if (kind == 10 || kind == ACCESS_KIND_ENCODER_CARD) return true;
    if (m_pCardFilter->FindPin("Audio") == nullptr) return false;
    m_graph.SyncUsingStreamOffset(TRUE);
    return true;
}

void CCardMan::EnumDevices(REFGUID category, CStringArray* names) {
    if (names != nullptr) m_graph.ListDeviceNames(category, names);
}

bool CCardMan::GetDeviceInfo(DWORD* info) {
    if (m_pCardFilter == nullptr) return false;
    return m_pCardFilter->GetDeviceInfo(info) != FALSE;
}
