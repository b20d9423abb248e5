// Fonts through FreeType, found by fontconfig.
#include "gdi/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <tuple>

#include "platform/display.h"

namespace platform::gdi {

namespace {

struct FaceRow {
    const char* name;
    const char* family;
    const char* package;
};

// The face table: what the program's face names are drawn with.
constexpr FaceRow kFaces[] = {
    {"宋体", "WenQuanYi Micro Hei", "fonts-wqy-microhei"},
    {"SimSun", "WenQuanYi Micro Hei", "fonts-wqy-microhei"},
    {"新宋体", "WenQuanYi Micro Hei", "fonts-wqy-microhei"},
    {"微软雅黑", "WenQuanYi Micro Hei", "fonts-wqy-microhei"},
};
constexpr FaceRow kDefaultFace = {"", "Liberation Sans", "fonts-liberation2"};
// Where a character the face lacks comes from, in order.
constexpr FaceRow kFallbacks[] = {
    {"", "WenQuanYi Micro Hei", "fonts-wqy-microhei"},
    {"", "DejaVu Sans", "fonts-dejavu-core"},
};

// The program cannot draw: it ends as every exit does, the display stopped first (a terminal
// gets its settings and cursor back), then the reason below the picture. The fonts are wanted
// when the first window is drawn, before the operator can start anything, so this is a refusal
// of the start (exit code 2). Nothing else of the program runs on; threads may be anywhere, so
// no exit handler does.
[[noreturn]] void EndWithoutFonts(const char* reason) {
    StopDisplay();
    std::fprintf(stderr, "pelvatro: %s\n", reason);
    std::fflush(stderr);
    std::_Exit(2);
}

[[noreturn]] void MissingFont(const char* family, const char* package) {
    char reason[256];
    std::snprintf(reason, sizeof reason, "the font \"%s\" is not installed; install the Debian package %s", family,
                  package);
    EndWithoutFonts(reason);
}

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) {
            EndWithoutFonts("FreeType did not start");
        }
        return l;
    }();
    return library;
}

struct FileMatch {
    std::string path;
    int index = 0;
    bool bold = false;  // the file is bold itself
};

// Whether one of the match's family names is `family`: fontconfig lists a font's names in the
// order of the locale's languages, so the Latin name may come after a Chinese one.
bool NamesFamily(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (std::strcmp(reinterpret_cast<const char*>(name), family) == 0) return true;
    return false;
}

