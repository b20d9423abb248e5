// The texts each window drew at its last paint.
#include "gdi/DrawnText.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "gdi/GdiObjects.h"
#include "platform/windowcore.h"
#include "platform/winnls.h"

namespace platform::gdi {

namespace {

std::map<HWND, std::vector<DrawnText>>& Drawn() {
    static auto* drawn = new std::map<HWND, std::vector<DrawnText>>;
    return *drawn;
}

thread_local std::vector<HWND> t_painting;

// A window's texts go with it.
class DrawnTextKeeper : public WindowObserver {
public:
    void OnWindowDestroyed(HWND window) override {
        Guard g(Lock());
        Drawn().erase(window);
    }
};

std::string Utf8(const std::u32string& text) {
    return WideToUtf8(std::wstring(text.begin(), text.end()));
}

}  // namespace

void BeginDrawnText(HWND window) {
    static std::once_flag once;
    std::call_once(once, [] { AddWindowObserver(new DrawnTextKeeper); });
    Guard g(Lock());
    Drawn()[window].clear();
    t_painting.push_back(window);
}

void EndDrawnText(HWND window) {
    auto it = std::find(t_painting.rbegin(), t_painting.rend(), window);
    if (it != t_painting.rend()) t_painting.erase(std::next(it).base());
}

void NoteDrawnText(const DC& dc, const std::u32string& text, POINT at) {
    if (t_painting.empty() || text.empty()) return;
    HWND window = dc.window ? dc.window : t_painting.back();
    // A window's own DC counts only while that window paints.
    if (std::find(t_painting.begin(), t_painting.end(), window) == t_painting.end()) return;
    auto slot = Drawn().find(window);
    if (slot == Drawn().end()) return;
    DrawnText drawn{Utf8(text), dc.s.text, dc.s.bk};
    Bitmap* target = dc.Target();
    if (dc.s.bkMode != OPAQUE && target && target->width > 0 && target->height > 0)
        drawn.paper = ColorOf(target->Get(std::clamp<int>(at.x, 0, target->width - 1), std::clamp<int>(at.y, 0, target->height - 1)));
    std::vector<DrawnText>& texts = slot->second;
    auto same = std::find_if(texts.begin(), texts.end(), [&](const DrawnText& t) { return t.text == drawn.text; });
    // Drawn again (an embossed caption's shadow, then its face): the last colours count.
    if (same != texts.end()) *same = drawn;
    else texts.push_back(drawn);
}

bool GetDrawnText(HWND window, std::vector<DrawnText>* texts) {
    Guard g(Lock());
    auto it = Drawn().find(window);
    if (it == Drawn().end()) return false;
    *texts = it->second;
    return true;
}

}  // namespace platform::gdi
