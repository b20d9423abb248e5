// The program's folder: where the station's own files lie ("ConfigTest.txt", "Pass.txt",
// "Error.txt"), the path of the program's module file up to its last backslash.
#pragma once

#include <afx.h>

CString GetProgramFolder();
// TRUE when the module path fits the station's path buffers (MAX_PATH characters), so that every
// file path made from the folder names the folder; the folder in either case.
bool ProgramFolderFits(CString& folder);
// The folder, "\\" and the file name.
CString GetProgramFilePath(LPCSTR fileName);

// A path as the operator wrote it on this machine (its own separators), for what the station
// says about a file or folder: the station's paths are kept with backslashes.
CString PathForOperator(LPCSTR path);
