#include "graph/FileSinkName.h"

#include "graph/NameText.h"
#include "graph/StrA2W.h"

HRESULT SetFileSinkName(IFileSinkFilter* sink, const char* name) {
    if (sink == nullptr) return E_POINTER;
    if (name != nullptr) {
        const int wideChars = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, name, -1, nullptr, 0);
        if (wideChars == 0 || wideChars > MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    }
    CStrA2W wideName(name);
    return sink->SetFileName(wideName.Convert(), nullptr);
}

BOOL GetFileSinkName(IFileSinkFilter* sink, char* buffer, int size, FileSinkAnswer taken) {
    if (sink == nullptr || buffer == nullptr || size <= 0) return FALSE;
    LPOLESTR name = nullptr;
    const HRESULT hr = sink->GetCurFile(&name, nullptr);
    const BOOL answered = taken == FileSinkAnswer::ExactlyOk ? hr == S_OK : SUCCEEDED(hr);
    const BOOL fits = answered && WideToNameText(buffer, static_cast<size_t>(size), name);
    CoTaskMemFree(name);
    if (!fits) buffer[0] = '\0';
    return fits;
}
