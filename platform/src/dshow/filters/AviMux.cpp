// The AVI multiplexer.
#include "AviMux.h"

#include <cstdio>

#include "dshow/Inject.h"
#include "dshow/StoreLocked.h"
#include "TransformPins.h"

namespace platform::dshow {

STDMETHODIMP AviMuxSettings::SetMasterStream(LONG iStream) {
    HRESULT hr;
    if (Injected("IConfigAviMux::SetMasterStream", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_master), iStream);
}

STDMETHODIMP AviMuxSettings::GetMasterStream(LONG* pStream) {
    if (!pStream) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pStream = m_master;
    return S_OK;
}

STDMETHODIMP AviMuxSettings::SetOutputCompatibilityIndex(BOOL fOldIndex) {
    HRESULT hr;
    if (Injected("IConfigAviMux::SetOutputCompatibilityIndex", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_oldIndex), fOldIndex);
}

STDMETHODIMP AviMuxSettings::GetOutputCompatibilityIndex(BOOL* pfOldIndex) {
    if (!pfOldIndex) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pfOldIndex = m_oldIndex;
    return S_OK;
}

STDMETHODIMP AviInterleaving::put_Mode(InterleavingMode mode) {
    if (mode < INTERLEAVE_NONE || mode > INTERLEAVE_NONE_BUFFERED) return E_INVALIDARG;
    HRESULT hr;
    if (Injected("IConfigInterleaving::put_Mode", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_mode), mode);
}

STDMETHODIMP AviInterleaving::get_Mode(InterleavingMode* pMode) {
    if (!pMode) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pMode = m_mode;
    return S_OK;
}

STDMETHODIMP AviInterleaving::put_Interleaving(const REFERENCE_TIME* prtInterleave, const REFERENCE_TIME* prtPreroll) {
    if (!prtInterleave || !prtPreroll) return E_POINTER;
    HRESULT hr;
    if (Injected("IConfigInterleaving::put_Interleaving", E_FAIL, &hr)) return hr;
    return StoreLocked(m_lock, std::tie(m_interleave, m_preroll), *prtInterleave, *prtPreroll);
}

STDMETHODIMP AviInterleaving::get_Interleaving(REFERENCE_TIME* prtInterleave, REFERENCE_TIME* prtPreroll) {
    if (!prtInterleave || !prtPreroll) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *prtInterleave = m_interleave;
    *prtPreroll = m_preroll;
    return S_OK;
}

AviMuxFilter::AviMuxFilter() : With(CLSID_AviDest) {
    AddPin(PinDescription{PINDIR_OUTPUT, L"AVI Out", L"", GUID_NULL, {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_Avi)}});
    AddInput();
}

void AviMuxFilter::AddInput() {
    wchar_t name[16];
    std::swprintf(name, 16, L"Input %02d", m_nextInput++);
    AddPin(PinDescription{PINDIR_INPUT, name, L"", GUID_NULL,
                          {MediaType(MEDIATYPE_Video, GUID_NULL), MediaType(MEDIATYPE_Audio, GUID_NULL),
                           MediaType(MEDIATYPE_Interleaved, GUID_NULL)}});
}

void AviMuxFilter::OnPinConnected(PinBase* pin) {
    if (pin->Direction() == PINDIR_INPUT && CountPins(PINDIR_INPUT, true) == 0) AddInput();
}

void AviMuxFilter::OnPinDisconnected(PinBase* pin) {
    if (pin->Direction() != PINDIR_INPUT) return;
    KeepOneFreePin(this, PINDIR_INPUT);
}

}  // namespace platform::dshow
