// The operator's keyboard, as every display hands it to the dialogs.
#include "display/OperatorKeys.h"

#include <vector>

#include "display/ScreenModel.h"
#include "mfc/DialogNavigation.h"
#include "platform/winctrl.h"
#include "platform/windowcore.h"

namespace platform::display {

namespace {

// Each punctuation key: what it types, then what it types with Shift.
struct PunctuationKey {
    UINT virtualKey;
    char plain, shifted;
};
constexpr PunctuationKey kPunctuation[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},   {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},   {VK_OEM_6, ']', '}'},   {VK_OEM_7, '\'', '"'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

}  // namespace

UINT VirtualKeyOf(char typed) {
    if (typed >= 'a' && typed <= 'z') return UINT('A' + (typed - 'a'));
    if ((typed >= 'A' && typed <= 'Z') || (typed >= '0' && typed <= '9')) return UINT(typed);
    if (typed == ' ') return VK_SPACE;
    for (int digit = 0; digit < 10; ++digit)
        if (typed == kShiftedDigits[digit]) return UINT('0' + digit);
    for (const PunctuationKey& key : kPunctuation)
        if (typed == key.plain || typed == key.shifted) return key.virtualKey;
    return 0;
}

HWND KeyTarget() {
    HWND top = ActiveTopLevel();
    if (!top) return nullptr;
    HWND focus = GetThreadFocus(::GetWindowThreadProcessId(top, nullptr));
    bool inside = focus && (focus == top || ::IsChild(top, focus));
    if (inside && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus)) return focus;
    std::vector<HWND> stops = mfc::TabStops(top);
    if (stops.empty()) return top;
    SetThreadFocus(stops.front());
    return stops.front();
}

void OperatorKey(UINT virtualKey, bool down, LPARAM flags, char typed) {
    HWND target = KeyTarget();
    if (!target) return;
    if (down && virtualKey == VK_RETURN && mfc::IsPushButton(target)) {
        ::PostMessageA(target, BM_CLICK, 0, 0);
        return;
    }
    ::PostMessageA(target, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, flags);
    if (down && typed) ::PostMessageA(target, WM_CHAR, WPARAM(static_cast<unsigned char>(typed)), flags);
}

}  // namespace platform::display
