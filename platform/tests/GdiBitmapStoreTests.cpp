// Bitmaps whose store is too large or cannot be had: the creating calls answer NULL, allocate
// nothing for sizes past the bound, and throw nothing.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "platform/wingdi.h"

namespace {

BITMAPINFO Header32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

TEST(GdiBitmapStore, SizesPastTheBoundAreRefusedWithoutAllocating) {
    HDC dc = GetDC(nullptr);
    const size_t heap = mallinfo2().uordblks;
    EXPECT_EQ(CreateCompatibleBitmap(dc, 65536, 65536), nullptr) << "16 GB";
    EXPECT_EQ(CreateBitmap(65536, 65536, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(65536, 40000, 1, 8, nullptr), nullptr);
    const BITMAPINFO large = Header32(16384, 16384);  // 1 GB of pixels
    void* bits = &bits;
    EXPECT_EQ(CreateDIBSection(dc, &large, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    EXPECT_LT(mallinfo2().uordblks, heap + 1024 * 1024);
    HBITMAP fits = CreateCompatibleBitmap(dc, 1024, 768);
    EXPECT_NE(fits, nullptr);
    DeleteObject(fits);
    ReleaseDC(nullptr, dc);
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// In a child whose address space ends about 64 MB past what it uses: a 200 MB bitmap cannot be had.
TEST(GdiBitmapStore, StoreThatCannotBeHadGivesNull) {
    fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        long pages = 0;
        if (FILE* statm = fopen("/proc/self/statm", "r")) {
            if (fscanf(statm, "%ld", &pages) != 1) pages = 0;
            fclose(statm);
        }
        // The address-space limit (RLIMIT_AS, 9) set through the system call itself.
        const uint64_t limit = uint64_t(pages) * uint64_t(sysconf(_SC_PAGESIZE)) + (uint64_t(64) << 20);
        const uint64_t limits[2] = {limit, limit};
        if (pages == 0 || syscall(SYS_prlimit64, 0, 9, limits, nullptr) != 0) _exit(3);
        HDC dc = GetDC(nullptr);  // makes 32-bit bitmaps
        const BITMAPINFO info = Header32(7000, 7000);
        void* bits = nullptr;
        const bool refused = CreateCompatibleBitmap(dc, 7000, 7000) == nullptr &&
                             CreateBitmap(7000, 7000, 1, 32, nullptr) == nullptr &&
                             CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) == nullptr;
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

}  // namespace
