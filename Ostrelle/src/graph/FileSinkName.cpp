#include "graph/FileSinkName.h"

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
