// A picture's rows as a stretch to another size shows them (nearest neighbour, as COLORONCOLOR)
// and read as BGRX pixels: the one reader every picture conversion and the video window use.
// The column table is made once per size. Packed 4:2:2 is converted by source pairs where the
// widths are equal or halved (with the widest vectors the processor has, else SSE2), and
// gathered through the table at other sizes, with the same BT.601 integer results either way;
// RGB has a plain loop per format.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"
#include "Yuv422Vectors.h"

namespace platform::dshow {

class RowScaler {
public:
    // Ready to read `in` scaled to width x height (both positive).
    void Prepare(const Picture& in, LONG width, LONG height);
    // Pixels [first, first + n) of row y of the scaled picture (rows from the top), from the
    // picture's bytes at `src`, as BGRX (4 bytes each, the fourth 0) at `out`.
    void Read(const BYTE* src, LONG y, LONG first, LONG n, BYTE* out) const;

    // Each output column's source column; for packed 4:2:2 gathered through the table, also the
    // byte offset of its source pair and whether it is the pair's second pixel (all bits set).
    struct Columns {
        std::vector<LONG> source;
        std::vector<int32_t> pair, second;
        int step = 0;  // source columns per output column where whole (1 or 2), else 0
        PairsReader wide = nullptr;  // at those steps, the widest vectors' loop for packed 4:2:2
        Yuv422Gather gather;         // at other steps, packed 4:2:2 by byte permutes where it can
    };
    using Reader = void (*)(const BYTE* row, const Columns& columns, LONG first, LONG n, BYTE* out);

private:
    Picture m_in;
    LONG m_width = 0, m_height = 0;
    Columns m_columns;
    Reader m_read = nullptr;
    VectorSet m_vectors = VectorSet::Sse2;
};

}  // namespace platform::dshow
