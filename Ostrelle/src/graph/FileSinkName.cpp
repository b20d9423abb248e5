// The file name of a file-sink wrapper's filter.
#include "graph/FileSinkName.h"

#include <cstring>

#include "graph/NameText.h"
#include "graph/StrA2W.h"

CComPtr<IFileSinkFilter> FileSinkOf(IUnknown* object) {
    CComPtr<IFileSinkFilter> sink;
    if (object == nullptr) return sink;
    if (FAILED(object->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink)))) sink.Release();
    return sink;
}

HRESULT CheckPathLength(const char* path) {
    const int wideChars = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, nullptr, 0);
    if (wideChars == 0 || wideChars > MAX_PATH || std::strlen(path) >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return S_OK;
}

HRESULT SetFileSinkName(IFileSinkFilter* sink, const char* name) {
    if (sink == nullptr) return E_POINTER;
    if (name != nullptr) {
        const HRESULT hr = CheckPathLength(name);
        if (FAILED(hr)) return hr;
    }
    CStrA2W wideName(name);
    return sink->SetFileName(wideName.Convert(), nullptr);
}

BOOL GetFileSinkName(IFileSinkFilter* sink, char* buffer, int size, TakenAnswer taken) {
    if (sink == nullptr || buffer == nullptr || size <= 0) return FALSE;
    LPOLESTR name = nullptr;
    const HRESULT hr = sink->GetCurFile(&name, nullptr);
    const BOOL fits = IsTakenAnswer(hr, taken) && WideToNameText(buffer, static_cast<size_t>(size), name);
    CoTaskMemFree(name);
    if (!fits) buffer[0] = '\0';
    return fits;
}
