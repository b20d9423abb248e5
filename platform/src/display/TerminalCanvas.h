// A grid of terminal cells that the terminal display draws the windows into. Internal.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform::display {

enum CellStyle : unsigned short { kPlain = 0, kReverse = 1, kDim = 2, kBold = 4 };
// A style's colours: ANSI colour 0 to 7 for the text and for the background.
constexpr unsigned short Ink(int ansi) { return static_cast<unsigned short>((ansi + 1) << 4); }
constexpr unsigned short Paper(int ansi) { return static_cast<unsigned short>((ansi + 1) << 8); }

class TerminalCanvas {
public:
    TerminalCanvas(int columns, int rows);
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    // Writes text from (column, row), clipped to [clipLeft, clipRight); a wide character that
    // does not fit whole is left out. Returns the column after the text.
    int Put(int column, int row, const std::string& text, unsigned short style = kPlain, int clipLeft = 0,
            int clipRight = 1 << 30);
    void Fill(int column, int row, int width, int height, const std::string& ch = " ");
    // A frame, its inside cleared unless `fill` is false.
    void Box(int column, int row, int width, int height, const std::string& title, bool fill = true,
             unsigned short style = kPlain);
    // The picture as lines with ANSI styles, each line ended by "\x1b[K\r\n".
    std::string Render() const;
    // The picture as plain text lines (no styles), for comparison.
    std::string PlainText() const;
    // Whose cells the next writes are (0: the window's own, not counted); every two owners that
    // wrote the same cell, one of them a visible character, are an overlap.
    void SetOwner(int owner) { m_owner = owner; }
    const std::vector<std::pair<int, int>>& Overlaps() const { return m_overlaps; }

private:
    struct Cell {
        std::string ch = " ";
        unsigned short style = kPlain;
        bool continuation = false;  // right half of a wide character
        int owner = 0;
    };
    Cell* At(int column, int row);
    void Claim(Cell& cell, bool visible);

    int m_columns;
    int m_rows;
    std::vector<Cell> m_cells;
    int m_owner = 0;
    std::vector<std::pair<int, int>> m_overlaps;
};

}  // namespace platform::display
