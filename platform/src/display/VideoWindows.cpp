// The video windows the displays show.
#include "VideoWindows.h"

#include <map>
#include <mutex>

namespace platform {

namespace {
std::mutex g_lock;
std::map<HWND, VideoWindowInfo>& Windows() {
    static auto* windows = new std::map<HWND, VideoWindowInfo>();
    return *windows;
}
}  // namespace

void SetVideoWindowInfo(HWND window, const VideoWindowInfo& info) {
    std::lock_guard<std::mutex> lock(g_lock);
    Windows()[window] = info;
}

void ForgetVideoWindow(HWND window) {
    std::lock_guard<std::mutex> lock(g_lock);
    Windows().erase(window);
}

bool FindVideoWindowInfo(HWND window, VideoWindowInfo* info) {
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = Windows().find(window);
    if (it == Windows().end()) return false;
    *info = it->second;
    return true;
}

}  // namespace platform
