// Enumerators over a snapshot: pins, filters and monikers (interface pointers, AddRef'd as
// they are handed out) and media types (copies).
#pragma once

#include <utility>
#include <vector>

#include "platform/comobject.h"
#include "platform/comptr.h"
#include "platform/dshow/MediaType.h"

namespace platform::dshow {

// What every snapshot enumerator shares: the snapshot, the position, Skip, Reset and Clone.
// Derived is the enumerator class (made again by Clone from the snapshot and position).
template <class IEnum, class Element, class Derived>
class SnapshotEnumerator : public ComObject<IEnum> {
public:
    SnapshotEnumerator(std::vector<Element> items, size_t position)
        : m_items(std::move(items)), m_position(position) {}

    STDMETHODIMP Skip(ULONG count) override {
        if (m_items.size() - m_position < count) {
            m_position = m_items.size();
            return S_FALSE;
        }
        m_position += count;
        return S_OK;
    }
    STDMETHODIMP Reset() override {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnum** out) override {
        if (!out) return E_POINTER;
        return CreateComObject<Derived>(InterfaceTraits<IEnum>::Iid(), reinterpret_cast<void**>(out), m_items,
                                        m_position);
    }

protected:
    std::vector<Element> m_items;
    size_t m_position;
};

template <class IEnum, class Item>
class InterfaceEnumerator : public SnapshotEnumerator<IEnum, CComPtr<Item>, InterfaceEnumerator<IEnum, Item>> {
    using Base = SnapshotEnumerator<IEnum, CComPtr<Item>, InterfaceEnumerator<IEnum, Item>>;
    using Base::m_items;
    using Base::m_position;

public:
    explicit InterfaceEnumerator(std::vector<CComPtr<Item>> items, size_t position = 0)
        : Base(std::move(items), position) {}

    STDMETHODIMP Next(ULONG count, Item** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (count != 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        for (; n < count && m_position < m_items.size(); ++n, ++m_position) {
            out[n] = m_items[m_position];
            out[n]->AddRef();
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
};

class MediaTypeEnumerator : public SnapshotEnumerator<IEnumMediaTypes, MediaType, MediaTypeEnumerator> {
public:
    explicit MediaTypeEnumerator(std::vector<MediaType> types, size_t position = 0)
        : SnapshotEnumerator(std::move(types), position) {}

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (count != 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        for (; n < count && m_position < m_items.size(); ++n, ++m_position) {
            out[n] = m_items[m_position].CreateCopy();
            if (!out[n]) {
                for (ULONG i = 0; i < n; ++i) DeleteMediaType(out[i]);
                if (fetched) *fetched = 0;
                return E_OUTOFMEMORY;
            }
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
};

}  // namespace platform::dshow
