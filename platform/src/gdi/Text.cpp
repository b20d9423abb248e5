// Font objects and text: TextOut, ExtTextOut, DrawText, extents and metrics.
#include <cstring>
#include <string>

#include "gdi/DrawnText.h"
#include "gdi/Fonts.h"
#include "gdi/Raster.h"
#include "platform/winnls.h"

namespace platform::gdi {
namespace {

std::u32string FromUtf8(const char* text, int count) {
    if (!text) return {};
    std::wstring wide = Utf8ToWide(std::string(text, count < 0 ? std::strlen(text) : size_t(count)));
    return std::u32string(wide.begin(), wide.end());
}

std::u32string FromWide(const wchar_t* text, int count) {
    std::u32string out;
    if (!text) return out;
    size_t n = count < 0 ? std::wcslen(text) : size_t(count);
    for (size_t i = 0; i < n; ++i) out.push_back(char32_t(text[i]));
    return out;
}

RenderFont& FontOf(const DC& d) {
    Font* f = Get<Font>(d.s.font);
    if (!f) f = Get<Font>(Stock(SYSTEM_FONT));
    return FontFor(f->logfont);
}

// Width of a line; tabs stop every `tab` pixels from the line's start (0: a tab is a space).
int LineWidth(RenderFont& font, const std::u32string& line, int tab) {
    int x = 0;
    for (char32_t c : line) x = (c == U'\t' && tab > 0) ? (x / tab + 1) * tab : x + font.Advance(c == U'\t' ? U' ' : c);
    return x;
}

// Draws one line with its cell's top-left at (x, y) in surface coordinates, inside `clip`.
void DrawLine(DC& d, RenderFont& font, int x, int y, const std::u32string& line, int tab, const Region& clip,
              int underlineIndex = -1) {
    Bitmap* t = d.Target();
    if (!t) return;
    const FontMetrics& m = font.Metrics();
    uint32_t color = TargetPixel(*t, d.s.text);
    int width = LineWidth(font, line, tab);
    RECT cell{x, y, x + width, y + m.height};
    if (d.s.bkMode == OPAQUE) {
        Region box = clip.Intersect(cell);
        for (const RECT& r : box.Rects()) PaintColor(d, r, d.s.bk, R2_COPYPEN);
    }
    int baseline = y + m.ascent, pen = x;
    auto blend = [&](int px, int py, int alpha) {
        if (alpha <= 0 || !clip.Contains(px, py)) return;
        uint32_t dst = t->Get(px, py);
        if (alpha >= 255) {
            t->Set(px, py, (color & 0xFFFFFF) | (dst & 0xFF000000));
            return;
        }
        uint32_t out = dst & 0xFF000000;
        for (int shift = 0; shift <= 16; shift += 8) {
            int a = int((color >> shift) & 0xFF), b = int((dst >> shift) & 0xFF);
            out |= uint32_t(b + (a - b) * alpha / 255) << shift;
        }
        t->Set(px, py, out);
    };
    for (size_t i = 0; i < line.size(); ++i) {
        char32_t c = line[i];
        int start = pen;
        if (c == U'\t' && tab > 0) {
            pen = ((pen - x) / tab + 1) * tab + x;
        } else {
            const Glyph& g = font.GlyphOf(c == U'\t' ? U' ' : c);
            for (int gy = 0; gy < g.rows; ++gy)
                for (int gx = 0; gx < g.width; ++gx)
                    blend(pen + g.left + gx, baseline - g.top + gy, g.coverage[size_t(gy) * size_t(g.width) + size_t(gx)]);
            pen += g.advance;
        }
        if (m.underline || int(i) == underlineIndex)
            for (int ux = start; ux < pen; ++ux) blend(ux, baseline + 1, 255);
        if (m.strikeOut)
            for (int ux = start; ux < pen; ++ux) blend(ux, baseline - m.ascent / 3, 255);
    }
    t->MarkChanged(clip.Intersect(RECT{x - m.height, y, pen + m.height, y + m.height}).Box());
}

BOOL TextOutCore(HDC dc, int x, int y, UINT options, const RECT* rect, const std::u32string& text) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d) return FALSE;
    if (!d->Target()) return TRUE;
    RenderFont& font = FontOf(*d);
    const FontMetrics& m = font.Metrics();
    Region clip = d->Clip();
    if (rect && (options & ETO_OPAQUE)) {
        RECT r = d->ToSurface(*rect);
        for (const RECT& part : clip.Intersect(r).Rects()) PaintColor(*d, part, d->s.bk, R2_COPYPEN);
    }
    if (rect && (options & ETO_CLIPPED)) clip = clip.Intersect(d->ToSurface(*rect));
    POINT p = d->ToSurface(x, y);
    int width = LineWidth(font, text, 0);
    UINT align = d->s.align;
    if ((align & TA_CENTER) == TA_CENTER) p.x -= width / 2;
    else if (align & TA_RIGHT) p.x -= width;
    if ((align & TA_BASELINE) == TA_BASELINE) p.y -= m.ascent;
    else if (align & TA_BOTTOM) p.y -= m.height;
    NoteDrawnText(*d, text, p);
    DrawLine(*d, font, p.x, p.y, text, 0, clip);
    return TRUE;
}

