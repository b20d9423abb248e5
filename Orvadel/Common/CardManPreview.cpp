// CCardMan: the preview graph, its renderers, the video window and the audio devices.
#include <cstring>

#include "CardMan.h"
#include "VideoRenderFilter.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"
#include "graph/DeviceEnum.h"

namespace {

// The EEPROM byte 0 of an encoder card whose sound comes from its own audio capture device.
constexpr BYTE kAudioCaptureCardType = 0x12;

// True when `out` and `in` are connected to each other in the DirectShow graph, whoever
// connected them.
bool PinsConnected(CRootPin* out, CRootPin* in) {
    if (out == nullptr || in == nullptr || out->GetPin() == nullptr) return false;
    CComPtr<IPin> peer;
    return SUCCEEDED(out->GetPin()->ConnectedTo(&peer)) && peer != nullptr && peer.p == in->GetPin();
}

// The first input pin of a filter, connected or not.
CRootPin* FirstInput(CRootFilter* filter) {
    for (CRootPin* pin = filter->GetPinList(); pin != nullptr; pin = pin->GetNext()) {
        PIN_DIRECTION direction;
        if (pin->QueryDirection(&direction) && direction == PINDIR_INPUT) return pin;
    }
    return nullptr;
}

}  // namespace

bool CCardMan::BuildPreview() {
    bool result;
    if (Settled(&result)) return result;
    m_graph.DisconnectAllFilters();
    AddRenderers();
    bool connected = ConnectPreview();
    SetVideoWindow(m_hVideoWnd, nullptr);
    m_graph.Run();
    return connected;
}

void CCardMan::AddRenderers() {
    if (m_pCardFilter == nullptr) return;
    AddVideoRenderer();
    if (m_pCardFilter->FindPin("Audio") != nullptr) {
        if (m_pAudioRender == nullptr) m_pAudioRender = m_graph.AddFilter(CLSID_AudioRender, "Audio Render");
    } else if (IsCardKind11()) {
        BYTE type = 0;
        int count = 1;
        if (SUCCEEDED(m_pCardFilter->ReadEeprom(&type, 0, &count)) && type == kAudioCaptureCardType) AddAudioCapture();
    }
}

bool CCardMan::AddVideoRenderer() {
    if (m_pVMR == nullptr && m_pOverlay == nullptr && m_pVideoRender == nullptr) {
        auto* vmr = new CVideoRenderFilter(&m_graph, CLSID_VideoMixingRenderer9);
        vmr->SetName("VMR");
        if (m_graph.AttachWrapper(vmr)) {
            m_pVMR = vmr;
        } else {
            delete vmr;
        }
    }
    if (m_pVMR == nullptr) {
        if (m_pOverlay == nullptr) m_pOverlay = m_graph.AddFilter(CLSID_OverlayMixer, "Overlay");
        if (m_pVideoRender == nullptr) m_pVideoRender = m_graph.AddFilter(CLSID_VideoRenderer, "Video Render");
    }
    return m_pVMR != nullptr || (m_pOverlay != nullptr && m_pVideoRender != nullptr);
}

bool CCardMan::ConnectToVideoRenderer(CRootFilter* up, const char* outPin) {
    if (m_pVMR != nullptr) return m_graph.ConnectByPinName(up, m_pVMR, outPin, nullptr) != FALSE;
    return m_graph.ConnectByPinName(up, m_pOverlay, outPin, nullptr) != FALSE &&
           m_graph.ConnectByPinName(m_pOverlay, m_pVideoRender, nullptr, nullptr) != FALSE;
}

