// zelk::MPairDeque: a table of key-value pairs in insertion order, searched from the front.
#pragma once

#include <cstddef>
#include <deque>
#include <utility>

namespace zelk {

template <class K, class V>
class MPairDeque {
public:
    typedef std::pair<K, V> Pair;

    // Appends the pair at the back; keys need not be unique.
    void Add(K key, V value) { m_deque.emplace_back(key, value); }

    // The value of the first pair with `key`; false (value untouched) when there is none.
    bool Find(K key, V& value) const {
        for (const Pair& pair : m_deque) {
            if (pair.first == key) {
                value = pair.second;
                return true;
            }
        }
        return false;
    }

    std::size_t size() const { return m_deque.size(); }
    bool empty() const { return m_deque.empty(); }
    const Pair& operator[](std::size_t index) const { return m_deque[index]; }

private:
    std::deque<Pair> m_deque;
};

}  // namespace zelk
