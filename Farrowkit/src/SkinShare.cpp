#include "SkinShare.h"

namespace {

// The bitmap selected into a screen-compatible memory DC for the length of a region build.
class SelectedBitmap {
public:
    explicit SelectedBitmap(CBitmap* bitmap) {
        m_dc.CreateCompatibleDC(nullptr);
        m_old = m_dc.SelectObject(bitmap);
        bitmap->GetBitmap(&m_bm);
    }
    ~SelectedBitmap() { m_dc.SelectObject(m_old); }
    bool IsKey(int x, int y, COLORREF key) const { return m_dc.GetPixel(x, y) == key; }
    int Width() const { return m_bm.bmWidth; }
    int Height() const { return m_bm.bmHeight; }

private:
    CDC m_dc;
    CBitmap* m_old = nullptr;
    BITMAP m_bm{};
};

void RemoveRect(CRgn* region, int left, int top, int right, int bottom) {
    HRGN part = ::CreateRectRgn(left, top, right, bottom);
    ::CombineRgn(*region, *region, part, RGN_XOR);
    ::DeleteObject(part);
}

}  // namespace

CSkinShare::~CSkinShare() = default;

void CSkinShare::MakeRgnByPixels(CRgn* region, CBitmap* bitmap, COLORREF transparent) {
    if (!bitmap || !bitmap->GetSafeHandle()) return;
    SelectedBitmap source(bitmap);
    region->DeleteObject();
    region->CreateRectRgn(0, 0, source.Width(), source.Height());
    for (int x = 0; x < source.Width(); ++x)
        for (int y = 0; y < source.Height(); ++y)
            if (source.IsKey(x, y, transparent)) RemoveRect(region, x, y, x + 1, y + 1);
}

void CSkinShare::MakeRgnByColumns(CRgn* region, CBitmap* bitmap, COLORREF transparent) {
    if (!bitmap || !bitmap->GetSafeHandle()) return;
    SelectedBitmap source(bitmap);
    const int height = source.Height();
    region->DeleteObject();
    region->CreateRectRgn(0, 0, source.Width(), height);
    for (int x = 0; x < source.Width(); ++x) {
        bool inRun = false;
        int start = 0;
        int y = 0;
        while (y < height) {
            const bool key = source.IsKey(x, y, transparent);
            const bool keyAbove = y > 0 && source.IsKey(x, y - 1, transparent);
            if (!inRun && key) {
                start = keyAbove ? y - 1 : y;
                inRun = true;
                y += 2;
            } else if (inRun && !key) {
                RemoveRect(region, x, start, x + 1, keyAbove ? y : y - 1);
                inRun = false;
                y += 1;
            } else {
                y += 2;
            }
        }
        if (inRun) RemoveRect(region, x, start, x + 1, height);
    }
}

CSkinSharePath::~CSkinSharePath() = default;

CString CSkinSharePath::GetFolder(LPCTSTR path) {
    CString text(path ? path : "");
    int slash = text.ReverseFind('\\');
    return slash < 0 ? CString() : text.Left(slash);
}

CString CSkinSharePath::GetProgramFolder() {
    char path[MAX_PATH] = {0};
    ::GetModuleFileName(nullptr, path, MAX_PATH);
    return GetFolder(path);
}
