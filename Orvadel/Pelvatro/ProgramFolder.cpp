// The program's folder from the module file name.
#include "ProgramFolder.h"

#include <algorithm>
#include <vector>

#include "platform/winfile.h"

namespace {

CString FolderOf(const CString& modulePath) {
    int slash = modulePath.ReverseFind('\\');
    return slash >= 0 ? modulePath.Left(slash) : CString();
}

}  // namespace

bool ProgramFolderFits(CString& folder) {
    char path[MAX_PATH] = {0};
    DWORD length = GetModuleFileName(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        folder = FolderOf(path);
        return true;
    }
    // Cut, or not there at all: the whole path, for the message, from a buffer that holds it.
    std::vector<char> whole(32768);
    length = GetModuleFileName(nullptr, whole.data(), static_cast<DWORD>(whole.size()));
    folder = FolderOf(CString(whole.data(), static_cast<int>(std::min<size_t>(length, whole.size() - 1))));
    return false;
}

CString GetProgramFolder() {
    char path[MAX_PATH] = {0};
    GetModuleFileName(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

CString GetProgramFilePath(LPCSTR fileName) { return GetProgramFolder() + "\\" + fileName; }

CString PathForOperator(LPCSTR path) { return platform::PathForMessage(platform::NativePath(path)).c_str(); }
