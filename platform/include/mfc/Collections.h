// The collection templates: CArray (growable array), CList (doubly linked list walked by
// POSITION) and CMap (a map walked in key order), with the named instances the code uses.
#pragma once

#include <algorithm>
#include <map>
#include <vector>

#include "mfc/String.h"

struct AfxPosition;
typedef AfxPosition* POSITION;
#define BEFORE_START_POSITION ((POSITION)(INT_PTR)-1)

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1) { m_items.resize(newSize > 0 ? newSize : 0); }
    void RemoveAll() { m_items.clear(); }
    void FreeExtra() { m_items.shrink_to_fit(); }

    const TYPE& GetAt(INT_PTR index) const { return m_items.at(index); }
    TYPE& GetAt(INT_PTR index) { return m_items.at(index); }
    void SetAt(INT_PTR index, ARG_TYPE element) { m_items.at(index) = element; }
    TYPE& ElementAt(INT_PTR index) { return m_items.at(index); }
    const TYPE& operator[](INT_PTR index) const { return m_items.at(index); }
    TYPE& operator[](INT_PTR index) { return m_items.at(index); }
    const TYPE* GetData() const { return m_items.data(); }
    TYPE* GetData() { return m_items.data(); }

    // Sets the element, growing the array when the index lies beyond its end.
    void SetAtGrow(INT_PTR index, ARG_TYPE element) {
        if (index >= GetSize()) m_items.resize(index + 1);
        m_items[index] = element;
    }
    INT_PTR Add(ARG_TYPE element) {
        m_items.push_back(element);
        return GetSize() - 1;
    }
    INT_PTR Append(const CArray& other) {
        INT_PTR first = GetSize();
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return first;
    }
    void Copy(const CArray& other) { m_items = other.m_items; }
    void InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count = 1) {
        if (index > GetSize()) m_items.resize(index);
        m_items.insert(m_items.begin() + index, count, element);
    }
    void RemoveAt(INT_PTR index, INT_PTR count = 1) {
        if (index < 0 || index >= GetSize()) return;
        count = std::min(count, GetSize() - index);
        m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
    }

    typename std::vector<TYPE>::iterator begin() { return m_items.begin(); }
    typename std::vector<TYPE>::iterator end() { return m_items.end(); }
    typename std::vector<TYPE>::const_iterator begin() const { return m_items.begin(); }
    typename std::vector<TYPE>::const_iterator end() const { return m_items.end(); }

private:
    std::vector<TYPE> m_items;
};

class CStringArray : public CArray<CString, LPCSTR> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CWordArray : public CArray<WORD, WORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CPtrArray : public CArray<void*, void*> {};

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };

public:
    CList() = default;
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return m_head->data; }
    const TYPE& GetHead() const { return m_head->data; }
    TYPE& GetTail() { return m_tail->data; }
    const TYPE& GetTail() const { return m_tail->data; }

    POSITION AddHead(ARG_TYPE element) { return InsertBefore(Pos(m_head), element); }
    POSITION AddTail(ARG_TYPE element) { return InsertAfter(Pos(m_tail), element); }
    void AddTail(const CList& other) {
        for (Node* n = other.m_head; n; n = n->next) AddTail(n->data);
    }
    TYPE RemoveHead() {
        TYPE value = m_head->data;
        RemoveAt(Pos(m_head));
        return value;
    }
    TYPE RemoveTail() {
        TYPE value = m_tail->data;
        RemoveAt(Pos(m_tail));
        return value;
    }
    void RemoveAll() {
        while (m_head) RemoveAt(Pos(m_head));
    }

    POSITION GetHeadPosition() const { return Pos(m_head); }
    POSITION GetTailPosition() const { return Pos(m_tail); }
    TYPE& GetNext(POSITION& position) {
        Node* n = At(position);
        position = Pos(n->next);
        return n->data;
    }
    const TYPE& GetNext(POSITION& position) const {
        Node* n = At(position);
        position = Pos(n->next);
        return n->data;
    }
    TYPE& GetPrev(POSITION& position) {
        Node* n = At(position);
        position = Pos(n->prev);
        return n->data;
    }
    TYPE& GetAt(POSITION position) { return At(position)->data; }
    const TYPE& GetAt(POSITION position) const { return At(position)->data; }
    void SetAt(POSITION position, ARG_TYPE element) { At(position)->data = element; }

    void RemoveAt(POSITION position) {
        Node* n = At(position);
        (n->prev ? n->prev->next : m_head) = n->next;
        (n->next ? n->next->prev : m_tail) = n->prev;
        delete n;
        --m_count;
    }
    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE element) {
        Node* next = position ? At(position) : m_head;
        Node* n = new Node{next, next ? next->prev : nullptr, TYPE(element)};
        (n->prev ? n->prev->next : m_head) = n;
        (next ? next->prev : m_tail) = n;
        ++m_count;
        return Pos(n);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE element) {
        Node* prev = position ? At(position) : m_tail;
        Node* n = new Node{prev ? prev->next : nullptr, prev, TYPE(element)};
        (n->next ? n->next->prev : m_tail) = n;
        (prev ? prev->next : m_head) = n;
        ++m_count;
        return Pos(n);
    }

    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const {
        Node* n = startAfter ? At(startAfter)->next : m_head;
        for (; n; n = n->next) {
            if (n->data == value) return Pos(n);
        }
        return nullptr;
    }
    POSITION FindIndex(INT_PTR index) const {
        if (index < 0 || index >= m_count) return nullptr;
        Node* n = m_head;
        while (index-- > 0) n = n->next;
        return Pos(n);
    }

private:
    static POSITION Pos(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* At(POSITION p) {
        return reinterpret_cast<Node*>(p);
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};

class CStringList : public CList<CString, LPCSTR> {};
class CPtrList : public CList<void*, void*> {};

// A map walked in key order (GetStartPosition, GetNextAssoc).
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return m_items.empty(); }

    BOOL Lookup(ARG_KEY key, VALUE& value) const {
        auto it = m_items.find(KEY(key));
        if (it == m_items.end()) return FALSE;
        value = it->second;
        return TRUE;
    }
    VALUE& operator[](ARG_KEY key) { return m_items[KEY(key)]; }
    void SetAt(ARG_KEY key, ARG_VALUE value) { m_items[KEY(key)] = value; }
    BOOL RemoveKey(ARG_KEY key) { return m_items.erase(KEY(key)) > 0; }
    void RemoveAll() { m_items.clear(); }

    POSITION GetStartPosition() const { return Pos(m_items.begin()); }
    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const {
        auto* item = reinterpret_cast<const typename Items::value_type*>(position);
        key = item->first;
        value = item->second;
        position = Pos(std::next(m_items.find(item->first)));
    }

private:
    typedef std::map<KEY, VALUE> Items;
    POSITION Pos(typename Items::const_iterator it) const {
        return it == m_items.end() ? nullptr
                                   : reinterpret_cast<POSITION>(const_cast<typename Items::value_type*>(&*it));
    }

    Items m_items;
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {};
class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {};
