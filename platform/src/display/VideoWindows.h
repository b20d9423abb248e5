// What the displays know of video windows: the renderer that owns one publishes its picture
// size and the frames it has shown; the terminal draws the window as a box saying so and the
// log tells when it starts and stops showing frames.
#pragma once

#include "platform/winuser.h"

namespace platform {

struct VideoWindowInfo {
    LONG width = 0, height = 0;  // of the latest frame; 0 before the first
    long framesShown = 0;
};

void SetVideoWindowInfo(HWND window, const VideoWindowInfo& info);
void ForgetVideoWindow(HWND window);
// False for a window that is not a video window.
bool FindVideoWindowInfo(HWND window, VideoWindowInfo* info);

}  // namespace platform