BOOL ExtentCore(HDC dc, const std::u32string& text, LPSIZE size) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !size) return FALSE;
    RenderFont& font = FontOf(*d);
    *size = SIZE{LineWidth(font, text, 0), font.Metrics().height};
    return TRUE;
}

bool IsWide(char32_t c) { return c >= 0x2E80; }  // CJK text breaks between any two characters

struct Line {
    std::u32string text;
    int underline = -1;  // the character a '&' marks
};

// The text's lines as DrawText lays them out.
std::vector<Line> Layout(RenderFont& font, const std::u32string& text, UINT format, int maxWidth, int tab) {
    std::vector<Line> lines;
    std::vector<std::u32string> paragraphs;
    if (format & DT_SINGLELINE) {
        std::u32string one;
        for (char32_t c : text)
            if (c != U'\r' && c != U'\n') one.push_back(c);
        paragraphs.push_back(one);
    } else {
        std::u32string cur;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') continue;
            if (text[i] == U'\n' || text[i] == U'\r') {
                paragraphs.push_back(cur);
                cur.clear();
            } else {
                cur.push_back(text[i]);
            }
        }
        paragraphs.push_back(cur);
    }
    for (const std::u32string& p : paragraphs) {
        Line line;
        for (size_t i = 0; i < p.size(); ++i) {
            if (!(format & DT_NOPREFIX) && p[i] == U'&' && i + 1 < p.size()) {
                ++i;
                if (p[i] != U'&') line.underline = int(line.text.size());
            }
            line.text.push_back(p[i]);
        }
        if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE) || LineWidth(font, line.text, tab) <= maxWidth) {
            lines.push_back(line);
            continue;
        }
        // Greedy breaking at spaces and around wide characters; a word longer than the line stays whole.
        std::u32string rest = line.text;
        int underline = line.underline;
        while (!rest.empty()) {
            size_t fit = 0, lastBreak = 0;
            for (size_t i = 1; i <= rest.size(); ++i) {
                if (LineWidth(font, rest.substr(0, i), tab) > maxWidth) break;
                fit = i;
                if (i == rest.size() || rest[i] == U' ' || IsWide(rest[i]) || IsWide(rest[i - 1])) lastBreak = i;
            }
            size_t cut = lastBreak ? lastBreak : std::max<size_t>(fit, 1);
            if (!lastBreak) {
                // No break fits: the first word goes whole onto its own line.
                cut = rest.find(U' ');
                if (cut == std::u32string::npos) cut = rest.size();
                cut = std::max<size_t>(cut, 1);
            }
            Line piece;
            piece.text = rest.substr(0, cut);
            if (underline >= 0 && size_t(underline) < cut) piece.underline = underline;
            underline -= int(cut);
            size_t skip = cut;
            while (skip < rest.size() && rest[skip] == U' ') ++skip;
            underline -= int(skip - cut);
            rest = rest.substr(skip);
            while (!piece.text.empty() && piece.text.back() == U' ') piece.text.pop_back();
            lines.push_back(piece);
        }
    }
    return lines;
}

