// What the GDI's text calls drew for each window while it painted, for the displays that show
// text rather than pixels: a control that paints its own text (in a memory DC it then copies to
// the window, say) is read by what it paints, not by its window text. Internal.
#pragma once

#include <string>
#include <vector>

#include "platform/wingdi.h"

namespace platform::gdi {

struct DC;

struct DrawnText {
    std::string text;       // UTF-8, as the call was given it
    COLORREF ink = 0;       // the text colour
    COLORREF paper = 0;     // what lay under the text where it began
};

// BeginPaint and EndPaint of the calling thread: text drawn in between, into any DC that is not
// another window's, belongs to the innermost window painting. A paint starts the window's texts
// anew.
void BeginDrawnText(HWND window);
void EndDrawnText(HWND window);
// A text call drew `text` with its cell's top-left at `at` (surface coordinates); GDI lock held.
void NoteDrawnText(const DC& dc, const std::u32string& text, POINT at);
// The texts the window drew at its last paint, each once, in the order first drawn; false when
// the window has not painted.
bool GetDrawnText(HWND window, std::vector<DrawnText>* texts);

}  // namespace platform::gdi
