// The window class table: the classes registered by name (any case), under the window table's
// lock.
#include <cctype>
#include <map>
#include <string>

#include "WindowTable.h"

namespace platform::win {

namespace {

struct ClassTable {
    std::map<std::string, WNDCLASSA> byName;  // by lower-case name
    std::map<std::string, std::string> names;
};

// Never destroyed, like the window table.
ClassTable& Classes() {
    static auto* t = new ClassTable;
    return *t;
}

std::string Lower(const char* s) {
    std::string r(s ? s : "");
    for (auto& c : r) c = char(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

}  // namespace

const WNDCLASSA* FindClassLocked(const char* className) {
    auto it = Classes().byName.find(Lower(className));
    return it == Classes().byName.end() ? nullptr : &it->second;
}

}  // namespace platform::win

using namespace platform::win;

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::lock_guard<std::mutex> g(TableLock());
    std::string key = Lower(windowClass->lpszClassName);
    if (Classes().byName.count(key)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WNDCLASSA copy = *windowClass;
    Classes().names[key] = windowClass->lpszClassName;
    copy.lpszClassName = Classes().names[key].c_str();
    copy.lpszMenuName = nullptr;
    Classes().byName[key] = copy;
    return ATOM(Classes().byName.size());
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* windowClass) {
    std::lock_guard<std::mutex> g(TableLock());
    const WNDCLASSA* found = FindClassLocked(className);
    if (!found) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    if (windowClass) *windowClass = *found;
    return TRUE;
}
