// The video compressors of the video-compressor category.
#include <cstring>

#include "dshow/Inject.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "platform/dshow/VfwCompressorFilter.h"

namespace platform::dshow {

GUID FourccSubtype(DWORD fourcc) {
    return GUID{fourcc, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

STDMETHODIMP VfwCompressDialogsMixin::ShowDialog(int iDialog, HWND hwnd) {
    HRESULT hr;
    if (Injected("IAMVfwCompressDialogs::ShowDialog", E_FAIL, &hr)) return hr;
    if (iDialog != VfwCompressDialog_Config && iDialog != VfwCompressDialog_About) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(m_lock);
    m_shown.push_back({iDialog, hwnd});
    return S_OK;
}

STDMETHODIMP VfwCompressDialogsMixin::GetState(LPVOID pState, int* pcbState) {
    if (!pcbState) return E_POINTER;
    HRESULT hr;
    if (Injected("IAMVfwCompressDialogs::GetState", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    const int size = static_cast<int>(m_state.size());
    if (!pState) {
        *pcbState = size;
        return S_OK;
    }
    if (*pcbState < size) return E_INVALIDARG;
    std::memcpy(pState, m_state.data(), m_state.size());
    *pcbState = size;
    return S_OK;
}

STDMETHODIMP VfwCompressDialogsMixin::SetState(LPVOID pState, int cbState) {
    if (!pState) return E_POINTER;
    if (cbState <= 0) return E_INVALIDARG;
    HRESULT hr;
    if (Injected("IAMVfwCompressDialogs::SetState", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    const BYTE* bytes = static_cast<const BYTE*>(pState);
    m_state.assign(bytes, bytes + cbState);
    return S_OK;
}

STDMETHODIMP VfwCompressDialogsMixin::SendDriverMessage(int, long, long) { return E_NOTIMPL; }

std::vector<BYTE> VfwCompressDialogsMixin::StateBlob() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state;
}

std::vector<VfwCompressDialogsMixin::DialogShown> VfwCompressDialogsMixin::DialogsShown() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_shown;
}

VfwCompressorFilter::VfwCompressorFilter(DWORD fourcc) : With(GUID_NULL) {
    AddPin(PinDescription{PINDIR_INPUT, L"Input", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, GUID_NULL)}});
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    caps.InputSize = caps.MinOutputSize = caps.MaxOutputSize = {320, 240};
    caps.MinFrameInterval = 333333;
    caps.MaxFrameInterval = 10000000;
    CComPtr<PinBase> output;
    output.Attach(new StreamConfigPin(
        this, PinDescription{PINDIR_OUTPUT, L"Output", L"", GUID_NULL, {}},
        {StreamCapability::Video(VideoInfoType(FourccSubtype(fourcc), 320, 240, 24, 333333), caps)}));
    AddPin(output);
}

}  // namespace platform::dshow
