#include "GbkText.h"

#include "platform/winnls.h"

std::string Utf8ToGbkText(LPCSTR utf8) {
    if (utf8 == nullptr || utf8[0] == '\0') return std::string();
    const int wideCount = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (wideCount <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(wideCount), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), wideCount);
    const int gbkCount = WideCharToMultiByte(CP_GBK, 0, wide.c_str(), -1, nullptr, 0, "?", nullptr);
    if (gbkCount <= 0) return std::string();
    std::string gbk(static_cast<size_t>(gbkCount), '\0');
    WideCharToMultiByte(CP_GBK, 0, wide.c_str(), -1, gbk.data(), gbkCount, "?", nullptr);
    gbk.resize(static_cast<size_t>(gbkCount - 1));  // without the terminating zero
    return gbk;
}