int DrawTextCore(HDC dc, const std::u32string& text, LPRECT rect, UINT format) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !rect) return 0;
    RenderFont& font = FontOf(*d);
    const FontMetrics& m = font.Metrics();
    int tab = (format & DT_EXPANDTABS) ? 8 * std::max(1, m.aveCharWidth) : 0;
    int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
    std::vector<Line> lines = Layout(font, text, format, rect->right - rect->left, tab);
    int total = lineHeight * int(lines.size());
    int widest = 0;
    for (const Line& l : lines) widest = std::max(widest, LineWidth(font, l.text, tab));
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + total;
        return total;
    }
    if (!d->Target()) return total;
    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM) y = rect->bottom - lineHeight;
    }
    Region clip = d->Clip();
    if (!(format & DT_NOCLIP)) clip = clip.Intersect(d->ToSurface(*rect));
    bool first = true;
    for (const Line& l : lines) {
        int w = LineWidth(font, l.text, tab), x = rect->left;
        if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - w) / 2;
        else if (format & DT_RIGHT) x = rect->right - w;
        POINT p = d->ToSurface(x, y);
        if (first) NoteDrawnText(*d, text, p);
        first = false;
        DrawLine(*d, font, p.x, p.y, l.text, tab, clip, (format & DT_HIDEPREFIX) ? -1 : l.underline);
        y += lineHeight;
    }
    return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? y - rect->top : total;
}

template <class TM>
BOOL MetricsCore(HDC dc, TM* tm) {
    Guard g(Lock());
    DC* d = Get<DC>(dc);
    if (!d || !tm) return FALSE;
    const FontMetrics& m = FontOf(*d).Metrics();
    *tm = TM{};
    tm->tmHeight = m.height;
    tm->tmAscent = m.ascent;
    tm->tmDescent = m.descent;
    tm->tmInternalLeading = m.internalLeading;
    tm->tmExternalLeading = m.externalLeading;
    tm->tmAveCharWidth = m.aveCharWidth;
    tm->tmMaxCharWidth = m.maxCharWidth;
    tm->tmWeight = m.weight;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = sizeof(tm->tmLastChar) == 1 ? 0xFF : 0xFFFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = m.italic;
    tm->tmUnderlined = m.underline;
    tm->tmStruckOut = m.strikeOut;
    tm->tmPitchAndFamily = VARIABLE_PITCH | FF_SWISS | 0x06;  // TMPF_VECTOR | TMPF_TRUETYPE
    tm->tmCharSet = DEFAULT_CHARSET;
    return TRUE;
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

HFONT CreateFontIndirectA(const LOGFONTA* font) {
    if (!font) return nullptr;
    Guard g(Lock());
    auto f = std::make_unique<Font>();
    f->logfont = *font;
    f->logfont.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(Insert(std::move(f), OBJ_FONT));
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) return nullptr;
    LOGFONTA a{};
    std::memcpy(&a, font, offsetof(LOGFONTA, lfFaceName));
    std::string face;
    for (int i = 0; i < LF_FACESIZE && font->lfFaceName[i]; ++i) {
        char32_t c = char32_t(font->lfFaceName[i]);
        if (c < 0x80) face += char(c);
        else if (c < 0x800) face += {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        else face += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
    }
    std::strncpy(a.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&a);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR face) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic);
    lf.lfUnderline = BYTE(underline);
    lf.lfStrikeOut = BYTE(strikeOut);
    lf.lfCharSet = BYTE(charSet);
    lf.lfOutPrecision = BYTE(outPrecision);
    lf.lfClipPrecision = BYTE(clipPrecision);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) { return TextOutCore(dc, x, y, 0, nullptr, FromUtf8(text, count)); }
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
    return TextOutCore(dc, x, y, 0, nullptr, FromWide(text, count));
}
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT*) {
    return TextOutCore(dc, x, y, options, rect, FromUtf8(text, text ? int(count) : 0));
}
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT*) {
    return TextOutCore(dc, x, y, options, rect, FromWide(text, text ? int(count) : 0));
}
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    return DrawTextCore(dc, FromUtf8(text, count), rect, format);
}
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    return DrawTextCore(dc, FromWide(text, count), rect, format);
}
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size) {
    return ExtentCore(dc, FromUtf8(text, count), size);
}
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size) {
    return ExtentCore(dc, FromWide(text, count), size);
}
BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) { return MetricsCore(dc, metrics); }
BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) { return MetricsCore(dc, metrics); }
