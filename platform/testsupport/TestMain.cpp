// Test main: every test process gets a fresh state directory and program folder of its own,
// and starts on the virtual clock unless the test asks for real time.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/runtime.h"

// Fontconfig keeps a few hundred bytes of its own for the process (allocated once at the first
// font lookup, never freed); the leak checker is told not to count them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string base = (std::filesystem::temp_directory_path() / "pelvatro-test-XXXXXX").string();
    if (!mkdtemp(base.data())) return 2;
    std::filesystem::create_directories(base + "/state");
    std::filesystem::create_directories(base + "/home");
    setenv("PELVATRO_STATE_DIR", (base + "/state").c_str(), 1);
    setenv("PELVATRO_HOME", (base + "/home").c_str(), 1);
    if (!getenv("PELVATRO_DISPLAY")) setenv("PELVATRO_DISPLAY", "headless", 1);
    platform::UseVirtualClock(true);
    int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
    return rc;
}
