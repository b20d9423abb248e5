// The private interfaces of the maker's own installed filters (package "vorlane").
#include "hwsim/installed/VorlaneFilters.h"

#include <cstring>
#include <cwchar>
#include <type_traits>

namespace hwsim {

STDMETHODIMP AvSwitchControl::get_Switch(VARIANT_BOOL* pOn) {
    HRESULT hr = Behaviour().Enter("IAVSwitch", 3, {ULONGLONG(reinterpret_cast<uintptr_t>(pOn))});
    if (hr != S_OK) return hr;
    if (!pOn) return E_POINTER;
    VARIANT_BOOL on = VARIANT_TRUE;
    Behaviour().Load(kSwitchParam, &on);
    *pOn = on;
    return S_OK;
}

STDMETHODIMP AvSwitchControl::put_Switch(VARIANT_BOOL on) {
    HRESULT hr = Behaviour().Enter("IAVSwitch", 4, {ULONGLONG(WORD(on))});
    if (hr != S_OK) return hr;
    if (on != VARIANT_TRUE && on != VARIANT_FALSE) return E_INVALIDARG;
    Behaviour().Store(kSwitchParam, on);
    return S_OK;
}

// ---- Deinterlace ----

template <class T>
HRESULT DeinterlaceControl::Get(int slot, int setter, T* pValue) {
    HRESULT hr = Behaviour().Enter("IVorlaneDeinterlace", slot, {ULONGLONG(reinterpret_cast<uintptr_t>(pValue))});
    if (hr != S_OK) return hr;
    if (!pValue) return E_POINTER;
    T value = 0;
    Behaviour().Load(DWORD(setter), &value);
    *pValue = value;
    return S_OK;
}

template <class T>
HRESULT DeinterlaceControl::Put(int slot, T value) {
    using Unsigned = std::make_unsigned_t<T>;
    HRESULT hr = Behaviour().Enter("IVorlaneDeinterlace", slot, {ULONGLONG(Unsigned(value))});
    if (hr == S_OK) Behaviour().Store(DWORD(slot), value);
    return hr;
}

STDMETHODIMP DeinterlaceControl::GetValue(LONG* pValue) { return Get(3, 4, pValue); }
STDMETHODIMP DeinterlaceControl::SetValue(LONG value) { return Put(4, value); }
STDMETHODIMP DeinterlaceControl::GetSwitch1(VARIANT_BOOL* pOn) { return Get(5, 6, pOn); }
STDMETHODIMP DeinterlaceControl::PutSwitch1(VARIANT_BOOL on) { return Put(6, on); }
STDMETHODIMP DeinterlaceControl::GetSwitch2(VARIANT_BOOL* pOn) { return Get(7, 8, pOn); }
STDMETHODIMP DeinterlaceControl::PutSwitch2(VARIANT_BOOL on) { return Put(8, on); }
STDMETHODIMP DeinterlaceControl::GetMode(LONG* pMode) { return Get(9, 10, pMode); }
STDMETHODIMP DeinterlaceControl::SetMode(LONG mode) { return Put(10, mode); }
STDMETHODIMP DeinterlaceControl::GetSwitch3(VARIANT_BOOL* pOn) { return Get(12, 13, pOn); }
STDMETHODIMP DeinterlaceControl::PutSwitch3(VARIANT_BOOL on) { return Put(13, on); }

STDMETHODIMP DeinterlaceControl::SetText(LPCWSTR text, DWORD value) {
    std::vector<BYTE> bytes;
    if (text) {
        const BYTE* raw = reinterpret_cast<const BYTE*>(text);
        bytes.assign(raw, raw + (std::wcslen(text) + 1) * sizeof(WCHAR));
    }
    HRESULT hr = Behaviour().Enter("IVorlaneDeinterlace", 11, {ULONGLONG(text != nullptr), value}, {bytes});
    if (hr != S_OK) return hr;
    if (!text) return E_POINTER;
    Behaviour().SetParam(11, bytes);
    return S_OK;
}

// ---- Snap Picture ----

STDMETHODIMP SnapPictureControl::GetState(DWORD* pState) {
    HRESULT hr = Behaviour().Enter("IVorlaneSnapPicture", 3, {ULONGLONG(reinterpret_cast<uintptr_t>(pState))});
    if (hr != S_OK) return hr;
    if (!pState) return E_POINTER;
    *pState = 0;
    return S_OK;
}

STDMETHODIMP SnapPictureControl::SavePicture(DWORD dwCount, BYTE* pRequest) {
    std::vector<BYTE> request;
    if (pRequest) request.assign(pRequest, pRequest + SNAP_REQUEST_SIZE);
    HRESULT hr = Behaviour().Enter("IVorlaneSnapPicture", 4, {dwCount}, {request});
    if (hr != S_OK) return hr;
    if (!pRequest) return E_POINTER;
    // The request must say its own size, end its path inside the record, and keep its quality
    // within 0 to 100.
    DWORD size = 0, quality = 0;
    std::memcpy(&size, pRequest, sizeof(size));
    std::memcpy(&quality, pRequest + SNAP_REQUEST_QUALITY_OFFSET, sizeof(quality));
    const BYTE* path = pRequest + SNAP_REQUEST_PATH_OFFSET;
    if (size != SNAP_REQUEST_SIZE || std::memchr(path, 0, SNAP_REQUEST_PATH_BYTES) == nullptr || quality > 100)
        return E_INVALIDARG;
    return S_OK;
}

}  // namespace hwsim
