// The trace sink: debug output kept for tests, copied to stderr when PELVATRO_TRACE is set.
// It is never destroyed, so it outlives every static object that traces while it is torn down.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/runtime.h"
#include "platform/winnls.h"

namespace {

struct TraceSink {
    std::mutex lock;
    std::string text;
    bool toStderr = getenv("PELVATRO_TRACE") != nullptr;
    static constexpr size_t kKeep = 4 << 20;  // the newest 4 MiB

    void Write(const char* s) {
        std::lock_guard<std::mutex> g(lock);
        text += s;
        if (text.size() > kKeep) text.erase(0, text.size() - kKeep / 2);
        if (toStderr) fputs(s, stderr);
    }
};

TraceSink& Sink() {
    static auto* sink = new TraceSink;
    return *sink;
}

}  // namespace

void OutputDebugStringA(LPCSTR text) {
    if (text) Sink().Write(text);
}

void OutputDebugStringW(LPCWSTR text) {
    if (!text) return;
    std::string utf8 = platform::WideToUtf8(text);
    Sink().Write(utf8.c_str());
}

void PlatformTrace(const char* format, ...) {
    char buf[2048];
    va_list ap;
    va_start(ap, format);
    vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    Sink().Write(buf);
}

void PlatformAssertFailed(const char* expression, const char* file, int line) {
    PlatformTrace("Assertion failed: %s, file %s, line %d\n", expression, file, line);
#ifdef PELVATRO_DEBUG_ASSERTS
    fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, file, line);
    abort();
#endif
}

void DebugBreak() { PlatformTrace("DebugBreak\n"); }

namespace platform {

std::string TraceText() {
    std::lock_guard<std::mutex> g(Sink().lock);
    return Sink().text;
}

void ClearTrace() {
    std::lock_guard<std::mutex> g(Sink().lock);
    Sink().text.clear();
}

bool TraceContains(const std::string& text) { return TraceText().find(text) != std::string::npos; }

}  // namespace platform
