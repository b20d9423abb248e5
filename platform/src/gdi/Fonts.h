// Fonts as drawn: a LOGFONT resolved to font files through a fixed face table and fontconfig,
// sized, with its metrics and a cache of grey-scale glyphs. Internal; under the GDI lock.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/wingdi.h"

namespace platform::gdi {

struct Glyph {
    int advance = 0;
    int left = 0, top = 0;  // from the pen position on the baseline to the coverage's top-left
    int width = 0, rows = 0;
    std::vector<uint8_t> coverage;  // width * rows, 0..255
};

struct FontMetrics {
    int height = 0, ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
    int aveCharWidth = 0, maxCharWidth = 0, weight = FW_NORMAL;
    bool italic = false, underline = false, strikeOut = false;
};

class RenderFont {
public:
    virtual ~RenderFont() = default;
    virtual const FontMetrics& Metrics() const = 0;
    virtual const Glyph& GlyphOf(char32_t c) = 0;
    int Advance(char32_t c) { return GlyphOf(c).advance; }
};

// The drawn font of a LOGFONT (cached for the process). A missing font file ends the program
// with a message naming the Debian package that brings it.
RenderFont& FontFor(const LOGFONTA& font);

// The file that serves a face name (the face table), and the fallbacks for characters it lacks.
struct FontFile {
    std::string family;       // the family fontconfig is asked for
    std::string debianPackage;
};
FontFile FontFileFor(const char* faceName);

}  // namespace platform::gdi
