// zelk::MClassStringArray: a table from an enumeration value to its display text, in insertion
// order, searched from the front. The table keeps its own copy of every text.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <utility>

namespace zelk {

template <class T>
class MClassStringArray {
public:
    typedef std::pair<T, std::string> Row;

    // Appends (value, copy of text) at the back; a null text is kept as an empty one.
    void Add(T value, const char* text) { m_deque.emplace_back(value, text ? text : ""); }
    void Add(const std::pair<T, const char*>& row) { Add(row.first, row.second); }

    // Copies the text of the first row with `value` into `text` (any string type assignable
    // from a C string); false (text untouched) when there is none.
    template <class S>
    bool Find(T value, S& text) const {
        for (const Row& row : m_deque) {
            if (row.first == value) {
                text = row.second.c_str();
                return true;
            }
        }
        return false;
    }

    std::size_t size() const { return m_deque.size(); }
    bool empty() const { return m_deque.empty(); }
    const Row& operator[](std::size_t index) const { return m_deque[index]; }

private:
    std::deque<Row> m_deque;
};

}  // namespace zelk
