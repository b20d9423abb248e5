// The program's folder from the module file name.
#include "ProgramFolder.h"

CString GetProgramFolder() {
    char path[MAX_PATH] = {0};
    GetModuleFileName(nullptr, path, MAX_PATH);
    CString folder = path;
    int slash = folder.ReverseFind('\\');
    return slash >= 0 ? folder.Left(slash) : CString();
}

CString GetProgramFilePath(LPCSTR fileName) { return GetProgramFolder() + "\\" + fileName; }
