// The main dialog's system menu and icon, with the station running on the default bench: the
// About entry after a separator, WM_SYSCOMMAND 0x10 showing the About box with the application
// icon and the version, and the application icon drawn centred in a minimised main dialog.
#include <gtest/gtest.h>

#include "StationRun.h"
#include "platform/wingdi.h"

using namespace station_test;

namespace {

TEST_F(StationRun, SystemMenuHoldsAboutWhichRunsTheAboutBox) {
    Plug(KeshBench(1));
    op.Then([&] {
        CMenu* menu = MainDialog()->GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        UINT count = menu->GetMenuItemCount();
        ASSERT_GE(count, 2u);
        EXPECT_TRUE(menu->Items()[count - 2].flags & MF_SEPARATOR);
        CString text;
        EXPECT_GT(menu->GetMenuString(IDM_ABOUTBOX, text, MF_BYCOMMAND), 0);
        EXPECT_EQ(std::string(text), "&About Pelvatro...");
        EXPECT_EQ(menu->GetMenuString(count - 1, text, MF_BYPOSITION), text.GetLength());
        EXPECT_EQ(std::string(text), "&About Pelvatro...");
        MainDialog()->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0);  // modal: the next step runs in it
    });
    op.Then([&] {
        char caption[64] = {};
        ::GetWindowTextA(op.ActiveWindow(), caption, sizeof caption);
        EXPECT_STREQ(caption, "About");
        // The application icon, then the version.
        HWND icon = ::GetWindow(op.ActiveWindow(), GW_CHILD);
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessage(icon, STM_GETIMAGE, IMAGE_ICON, 0)),
                  AfxGetApp()->LoadIcon(IDR_MAINFRAME));
        char version[32] = {};
        ::GetWindowTextA(::GetWindow(icon, GW_HWNDNEXT), version, sizeof version);
        EXPECT_STREQ(version, "Version 1.0");
        EXPECT_TRUE(op.Click(IDOK));
    });
    op.Then([&] {
        EXPECT_NE(op.Find(IDC_STATUS), nullptr) << "back on the sheet";
        EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL));
    });
    RunProgram();
}

TEST_F(StationRun, MinimisedMainDialogPaintsItsIconCentred) {
    Plug(KeshBench(1));
    op.Then([&] {
        CPelvatroDlg* main = MainDialog();
        main->ShowWindow(SW_MINIMIZE);
        EXPECT_TRUE(::IsIconic(main->m_hWnd));
        EXPECT_TRUE(main->IsIconic());
        EXPECT_EQ(HICON(main->SendMessage(WM_QUERYDRAGICON)), main->m_hIcon);
        platform::Screenshot shot = op.TakeScreenshot(main->m_hWnd);
        if (shot.width <= 32) return ADD_FAILURE() << "no picture of the main dialog";
        // The same icon drawn on the dialog's face in a bitmap of the dialog's size.
        HDC screen = ::GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.width, shot.height);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, shot.width, shot.height};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        int x = (shot.width - 32 + 1) / 2, y = (shot.height - 32 + 1) / 2;
        EXPECT_TRUE(DrawIcon(dc, x, y, main->m_hIcon));
        int differ = 0, iconPixels = 0;
        for (int py = 0; py < shot.height; ++py)
            for (int px = 0; px < shot.width; ++px) {
                uint32_t want = GetPixel(dc, px, py);
                want = ((want & 0xFF) << 16) | (want & 0xFF00) | ((want >> 16) & 0xFF);
                if (shot.At(px, py) != want && differ++ == 0)
                    ADD_FAILURE() << std::hex << "at " << std::dec << px << "," << py << std::hex << ": "
                                  << shot.At(px, py) << " not " << want;
                iconPixels += shot.At(px, py) != shot.At(0, 0);
            }
        EXPECT_EQ(differ, 0);
        EXPECT_GT(iconPixels, 100) << "the icon is drawn";
        EXPECT_EQ(shot.At(x - 1, y + 16), shot.At(0, 0)) << "nothing left of it";
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    });
    op.Then([&] {
        EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL));
    });
    RunProgram();
}

}  // namespace
