// The library announces its load and unload in the trace.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/runtime.h"

TEST(DunmorraLibrary, TracesItsAttachAndDetach) {
    platform::ClearTrace();
    void* library = dlopen(DUNMORRA_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_TRUE(platform::TraceContains("DUNMORRA.DLL Initializing!\n"));
    EXPECT_FALSE(platform::TraceContains("DUNMORRA.DLL Terminating!\n"));
    EXPECT_NE(dlsym(library, "_ZN13CEppromWriterC1Ev"), nullptr) << "the writer's constructor is exported";
    EXPECT_EQ(dlsym(library, "_ZN15CEppromInfo713xC1ERK14ProductInfoRow"), nullptr) << "product maps stay inside";
    ASSERT_EQ(dlclose(library), 0);
    EXPECT_TRUE(platform::TraceContains("DUNMORRA.DLL Terminating!\n"));
}
