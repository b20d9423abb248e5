// Terminal cells: text with its widths, boxes, and the ANSI rendering.
#include "display/TerminalCanvas.h"

#include <algorithm>
#include <string>

#include "display/TextWidth.h"
#include "platform/winnls.h"

namespace platform::display {

TerminalCanvas::TerminalCanvas(int columns, int rows)
    : m_columns(std::max(columns, 1)), m_rows(std::max(rows, 1)), m_cells(size_t(m_columns) * m_rows) {}

TerminalCanvas::Cell* TerminalCanvas::At(int column, int row) {
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows) return nullptr;
    return &m_cells[size_t(row) * m_columns + column];
}

void TerminalCanvas::Claim(Cell& cell, bool visible) {
    if (m_owner && cell.owner && cell.owner != m_owner && (visible || (cell.ch != " " && !cell.ch.empty()))) {
        std::pair<int, int> pair{std::min(cell.owner, m_owner), std::max(cell.owner, m_owner)};
        if (std::find(m_overlaps.begin(), m_overlaps.end(), pair) == m_overlaps.end()) m_overlaps.push_back(pair);
    }
}

int TerminalCanvas::Put(int column, int row, const std::string& text, unsigned short style, int clipLeft, int clipRight) {
    clipRight = std::min(clipRight, m_columns);
    for (wchar_t ch : platform::Utf8ToWide(text)) {
        int width = CharWidth(char32_t(ch));
        if (width == 0) continue;
        if (column >= clipLeft && column + width <= clipRight) {
            if (Cell* cell = At(column, row)) {
                bool visible = ch != L' ';
                Claim(*cell, visible);
                if (width == 2)
                    if (Cell* right = At(column + 1, row)) Claim(*right, visible);
                // Overwriting half of a wide character clears its other half.
                if (cell->continuation) {
                    if (Cell* left = At(column - 1, row)) *left = Cell{};
                }
                if (Cell* next = At(column + 1, row); next && next->continuation && width == 1) *next = Cell{};
                *cell = Cell{platform::WideToUtf8(std::wstring(1, ch)), style, false, m_owner};
                if (width == 2) {
                    if (Cell* right = At(column + 1, row)) {
                        if (Cell* after = At(column + 2, row); after && after->continuation) *after = Cell{};
                        *right = Cell{"", style, true, m_owner};
                    }
                }
            }
        }
        column += width;
    }
    return column;
}

void TerminalCanvas::Fill(int column, int row, int width, int height, const std::string& ch) {
    for (int r = row; r < row + height; ++r)
        for (int c = column; c < column + width; ++c) Put(c, r, ch);
}

void TerminalCanvas::Box(int column, int row, int width, int height, const std::string& title, bool fill,
                         unsigned short style) {
    if (width < 2 || height < 2) return;
    if (fill) Fill(column, row, width, height, " ");
    for (int c = column + 1; c < column + width - 1; ++c) {
        Put(c, row, "─", style);
        Put(c, row + height - 1, "─", style);
    }
    for (int r = row + 1; r < row + height - 1; ++r) {
        Put(column, r, "│", style);
        Put(column + width - 1, r, "│", style);
    }
    Put(column, row, "┌", style);
    Put(column + width - 1, row, "┐", style);
    Put(column, row + height - 1, "└", style);
    Put(column + width - 1, row + height - 1, "┘", style);
    if (!title.empty()) Put(column + 2, row, " " + title + " ", kBold, column + 1, column + width - 1);
}

std::string TerminalCanvas::Render() const {
    std::string out;
    for (int r = 0; r < m_rows; ++r) {
        unsigned short style = kPlain;
        for (int c = 0; c < m_columns; ++c) {
            const Cell& cell = m_cells[size_t(r) * m_columns + c];
            if (cell.continuation) continue;
            if (cell.style != style) {
                out += "\x1b[0m";
                if (cell.style & kReverse) out += "\x1b[7m";
                if (cell.style & kDim) out += "\x1b[2m";
                if (cell.style & kBold) out += "\x1b[1m";
                if (int ink = (cell.style >> 4) & 0xF) out += "\x1b[3" + std::to_string(ink - 1) + "m";
                if (int paper = (cell.style >> 8) & 0xF) out += "\x1b[4" + std::to_string(paper - 1) + "m";
                style = cell.style;
            }
            out += cell.ch;
        }
        if (style != kPlain) out += "\x1b[0m";
        out += "\x1b[K\r\n";
    }
    return out;
}

std::string TerminalCanvas::PlainText() const {
    std::string out;
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            const Cell& cell = m_cells[size_t(r) * m_columns + c];
            if (!cell.continuation) out += cell.ch;
        }
        out += '\n';
    }
    return out;
}

}  // namespace platform::display