// The file of a family (bold asked or not), found by fontconfig; the family must be the one asked.
FileMatch FindFile(const FaceRow& row, bool bold) {
    static std::map<std::pair<std::string, bool>, FileMatch> found;
    auto key = std::make_pair(std::string(row.family), bold);
    auto it = found.find(key);
    if (it != found.end()) return it->second;
    FcInit();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(row.family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FileMatch m;
    FcChar8* file = nullptr;
    if (match && NamesFamily(match, row.family) && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        m.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &m.index);
        int weight = FC_WEIGHT_REGULAR;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        m.bold = weight >= FC_WEIGHT_BOLD;
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    if (m.path.empty()) MissingFont(row.family, row.package);
    found[key] = m;
    return m;
}

struct Face {
    FT_Face face = nullptr;
    bool embolden = false;
    ~Face() {
        if (face) FT_Done_Face(face);
    }
};

std::unique_ptr<Face> OpenFace(const FaceRow& row, bool bold, int em) {
    FileMatch m = FindFile(row, bold);
    auto f = std::make_unique<Face>();
    if (FT_New_Face(Library(), m.path.c_str(), m.index, &f->face) != 0) MissingFont(row.family, row.package);
    FT_Set_Pixel_Sizes(f->face, 0, FT_UInt(std::max(em, 1)));
    f->embolden = bold && !m.bold;  // bold is made where the file has none
    return f;
}

int Scale(int units, int em, int unitsPerEm) { return int(std::ceil(double(units) * em / unitsPerEm - 1e-6)); }

class FreeTypeFont : public RenderFont {
public:
    FreeTypeFont(const LOGFONTA& lf) {
        const FaceRow* row = &kDefaultFace;
        for (const FaceRow& r : kFaces)
            if (std::strcmp(r.name, lf.lfFaceName) == 0) row = &r;
        // Weights above the heaviest are drawn as the heaviest.
        int weight = std::clamp<int>(lf.lfWeight ? lf.lfWeight : FW_NORMAL, 1, 1000);
        bool bold = weight >= FW_SEMIBOLD;
        // The font's character height (a negative height) or its cell height.
        FileMatch file = FindFile(*row, bold);
        int em = 11;
        FT_Face probe = nullptr;
        int winAscent = 0, winDescent = 0, unitsPerEm = 2048, avgWidth = 0;
        if (FT_New_Face(Library(), file.path.c_str(), file.index, &probe) == 0) {
            unitsPerEm = probe->units_per_EM;
            auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(probe, FT_SFNT_OS2));
            if (os2 && os2->usWinAscent) {
                winAscent = os2->usWinAscent;
                winDescent = os2->usWinDescent;
                avgWidth = os2->xAvgCharWidth;
            } else {
                winAscent = probe->ascender;
                winDescent = -probe->descender;
            }
            FT_Done_Face(probe);
        }
        if (lf.lfHeight < 0) em = -lf.lfHeight;
        else if (lf.lfHeight > 0) em = std::max(1, int(std::lround(double(lf.lfHeight) * unitsPerEm / (winAscent + winDescent))));
        m_primary = OpenFace(*row, bold, em);
        for (const FaceRow& f : kFallbacks) m_fallbacks.push_back(OpenFace(f, bold, em));
        m_italic = lf.lfItalic != 0;
        m_metrics.ascent = Scale(winAscent, em, unitsPerEm);
        m_metrics.descent = Scale(winDescent, em, unitsPerEm);
        m_metrics.height = m_metrics.ascent + m_metrics.descent;
        m_metrics.internalLeading = std::max(0, m_metrics.height - em);
        m_metrics.weight = bold ? std::max(weight, int(FW_BOLD)) : weight;
        m_metrics.italic = m_italic;
        m_metrics.underline = lf.lfUnderline != 0;
        m_metrics.strikeOut = lf.lfStrikeOut != 0;
        m_metrics.aveCharWidth = avgWidth ? int(std::lround(double(avgWidth) * em / unitsPerEm)) : Advance(U'x');
        m_metrics.maxCharWidth = int(std::lround(double(m_primary->face->max_advance_width) * em / unitsPerEm));
    }

    const FontMetrics& Metrics() const override { return m_metrics; }

    const Glyph& GlyphOf(char32_t c) override {
        auto it = m_glyphs.find(c);
        if (it != m_glyphs.end()) return it->second;
        Glyph& g = m_glyphs[c];
        Face* face = m_primary.get();
        FT_UInt index = FT_Get_Char_Index(face->face, c);
        for (size_t i = 0; !index && i < m_fallbacks.size(); ++i) {
            FT_UInt fallback = FT_Get_Char_Index(m_fallbacks[i]->face, c);
            if (fallback) {
                face = m_fallbacks[i].get();
                index = fallback;
            }
        }
        if (FT_Load_Glyph(face->face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return g;
        FT_GlyphSlot slot = face->face->glyph;
        if (face->embolden) FT_GlyphSlot_Embolden(slot);
        if (m_italic) FT_GlyphSlot_Oblique(slot);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
        g.advance = int((slot->advance.x + 32) >> 6);
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = int(slot->bitmap.width);
        g.rows = int(slot->bitmap.rows);
        g.coverage.resize(size_t(g.width) * size_t(g.rows));
        for (int y = 0; y < g.rows; ++y)
            std::memcpy(&g.coverage[size_t(y) * size_t(g.width)], slot->bitmap.buffer + ptrdiff_t(y) * slot->bitmap.pitch,
                        size_t(g.width));
        return g;
    }

private:
    std::unique_ptr<Face> m_primary;
    std::vector<std::unique_ptr<Face>> m_fallbacks;
    bool m_italic = false;
    FontMetrics m_metrics;
    std::map<char32_t, Glyph> m_glyphs;
};

}  // namespace

FontFile FontFileFor(const char* faceName) {
    for (const FaceRow& r : kFaces)
        if (faceName && std::strcmp(r.name, faceName) == 0) return FontFile{r.family, r.package};
    return FontFile{kDefaultFace.family, kDefaultFace.package};
}

RenderFont& FontFor(const LOGFONTA& lf) {
    using Key = std::tuple<std::string, LONG, LONG, BYTE, BYTE, BYTE>;
    static auto* fonts = new std::map<Key, std::unique_ptr<RenderFont>>;
    Key key{std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)), lf.lfHeight,
            std::min<LONG>(lf.lfWeight, 1000), lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut};
    auto& slot = (*fonts)[key];
    if (!slot) slot = std::make_unique<FreeTypeFont>(lf);
    return *slot;
}

}  // namespace platform::gdi
