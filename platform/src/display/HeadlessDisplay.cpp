// The headless display: nothing shown, the windows painted into their surfaces as on every
// display, the focus given, as a display that takes keys gives it, to where the next key would
// go (so a page's focus shows in its pixels). A test operator attached to it runs its steps when the
// user-interface thread is idle and answers message boxes; without one, a message box takes its
// default button (traced).
#include <mutex>

#include "display/DisplayHost.h"
#include "display/OperatorKeys.h"
#include "platform/runtime.h"

namespace platform::display {

namespace {

std::mutex g_lock;
HeadlessOperator* g_operator = nullptr;

class HeadlessDisplay : public Display {
public:
    DisplayKind Kind() const override { return DisplayKind::Headless; }

    ULONGLONG Idle() override {
        KeyTarget();
        HeadlessOperator* op = Operator();
        return op ? op->Idle() : UINT64_MAX;
    }

    int AnswerMessageBox(HWND owner, const char* text, const char* caption, UINT type) override {
        if (HeadlessOperator* op = Operator()) return op->AnswerMessageBox(text, caption, type);
        int answer = DefaultMessageBoxAnswer(type);
        PlatformTrace("MessageBox [%s] %s -> %d\n", caption, text, answer);
        return answer;
    }

private:
    static HeadlessOperator* Operator() { return AttachedOperator(); }
};

}  // namespace

HeadlessOperator* AttachedOperator() {
    std::lock_guard<std::mutex> g(g_lock);
    return g_operator;
}

void AttachHeadlessOperator(HeadlessOperator* op) {
    std::lock_guard<std::mutex> g(g_lock);
    g_operator = op;
}

void DetachHeadlessOperator(HeadlessOperator* op) {
    std::lock_guard<std::mutex> g(g_lock);
    if (g_operator == op) g_operator = nullptr;
}

std::unique_ptr<Display> MakeHeadlessDisplay() { return std::make_unique<HeadlessDisplay>(); }

}  // namespace platform::display
