// What a person would see of the window tree: the visible top-level windows and, for one of them,
// its visible controls in tab order with their texts and states. Read on the user-interface
// thread. Internal to the displays.
#pragma once

#include <string>
#include <vector>

#include "platform/winctrl.h"
#include "platform/windowcore.h"

namespace platform::display {

enum class ControlKind { Window, Text, Line, PushButton, CheckBox, GroupBox, Edit, ListBox, Progress, ListView, Picture, Video };

struct ControlView {
    HWND hwnd = nullptr;
    int id = 0;
    int depth = 0;  // 0 for the top-level window
    ControlKind kind = ControlKind::Window;
    // What the control shows: for texts, buttons, check boxes and group boxes the texts it drew
    // at its last paint (one a line), else its window text.
    std::string text;
    // The colours of its first drawn text: the text's and what lay under it.
    COLORREF ink = 0, paper = 0;
    bool drawn = false;
    DWORD style = 0;
    bool enabled = true;
    bool focused = false;
    bool isDefault = false;
    bool checked = false;
    RECT rect{};  // in pixels, relative to the top-level window's origin
    int low = 0, high = 100, pos = 0;  // progress
    std::vector<std::string> columns;             // list view
    std::vector<std::vector<std::string>> rows;   // list box (one text a row) and list view
    int topRow = 0;             // list box: the first line it shows
    int selectedRow = -1;       //   and its selection
    bool video = false;  // a video window (a child of kind Video, or a top-level window)
    LONG pictureWidth = 0, pictureHeight = 0;
    long framesShown = 0;
};

// "720x576, 25 frames shown" (or "no picture") for a video window.
std::string VideoCaption(const ControlView& view);

// The calling thread's visible top-level windows in creation order, then the message boxes of
// every thread; the last one is active and takes the operator's keys.
std::vector<HWND> VisibleTopLevels();
HWND ActiveTopLevel();
// The top-level window first, then its visible descendants depth-first in creation order.
std::vector<ControlView> DescribeTree(HWND topLevel);
bool IsPressable(const ControlView& view);
// Texts and states of a tree, for telling whether anything a person sees changed.
std::string Signature(const std::vector<ControlView>& tree);
// The name of a marked colour ("green", "red", ...), empty for black, white and the greys.
std::string ColourName(COLORREF colour);
// What a text's drawn colours say: "green", "green background", "red on green background", or
// empty when neither is a marked colour.
std::string ColourMark(const ControlView& view);
// The percentage a progress view shows.
int Percent(const ControlView& view);

}  // namespace platform::display
