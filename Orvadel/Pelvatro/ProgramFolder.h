// The program's folder: where the station's own files lie ("ConfigTest.txt", "Pass.txt",
// "Error.txt"), the path of the program's module file up to its last backslash.
#pragma once

#include <afx.h>

CString GetProgramFolder();
// The folder, "\\" and the file name.
CString GetProgramFilePath(LPCSTR fileName);
