// One top-level window drawn into terminal cells: its frame and title, its controls laid out
// within the terminal's size so that none is drawn over another. Internal to the terminal display.
#pragma once

#include <map>
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

// The terminal's own first line of a list, kept from one picture to the next: a box with fewer
// rows here than lines in pixels scrolls within them, so every line of the list can be read.
struct ListScroll {
    int first = 0;      // the first line drawn
    int listTop = -1;   // the list's own first line when it was drawn: a list that scrolled
                        // itself since is drawn from its new first line
    int rows = 1, count = 0;
};
using ListScrolls = std::map<HWND, ListScroll>;

std::string WithoutMnemonic(const std::string& text);
std::string Repeat(const std::string& s, int n);

// Draws the window whose tree is `tree` (the top-level window first) centred in the canvas, the
// control `focus` marked; each control's cells are owned by its place in the tree; the lists
// from their first lines in `scrolls` (when given), which the drawing updates. False, with the
// line that says so, when the terminal is too small for it.
bool DrawTerminalWindow(TerminalCanvas& canvas, const std::vector<ControlView>& tree, HWND focus, Placement* at,
                        std::string* tooSmall, ListScrolls* scrolls = nullptr);

}  // namespace platform::display
