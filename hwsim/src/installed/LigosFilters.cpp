// The Ligos GoMotion filters (package "ligos").
#include "hwsim/installed/LigosFilters.h"

namespace hwsim {

namespace {

std::vector<BYTE> WordBytes(const DWORD* word) {
    return word ? FilterBehaviour::Bytes(*word) : std::vector<BYTE>();
}

ULONGLONG Address(const void* p) {
    return ULONGLONG(reinterpret_cast<uintptr_t>(p));
}

}  // namespace

HRESULT LigosSettingsStore::Set(FilterBehaviour& behaviour, const char* iface, LIGOS_SETTINGS* pSettings,
                                DWORD* pExtra1, DWORD* pExtra2) {
    std::vector<BYTE> record = pSettings ? FilterBehaviour::Bytes(*pSettings) : std::vector<BYTE>();
    HRESULT hr = behaviour.Enter(iface, 3, {Address(pSettings), Address(pExtra1), Address(pExtra2)},
                                 {record, WordBytes(pExtra1), WordBytes(pExtra2)});
    if (hr != S_OK) return hr;
    if (!pSettings) return E_POINTER;
    behaviour.SetParam(kSettingsParam, record);
    if (pExtra1) behaviour.Store(kExtra1Param, *pExtra1);
    if (pExtra2) behaviour.Store(kExtra2Param, *pExtra2);
    return S_OK;
}

HRESULT LigosSettingsStore::Get(FilterBehaviour& behaviour, const char* iface, LIGOS_SETTINGS* pSettings,
                                DWORD* pExtra1, DWORD* pExtra2) {
    HRESULT hr = behaviour.Enter(iface, 4, {Address(pSettings), Address(pExtra1), Address(pExtra2)});
    if (hr != S_OK) return hr;
    if (!pSettings) return E_POINTER;
    LIGOS_SETTINGS settings = {};
    behaviour.Load(kSettingsParam, &settings);
    *pSettings = settings;
    DWORD extra = 0;
    if (pExtra1) *pExtra1 = behaviour.Load(kExtra1Param, &extra) ? extra : 0;
    extra = 0;
    if (pExtra2) *pExtra2 = behaviour.Load(kExtra2Param, &extra) ? extra : 0;
    return S_OK;
}

STDMETHODIMP LigosEncoderControl::SetSettings(LIGOS_SETTINGS* pSettings, DWORD* pExtra1, DWORD* pExtra2) {
    return Set(Behaviour(), "ILigosEncoder", pSettings, pExtra1, pExtra2);
}

STDMETHODIMP LigosEncoderControl::GetSettings(LIGOS_SETTINGS* pSettings, DWORD* pExtra1, DWORD* pExtra2) {
    return Get(Behaviour(), "ILigosEncoder", pSettings, pExtra1, pExtra2);
}

STDMETHODIMP LigosEncoderControl::Method5(DWORD dwParam1, DWORD dwParam2) {
    return Behaviour().Enter("ILigosEncoder", 5, {dwParam1, dwParam2});
}

STDMETHODIMP LigosEncoderControl::Method6(DWORD dwParam) {
    return Behaviour().Enter("ILigosEncoder", 6, {dwParam});
}

STDMETHODIMP LigosEncoderControl::Method7(DWORD dwParam1, DWORD dwParam2, DWORD dwParam3) {
    return Behaviour().Enter("ILigosEncoder", 7, {dwParam1, dwParam2, dwParam3});
}

STDMETHODIMP LigosEncoderControl::Method8(DWORD dwParam) {
    return Behaviour().Enter("ILigosEncoder", 8, {dwParam});
}

STDMETHODIMP LigosTranscoderControl::SetSettings(LIGOS_SETTINGS* pSettings, void* pReserved, DWORD* pExtra1,
                                                 DWORD* pExtra2) {
    if (pReserved) return E_INVALIDARG;
    return Set(Behaviour(), "ILigosTranscoder", pSettings, pExtra1, pExtra2);
}

STDMETHODIMP LigosTranscoderControl::GetSettings(LIGOS_SETTINGS* pSettings, void* pReserved, DWORD* pExtra1,
                                                 DWORD* pExtra2) {
    if (pReserved) return E_INVALIDARG;
    return Get(Behaviour(), "ILigosTranscoder", pSettings, pExtra1, pExtra2);
}

STDMETHODIMP LigosTranscoderControl::Method5(DWORD dwParam) {
    return Behaviour().Enter("ILigosTranscoder", 5, {dwParam});
}

STDMETHODIMP LigosTranscoderControl::Method6(DWORD dwParam) {
    return Behaviour().Enter("ILigosTranscoder", 6, {dwParam});
}

STDMETHODIMP RIzizirarControl::Method3(LONG* pFirst, LONG* pSecond) {
    HRESULT hr = Behaviour().Enter("RIzizirar", 3, {Address(pFirst), Address(pSecond)});
    if (hr != S_OK) return hr;
    if (!pFirst || !pSecond) return E_POINTER;
    LONG value = 0;
    *pFirst = Behaviour().Load(kFirstParam, &value) ? value : 0;
    value = 0;
    *pSecond = Behaviour().Load(kSecondParam, &value) ? value : 0;
    return S_OK;
}

STDMETHODIMP RIzizirarControl::Method4(DWORD dwParam) {
    return Behaviour().Enter("RIzizirar", 4, {dwParam});
}





}  // namespace hwsim
