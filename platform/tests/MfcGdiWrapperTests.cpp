// The framework's GDI wrappers: what SelectObject hands back is the selected object's own wrapper
// or a temporary one the thread keeps until its idle, so paints that select and restore keep nothing.
#include <gtest/gtest.h>
#include <malloc.h>

#include "afxwin.h"

namespace {

size_t HeapInUse() { return mallinfo2().uordblks; }

// One paint: a pen and a brush of the caller's, and a pen made by handle, selected and restored.
void SelectAndRestore(CDC& dc, int i) {
    CPen pen(PS_SOLID, 1, RGB(i & 0xFF, 0, 0));
    CBrush brush(RGB(0, i & 0xFF, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    dc.Rectangle(0, 0, 8, 8);
    EXPECT_EQ(dc.SelectObject(oldBrush), &brush);
    EXPECT_EQ(dc.SelectObject(oldPen), &pen);
    HPEN raw = ::CreatePen(PS_SOLID, 1, RGB(0, 0, i & 0xFF));
    HGDIOBJ before = ::SelectObject(dc, raw);
    CPen* temporary = dc.SelectObject(oldPen);
    EXPECT_EQ(temporary->m_hObject, raw);
    dc.SelectObject(before);
    ::DeleteObject(raw);
    EXPECT_EQ(temporary->m_hObject, raw) << "a temporary wrapper lives until the thread's idle";
}

TEST(MfcGdiWrappers, SelectAndRestorePaintsKeepNoWrapper) {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap canvas;
    ASSERT_TRUE(canvas.CreateCompatibleBitmap(&dc, 8, 8));
    auto paints = [&] {
        CBitmap* old = dc.SelectObject(&canvas);
        for (int i = 0; i < 10000; ++i) SelectAndRestore(dc, i);
        EXPECT_EQ(dc.SelectObject(old), &canvas);
        CGdiObject::DeleteTempMap();  // the thread's idle
    };
    // A first round makes the stock objects' wrappers and brings the maps' storage to its size,
    // wherever an earlier test left the allocator's mmap threshold.
    paints();
    const size_t start = HeapInUse();
    paints();
    EXPECT_LT(HeapInUse(), start + 64 * 1024) << "grew from " << start;
}

// A CDC frees the DC it made; a handle that is no DC gets no wrapper.
TEST(MfcGdiWrappers, ADcGoesWithItsCdcAndOnlyADcIsWrapped) {
    HDC made = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        made = dc.m_hDC;
        EXPECT_EQ(CDC::FromHandle(made)->m_hDC, made);
    }
    EXPECT_EQ(::GetObjectType(made), 0u);
    EXPECT_EQ(CDC::FromHandle(made), nullptr);
    HPEN pen = ::CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(CDC::FromHandle(reinterpret_cast<HDC>(pen)), nullptr);
    ::DeleteObject(pen);
}

}  // namespace
