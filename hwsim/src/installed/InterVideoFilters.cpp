// The InterVideo filters built for the maker's cards (package "intervideo").
#include "hwsim/installed/InterVideoFilters.h"

#include <cstring>

#include "platform/dibheaders.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

namespace {

PinDescription Pin(PIN_DIRECTION direction, const wchar_t* name, REFGUID major) {
    return PinDescription{direction, name, L"", GUID_NULL, {MediaType(major, GUID_NULL)}};
}

}  // namespace

// ---- IvFileWriterParams ----

STDMETHODIMP IvFileWriterParams::GetParam(DWORD dwId, void* pValue) {
    HRESULT hr = Enter(3, {dwId});
    if (FAILED(hr)) return hr;
    if (!pValue) return E_POINTER;
    if (dwId == kWideParam) {
        ULONGLONG value = 0;
        Behaviour().Load(dwId, &value);
        std::memcpy(pValue, &value, sizeof(value));
    } else {
        LONG value = 0;
        Behaviour().Load(dwId, &value);
        std::memcpy(pValue, &value, sizeof(value));
    }
    return hr;
}

STDMETHODIMP IvFileWriterParams::SetParam(DWORD dwId, LONG_PTR lValue) {
    ULONGLONG value = ULONGLONG(ULONG(lValue));
    if (dwId == kWideParam) {
        if (!lValue) return E_POINTER;
        std::memcpy(&value, reinterpret_cast<const void*>(lValue), sizeof(value));
    }
    HRESULT hr = Enter(4, {dwId, value});
    if (FAILED(hr)) return hr;
    if (dwId == kWideParam)
        Behaviour().Store(dwId, value);
    else
        Behaviour().Store(dwId, LONG(lValue));
    return hr;
}

// ---- IvStillParams ----

STDMETHODIMP IvStillParams::GetParam(DWORD dwId, void* pValue) {
    if (dwId != kSizeParam && dwId != kPictureParam) {
        return ReadLong(dwId, static_cast<LONG*>(pValue));
    }
    HRESULT hr = Enter(3, {dwId});
    if (FAILED(hr)) return hr;
    if (!pValue) return E_POINTER;
    std::vector<BYTE> picture;
    Behaviour().GetParam(kPictureParam, &picture);
    if (dwId == kSizeParam) {
        const LONG size = LONG(picture.size());
        std::memcpy(pValue, &size, sizeof(size));
    } else {
        std::memcpy(pValue, picture.data(), picture.size());
    }
    return hr;
}

STDMETHODIMP IvStillParams::SetParam(DWORD dwId, LONG lValue) {
    if (dwId == kSizeParam || dwId == kPictureParam) {
        Enter(4, {dwId, ULONGLONG(ULONG(lValue))});
        return E_INVALIDARG;  // read-only
    }
    return WriteLong(dwId, lValue);
}

std::vector<BYTE> IvStillParams::Picture(LONG width, LONG height, WORD bitCount) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    const size_t stride = ((size_t(width) * bitCount + 31) / 32) * 4;
    header.biSizeImage = DWORD(stride * size_t(height));
    const size_t table = bitCount <= 8 ? (size_t(1) << bitCount) * 4 : 0;
    std::vector<BYTE> picture(sizeof(header) + table + header.biSizeImage, 0);
    std::memcpy(picture.data(), &header, sizeof(header));
    return picture;
}

// ---- the filters ----




IvMultiplexerFilter::IvMultiplexerFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : InstalledFilterOf(CLSID_IVMultiplexer, std::move(behaviour)) {
    AddInput();
    AddPin(Pin(PINDIR_OUTPUT, L"Output", MEDIATYPE_Stream));
}

void IvMultiplexerFilter::AddInput() {
    const std::wstring name = L"Input " + std::to_wstring(++m_inputs);
    AddPin(PinDescription{PINDIR_INPUT, name, L"", GUID_NULL, {MediaType(GUID_NULL, GUID_NULL)}});
}

void IvMultiplexerFilter::OnPinConnected(platform::dshow::PinBase* pin) {
    if (pin->Direction() != PINDIR_INPUT) return;
    for (const auto& other : Pins()) {
        if (other->Direction() == PINDIR_INPUT && !other->IsConnected()) return;
    }
    AddInput();
}

HRESULT IvMultiplexerFilter::Make(const InstalledFilterRow&, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                   void** ppv) {
    return platform::CreateComObject<IvMultiplexerFilter>(riid, ppv, behaviour);
}

IvStillCaptureFilter::IvStillCaptureFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : InstalledFilterOf(CLSID_IVStillCapture, std::move(behaviour)) {
    std::vector<BYTE> picture;
    if (!Behaviour().GetParam(kPictureParam, &picture)) Behaviour().SetParam(kPictureParam, Picture(4, 3, 24));
    AddPin(Pin(PINDIR_INPUT, L"Input", MEDIATYPE_Video));
    AddPin(Pin(PINDIR_OUTPUT, L"Output", MEDIATYPE_Video));
}

HRESULT IvStillCaptureFilter::Make(const InstalledFilterRow&, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                   void** ppv) {
    return platform::CreateComObject<IvStillCaptureFilter>(riid, ppv, behaviour);
}


}  // namespace hwsim
