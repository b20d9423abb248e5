// The control classes keep their state as the pages use it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "afxcmn.h"
#include "platform/testoperator.h"

namespace {

class Controls : public testing::Test {
protected:
    void SetUp() override {
        AfxRegisterWindowClasses();
        ASSERT_TRUE(parent.CreateEx(0, "AfxWnd", "parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    }
    void TearDown() override { parent.DestroyWindow(); }
    CWnd parent;
    CRect rect{0, 0, 100, 20};
};

TEST_F(Controls, ListBoxKeepsInsertionOrderOrSortsWithLbsSort) {
    CListBox plain, sorted;
    ASSERT_TRUE(plain.Create(WS_CHILD, rect, &parent, 1));
    ASSERT_TRUE(sorted.Create(WS_CHILD | LBS_SORT, rect, &parent, 2));
    for (const char* s : {"TV 音频测试", "AV 视频测试", "b", "A"}) {
        plain.AddString(s);
        sorted.AddString(s);
    }
    CString text;
    plain.GetText(0, text);
    EXPECT_EQ(text, "TV 音频测试");
    sorted.GetText(0, text);
    EXPECT_EQ(text, "A");
    sorted.GetText(1, text);
    EXPECT_EQ(text, "AV 视频测试");
    EXPECT_EQ(sorted.GetCount(), 4);
    EXPECT_EQ(plain.FindStringExact(-1, "b"), 2);
    EXPECT_EQ(plain.FindString(-1, "tv"), 0);
    EXPECT_EQ(plain.InsertString(1, "x"), 1);
    EXPECT_EQ(plain.SetCurSel(2), 2);
    EXPECT_EQ(plain.DeleteString(0), 4);
    EXPECT_EQ(plain.GetCurSel(), 1);
    EXPECT_EQ(plain.GetText(9, text.GetBuffer(64)), LB_ERR);
    text.ReleaseBuffer(0);
    plain.ResetContent();
    EXPECT_EQ(plain.GetCount(), 0);
    EXPECT_EQ(plain.GetCurSel(), LB_ERR);
}

TEST_F(Controls, ProgressKeepsItsPositionInsideTheRange) {
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, rect, &parent, 3));
    progress.SetRange(0, 100);
    progress.SetStep(1);
    EXPECT_EQ(progress.SetPos(40), 0);
    EXPECT_EQ(progress.GetPos(), 40);
    progress.SetPos(150);
    EXPECT_EQ(progress.GetPos(), 100);
    progress.SetPos(-5);
    EXPECT_EQ(progress.GetPos(), 0);
    progress.StepIt();
    progress.OffsetPos(9);
    EXPECT_EQ(progress.GetPos(), 10);
    progress.SetRange32(0, 256);
    int low = -1, high = -1;
    progress.GetRange(low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 256);
}

// A strip of three 24-pixel images as a packed 24-bit DIB: image i is red, green or blue with a
// white (transparent) left half.
const std::vector<uint8_t>& ThreeImageStrip() {
    static const std::vector<uint8_t> dib = [] {
        const int width = 72, height = 24, stride = width * 3;
        std::vector<uint8_t> bytes(sizeof(BITMAPINFOHEADER) + size_t(stride * height));
        BITMAPINFOHEADER h{sizeof h, width, height, 1, 24, BI_RGB, DWORD(stride * height), 0, 0, 0, 0};
        memcpy(bytes.data(), &h, sizeof h);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint8_t* p = bytes.data() + sizeof h + size_t(y * stride + x * 3);  // blue, green, red
                bool white = x % 24 < 12;
                for (int c = 0; c < 3; ++c) p[c] = white || c == 2 - x / 24 ? 0xFF : 0;
            }
        return bytes;
    }();
    return dib;
}

TEST_F(Controls, ImageListKeepsEachImagesPixelsAndDrawsItsMaskTransparent) {
    AfxRegisterResourceData(3129, RT_BITMAP, ThreeImageStrip().data(), DWORD(ThreeImageStrip().size()));
    CImageList images;
    ASSERT_TRUE(images.Create(3129, 24, 1, RGB(255, 255, 255)));
    ASSERT_EQ(images.GetImageCount(), 3);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 100, 30);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, 100, 30};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(ImageList_Draw(images, i, dc, 2 + 30 * i, 3, ILD_TRANSPARENT));
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetPixel(dc, 2 + 30 * i + 18, 10), colours[i]) << "image " << i;
        EXPECT_EQ(GetPixel(dc, 2 + 30 * i + 4, 10), RGB(0, 0, 0)) << "the white of image " << i << " is see-through";
    }
    // A mask bitmap instead of a colour: its white pixels are the transparent ones (here each
    // image's first four columns), the image shows through the rest.
    HIMAGELIST masked = ImageList_Create(24, 24, ILC_COLOR24 | ILC_MASK, 1, 1);
    std::vector<uint8_t> maskBits(24 * 10, 0);  // rows of 72 bits in whole words
    for (int row = 0; row < 24; ++row)
        for (int image = 0; image < 3; ++image) maskBits[size_t(row * 10 + image * 3)] = 0xF0;
    HBITMAP mask = CreateBitmap(72, 24, 1, 1, maskBits.data());
    HBITMAP strip = LoadBitmap(nullptr, MAKEINTRESOURCE(3129));
    EXPECT_EQ(ImageList_Add(masked, strip, mask), 0);
    EXPECT_EQ(ImageList_GetImageCount(masked), 3);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_TRUE(ImageList_Draw(masked, 0, dc, 0, 0, ILD_NORMAL));
    EXPECT_EQ(GetPixel(dc, 2, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 6, 4), RGB(255, 255, 255)) << "the image's own white, drawn";
    EXPECT_EQ(GetPixel(dc, 20, 4), RGB(255, 0, 0));
    EXPECT_FALSE(ImageList_Draw(masked, 3, dc, 0, 0, ILD_NORMAL));
    ImageList_Destroy(masked);
    DeleteObject(strip);
    DeleteObject(mask);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST_F(Controls, ListViewHoldsColumnsRowsAndItsImageList) {
    AfxRegisterResourceData(129, RT_BITMAP, ThreeImageStrip().data(), DWORD(ThreeImageStrip().size()));
    CImageList images;
    EXPECT_FALSE(images.Create(4242, 24, 1, RGB(255, 255, 255)));
    ASSERT_TRUE(images.Create(129, 24, 1, RGB(255, 255, 255)));
    EXPECT_EQ(images.GetImageCount(), 3);
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_REPORT, rect, &parent, 1001));
    EXPECT_EQ(list.SetImageList(&images, LVSIL_SMALL), nullptr);
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ(list.GetExtendedStyle(), DWORD(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    const char* columns[] = {"选中", "卡号", "产品"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.InsertColumn(i, columns[i], LVCFMT_LEFT, 50 + i), i);
    EXPECT_EQ(list.GetColumnWidth(2), 52);
    EXPECT_EQ(list.InsertItem(0, "", 0), 0);
    EXPECT_EQ(list.InsertItem(0, "", 0), 0);
    EXPECT_TRUE(list.SetItemText(1, 2, "Keshar A+D"));
    list.SetItemData(1, 99);
    EXPECT_EQ(list.GetItemText(1, 2), "Keshar A+D");
    EXPECT_EQ(list.GetItemText(0, 2), "");
    EXPECT_EQ(list.GetItemData(1), 99u);
    list.SetCheck(1);
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.SetItemText(5, 0, "x"));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetImageList(LVSIL_SMALL), images.m_hImageList);
}

TEST_F(Controls, ButtonsClickTheirParentOnlyWhenEnabled) {
    class Parent : public CWnd {
    public:
        std::vector<int> clicks;
        BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
            clicks.push_back(LOWORD(wParam));
            return TRUE;
        }
    } owner;
    ASSERT_TRUE(owner.CreateEx(0, "AfxWnd", "owner", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CButton push, check;
    ASSERT_TRUE(push.Create("确 定", WS_CHILD | WS_VISIBLE, rect, &owner, 1002));
    ASSERT_TRUE(check.Create("选中", WS_CHILD | BS_AUTOCHECKBOX, rect, &owner, 1003));
    push.SendMessage(BM_CLICK);
    push.EnableWindow(FALSE);
    push.SendMessage(BM_CLICK);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    EXPECT_EQ(owner.clicks, (std::vector<int>{1002, 1003}));
    owner.DestroyWindow();
}

}  // namespace
