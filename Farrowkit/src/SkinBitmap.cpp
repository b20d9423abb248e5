#include "SkinBitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "DrawBmpHelper.h"
#include "EnBitmap.h"
#include "SkinShare.h"

CSkinBitmap::~CSkinBitmap() = default;

int CSkinBitmap::GetWidth() const {
    BITMAP bm{};
    return GetBitmap(&bm) ? int(bm.bmWidth) : 0;
}

int CSkinBitmap::GetHeight() const {
    BITMAP bm{};
    return GetBitmap(&bm) ? int(bm.bmHeight) : 0;
}

CSize CSkinBitmap::GetSize() const {
    BITMAP bm{};
    if (!GetBitmap(&bm)) return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

BOOL CSkinBitmap::LoadFromFile(LPCTSTR path) {
    HANDLE loaded = ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    DeleteObject();
    if (!loaded) return FALSE;
    return Attach(loaded);
}

BOOL CSkinBitmap::LoadFromResource(UINT id) {
    DeleteObject();
    return LoadBitmap(id);
}

void CSkinBitmap::Draw(CDC* dc, int x, int y, CRect* part) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(this);
    if (part)
        dc->BitBlt(x, y, part->Width(), part->Height(), &memory, part->left, part->top, SRCCOPY);
    else
        dc->BitBlt(x, y, GetWidth(), GetHeight(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CSkinBitmap::StretchDraw(CDC* dc, CRect* target, CRect* part) {
    CDrawBmpHelper::StretchBitmap(dc, *target, this, part);
}

BOOL CSkinBitmap::DrawTransparent(CDC* dc, int x, int y, COLORREF transparent) {
    CEnBitmap::DrawTransparent(dc->GetSafeHdc(), x, y, GetWidth(), GetHeight(), HBITMAP(*this), 0, 0, transparent,
                               nullptr);
    return TRUE;
}

void CSkinBitmap::FillPattern(CDC* dc, CRect* rect) { CDrawBmpHelper::FillPattern(dc, *rect, this); }

namespace {

// One piece of a three-piece draw: stretched onto the rectangle, or at natural size clipped to it.
void DrawPiece(CDC* dc, const CRect& rect, CSkinBitmap* piece, bool stretch) {
    if (stretch)
        CDrawBmpHelper::StretchRect(dc, rect, piece);
    else
        CDrawBmpHelper::DrawBitmap(dc, rect, piece);
}

void FillMiddle(CDC* dc, const CRect& rect, CSkinBitmap* middle, bool stretch) {
    if (stretch)
        CDrawBmpHelper::StretchRect(dc, rect, middle);
    else
        CDrawBmpHelper::TileRect(dc, rect, middle);
}

}  // namespace

void CSkinBitmap::DrawHorizontal(CDC* dc, CRect* target, CSkinBitmap* left, CSkinBitmap* middle, CSkinBitmap* right,
                                 bool stretch) {
    CRect first = *target;
    first.right = std::min(int(target->left + left->GetWidth()), int(target->right));
    DrawPiece(dc, first, left, stretch);
    if (first.right >= target->right) return;
    CRect last = *target;
    last.left = std::max(int(target->left), int(target->right - right->GetWidth()));
    DrawPiece(dc, last, right, stretch);
    if (first.right < last.left) FillMiddle(dc, CRect(first.right, target->top, last.left, target->bottom), middle, stretch);
}

void CSkinBitmap::DrawVertical(CDC* dc, CRect* target, CSkinBitmap* top, CSkinBitmap* middle, CSkinBitmap* bottom,
                               bool stretch) {
    CRect first = *target;
    first.bottom = std::min(int(target->top + top->GetHeight()), int(target->bottom));
    DrawPiece(dc, first, top, stretch);
    if (first.bottom >= target->bottom) return;
    CRect last = *target;
    last.top = std::max(int(target->top), int(target->bottom - bottom->GetHeight()));
    DrawPiece(dc, last, bottom, stretch);
    if (first.bottom < last.top) FillMiddle(dc, CRect(target->left, first.bottom, target->right, last.top), middle, stretch);
}

namespace {

// The rectangles of a region under construction, in an RGNDATA buffer that grows by 40.
class RegionRuns {
public:
    explicit RegionRuns(DWORD rows) : m_capacity(std::max<DWORD>(rows, 1)) {
        m_buffer.assign(sizeof(RGNDATAHEADER) + m_capacity * sizeof(RECT), 0);
    }
    void Add(int left, int top, int right, int bottom) {
        if (m_count == m_capacity) {
            m_capacity += 40;
            m_buffer.resize(sizeof(RGNDATAHEADER) + m_capacity * sizeof(RECT), 0);
        }
        RECT r{left, top, right, bottom};
        std::memcpy(m_buffer.data() + sizeof(RGNDATAHEADER) + m_count * sizeof(RECT), &r, sizeof r);
        ++m_count;
    }
    HRGN Create() {
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = m_count;
        std::memcpy(m_buffer.data(), &header, sizeof header);
        return ::ExtCreateRegion(nullptr, DWORD(sizeof(RGNDATAHEADER) + m_count * sizeof(RECT)),
                                 reinterpret_cast<const RGNDATA*>(m_buffer.data()));
    }

private:
    std::vector<unsigned char> m_buffer;
    DWORD m_capacity;
    DWORD m_count = 0;
};

uint32_t ReadPixel(const unsigned char* p, int bytes) {
    uint32_t v = 0;
    std::memcpy(&v, p, size_t(bytes));
    return v;
}

}  // namespace

HRGN CSkinBitmap::CreateRegion(COLORREF transparent) {
    BITMAP bm{};
    if (!GetBitmap(&bm)) return nullptr;
    // Room for the header and a full 8-bit colour table from the start.
    std::vector<unsigned char> infoBuffer(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(infoBuffer.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    HDC ic = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    if (!ic) return nullptr;
    std::vector<unsigned char> bits;
    bool read = ::GetDIBits(ic, HBITMAP(*this), 0, UINT(bm.bmHeight), nullptr, info, DIB_RGB_COLORS) != 0;
    const int depth = info->bmiHeader.biBitCount;
    if (read && depth != 8 && depth != 16 && depth != 24 && depth != 32) read = false;
    if (read) {
        bits.assign(size_t(info->bmiHeader.biSizeImage) + 4, 0);
        read = ::GetDIBits(ic, HBITMAP(*this), 0, UINT(std::abs(info->bmiHeader.biHeight)), bits.data(), info,
                           DIB_RGB_COLORS) != 0;
    }
    ::DeleteDC(ic);
    if (!read) return nullptr;

    uint32_t key = ((transparent & 0xFF) << 16) | (transparent & 0xFF00) | ((transparent >> 16) & 0xFF);
    if (depth == 16) {
        const uint32_t red = transparent & 0xFF, green = (transparent >> 8) & 0xFF, blue = (transparent >> 16) & 0xFF;
        key = (blue >> 3) | ((green >> 2) << 5) | ((red >> 3) << 11);
    }
    const size_t stride = (size_t(bm.bmWidthBytes) + 3) & ~size_t(3);
    const int bytes = depth / 8;
    const int width = bm.bmWidth, height = bm.bmHeight;
    if (stride * size_t(height) > bits.size()) return nullptr;
    uint32_t table[256];
    std::memcpy(table, info->bmiColors, sizeof table);

    RegionRuns runs{DWORD(height)};
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bits.data() + size_t(height - 1 - y) * stride;
        int start = -1;
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + size_t(x) * size_t(bytes);
            uint32_t value = depth == 8 ? table[*p] : ReadPixel(p, bytes);
            bool opaque = value != key;
            if (opaque && start < 0) start = x;
            if (!opaque && start >= 0) {
                runs.Add(start, y, x, y + 1);
                start = -1;
            }
        }
        if (start >= 0) runs.Add(start, y, width, y + 1);
    }
    return runs.Create();
}

void CSkinBitmap::MakeRgnByPixels(CRgn* region, COLORREF transparent) {
    CSkinShare::MakeRgnByPixels(region, this, transparent);
}
