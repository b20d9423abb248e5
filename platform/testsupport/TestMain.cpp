// Test main: every test gets a fresh state directory and program folder of its own, starts on the
// virtual clock unless it asks for real time, and leaves no injected failure, trace, display,
// queued message, recorded property frame or clock mode behind for the next test, so a binary
// passes run whole in any order as well as one test per process.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/ChildRole.h"
#include "platform/comservices.h"
#include "platform/display.h"
#include "platform/runtime.h"
#include "platform/winuser.h"

// Fontconfig keeps a few hundred bytes of its own for the process (allocated once at the first
// font lookup, never freed), and the C library the LOCPATH list of a locale it loaded from
// there; the leak checker is told not to count them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:__argz_add_sep\n"; }

namespace {

class FreshTestState : public testing::EmptyTestEventListener {
public:
    explicit FreshTestState(std::string base) : m_base(std::move(base)) {
        for (const char* name : kKept)
            if (const char* value = getenv(name)) m_kept.emplace_back(name, value);
    }

    void OnTestStart(const testing::TestInfo&) override {
        m_folder = m_base + "/" + std::to_string(++m_count);
        std::filesystem::create_directories(m_folder + "/state");
        std::filesystem::create_directories(m_folder + "/home");
        setenv("PELVATRO_STATE_DIR", (m_folder + "/state").c_str(), 1);
        setenv("PELVATRO_HOME", (m_folder + "/home").c_str(), 1);
        platform::UseVirtualClock(true);
    }
    void OnTestEnd(const testing::TestInfo&) override {
        // A quit the last modal loop posted again for an outer loop that was not there.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        platform::ClearFailures();
        platform::StopDisplay();
        platform::SetClockStallReport(10000);
        platform::UseVirtualClock(true);
        platform::ClearTrace();
        platform::ClearPropertyFrameCalls();
        for (const char* name : kKept) unsetenv(name);
        for (const auto& [name, value] : m_kept) setenv(name.c_str(), value.c_str(), 1);
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

private:
    // Variables a test may set for itself, put back as the binary started.
    static constexpr const char* kKept[] = {"PELVATRO_BENCH", "PELVATRO_DISPLAY", "PELVATRO_TRACE", "PELVATRO_VECTORS",
                                            "LOCPATH"};
    std::string m_base, m_folder;
    std::vector<std::pair<std::string, std::string>> m_kept;
    int m_count = 0;
};

std::map<std::string, int (*)()>& Roles() {
    static std::map<std::string, int (*)()> roles;
    return roles;
}

}  // namespace

bool testsupport::AddChildRole(const char* name, int (*role)()) { return Roles().emplace(name, role).second; }

int main(int argc, char** argv) {
    if (const char* role = getenv("PELVATRO_TEST_ROLE")) {
        auto it = Roles().find(role);
        return it == Roles().end() ? 3 : it->second();
    }
    testing::InitGoogleTest(&argc, argv);
    std::string base = (std::filesystem::temp_directory_path() / "pelvatro-test-XXXXXX").string();
    if (!mkdtemp(base.data())) return 2;
    if (!getenv("PELVATRO_DISPLAY")) setenv("PELVATRO_DISPLAY", "headless", 1);
    unsetenv("PELVATRO_BENCH");
    testing::UnitTest::GetInstance()->listeners().Append(new FreshTestState(base));
    int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
    return rc;
}
