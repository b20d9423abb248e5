#include <gtest/gtest.h>

#include <windows.h>

TEST(Guid, ParsesWithAndWithoutBracesAndFormatsUpperCase) {
    GUID a, b;
    ASSERT_TRUE(platform::ParseGuid("fc8facff-0293-4ce3-8594-4f638ccd6bb0", &a));
    ASSERT_TRUE(platform::ParseGuid("{FC8FACFF-0293-4CE3-8594-4F638CCD6BB0}", &b));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.Data1, 0xFC8FACFFu);
    EXPECT_EQ(a.Data4[7], 0xB0);
    EXPECT_EQ(platform::FormatGuid(a), "{FC8FACFF-0293-4CE3-8594-4F638CCD6BB0}");
}

TEST(Guid, RefusesMalformedText) {
    GUID g{};
    EXPECT_FALSE(platform::ParseGuid("FC8FACFF-0293-4CE3-8594-4F638CCD6BB", &g));
    EXPECT_FALSE(platform::ParseGuid("FC8FACFF+0293-4CE3-8594-4F638CCD6BB0", &g));
    EXPECT_FALSE(platform::ParseGuid("GC8FACFF-0293-4CE3-8594-4F638CCD6BB0", &g));
    EXPECT_FALSE(platform::ParseGuid(nullptr, &g));
    EXPECT_EQ(g, GUID_NULL);
}

TEST(WindowsTypes, HaveWindowsWidthsAndSigns) {
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    WPARAM w = reinterpret_cast<WPARAM>(&w);
    EXPECT_EQ(reinterpret_cast<WPARAM*>(w), &w);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), HRESULT(0x80070002));
}
