// One top-level window drawn into terminal cells: its frame and title, its controls laid out
// within the terminal's size so that none is drawn over another. Internal to the terminal display.
#pragma once

#include <string>
#include <vector>

#include "display/ScreenModel.h"
#include "display/TerminalCanvas.h"

namespace platform::display {

// How a window's cells map into the terminal: its frame's place and the scale of its inside.
struct Placement {
    int left = 0, top = 0, width = 0, height = 0;
    double fx = 1, fy = 1;
    int X(int column) const;
    int Y(int row) const;
    // The row a pixel of the window's inside falls on, scaled.
    int RowOf(int pixel) const;
};

std::string WithoutMnemonic(const std::string& text);
std::string Repeat(const std::string& s, int n);

// Draws the window whose tree is `tree` (the top-level window first) centred in the canvas, the
// control `focus` marked; each control's cells are owned by its place in the tree. False, with
// the line that says so, when the terminal is too small for it.
bool DrawTerminalWindow(TerminalCanvas& canvas, const std::vector<ControlView>& tree, HWND focus, Placement* at,
                        std::string* tooSmall);

}  // namespace platform::display
