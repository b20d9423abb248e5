// The crossbar routing of a card that routes its own crossbar, one crossbar output at a time:
// the encoder cards whose crossbar is a separate device upstream of their capture filter.
#pragma once

#include <windows.h>

class CCrossbarRouter {
public:
    virtual ~CCrossbarRouter() = default;
    // Routes crossbar input pin `input` to output pin `output` (0 video, 1 audio); TRUE when the
    // crossbar took the route.
    virtual BOOL RouteCrossbar(long input, long output) = 0;
};
