// The program's UTF-8 text as GBK bytes for the station's text files. A character GBK cannot
// hold is written as '?'; the rest of the text is kept as it is.
#pragma once

#include <windows.h>

#include <string>

std::string Utf8ToGbkText(LPCSTR utf8);