bool CCardMan::ConnectPreview() {
    bool result;
    if (Settled(&result)) return result;
    bool ok = true;
    // The crossbar feeds the card's first input; a connection the capture graph builder made
    // counts as made.
    CRootPin* crossbarOut = m_pCrossbar != nullptr ? m_pCrossbar->FindPin("Capture") : nullptr;
    CRootPin* cardIn = FirstInput(m_pCardFilter);
    if (!PinsConnected(crossbarOut, cardIn)) {
        ok = crossbarOut != nullptr && cardIn != nullptr && m_graph.Connect(crossbarOut, cardIn) != FALSE;
        if (!ok) TRACE("CCardMan: crossbar -> card filter failed\n");
    }
    if (!ConnectToVideoRenderer(m_pCardFilter, "Capture")) {
        TRACE("CCardMan: card filter -> video renderer failed\n");
        ok = false;
    }
    if (m_pCardFilter->FindPin("Audio") != nullptr && m_pAudioRender != nullptr &&
        !m_graph.ConnectByPinName(m_pCardFilter, m_pAudioRender, "Audio", nullptr)) {
        TRACE("CCardMan: card filter -> audio renderer failed\n");
        ok = false;
    }
    if (m_pAudioCapture != nullptr && m_pSoundRender != nullptr &&
        !m_graph.ConnectByPinName(m_pAudioCapture, m_pSoundRender, nullptr, nullptr)) {
        TRACE("CCardMan: audio capture -> sound renderer failed\n");
        ok = false;
    }
    return ok;
}

bool CCardMan::SetVideoWindow(HWND owner, const RECT* position) {
    bool result;
    if (Settled(&result)) return result;
    m_graph.SetVideoOwner(reinterpret_cast<OAHWND>(owner));
    if (owner != nullptr) {
        ASSERT(IsWindow(owner));
        m_graph.SetVideoWindowStyle(WS_CHILD | WS_CLIPCHILDREN);
    } else {
        m_graph.SetVideoWindowStyle(WS_BORDER | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX);
    }
    RECT client;
    if (position != nullptr) {
        m_graph.SetVideoWindowPosition(*position);
    } else if (owner != nullptr && GetClientRect(owner, &client)) {
        m_graph.SetVideoWindowPosition(client);
    }
    return true;
}

bool CCardMan::AddAudioDevice() {
    bool result;
    if (Settled(&result)) return result;
    if (m_pAudioDevice == nullptr && m_audioDeviceNames.GetSize() > 0) {
        m_pAudioDevice = m_graph.AddDeviceFilter(CLSID_AudioInputDeviceCategory, m_audioDeviceNames[0], "AudioDevice", 0, 0);
    }
    return m_pAudioDevice != nullptr;
}

HRESULT CCardMan::FindDeviceFilter(REFGUID category, const char* name, IBaseFilter** filter) {
    if (filter == nullptr) return E_POINTER;
    *filter = nullptr;
    HRESULT bound = E_FAIL;
    ForEachDevice(category, [&](IMoniker* moniker, const char* friendlyName) -> BOOL {
        if (std::strcmp(friendlyName, name) != 0) return FALSE;
        bound = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
        return TRUE;
    });
    return bound;
}

bool CCardMan::AddAudioCapture() {
    if (m_pAudioCapture == nullptr) {
        CString name = kAudioCaptureName;
        if (m_row.m_nIndex > 0) name.AppendFormat(" (%d", m_row.m_nIndex + 1);
        CComPtr<IBaseFilter> filter;
        if (SUCCEEDED(FindDeviceFilter(CLSID_AudioInputDeviceCategory, name, &filter)) && filter != nullptr) {
            auto* wrapper = new CRootFilter(&m_graph, filter);
            wrapper->SetName(name);
            if (m_graph.AttachWrapper(wrapper)) {
                m_pAudioCapture = wrapper;
            } else {
                delete wrapper;
            }
        }
    }
    if (m_pAudioCapture != nullptr && m_pSoundRender == nullptr) {
        m_pSoundRender = m_graph.AddFilter(CLSID_DSoundRender, "Default sound");
    }
    return m_pAudioCapture != nullptr;
}

bool CCardMan::BuildEncoderPreview() {
    bool result;
    if (Settled(&result)) return result;
    if (m_graph.GetState() != GRAPH_STATE_STOPPED) m_graph.Stop();
    m_graph.DisconnectAllFilters();
    bool ok = AddVideoRenderer();
    if (IsCardKind11()) ok = BuildEncoderGraph() && ConnectEncoderGraph() && ok;
    SetVideoWindow(m_hVideoWnd, nullptr);
    m_graph.Run();
    return ok;
}
