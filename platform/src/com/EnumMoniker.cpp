// An enumerator over a fixed list of monikers.
#include <vector>

#include "objbase.h"
#include "platform/comobject.h"
#include "platform/comptr.h"
#include "platform/comservices.h"

namespace platform {

namespace {

class MonikerList : public ComObject<IEnumMoniker> {
public:
    MonikerList(std::vector<CComPtr<IMoniker>> monikers, size_t position)
        : m_monikers(std::move(monikers)), m_position(position) {}

    STDMETHODIMP Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) override {
        if (pceltFetched) *pceltFetched = 0;
        if (!rgelt || (celt > 1 && !pceltFetched)) return E_POINTER;
        ULONG fetched = 0;
        while (fetched < celt && m_position < m_monikers.size()) m_monikers[m_position++].CopyTo(&rgelt[fetched++]);
        if (pceltFetched) *pceltFetched = fetched;
        return fetched == celt ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG celt) override {
        size_t left = m_monikers.size() - m_position;
        m_position += std::min<size_t>(celt, left);
        return celt <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMoniker** ppenum) override {
        if (!ppenum) return E_POINTER;
        return CreateComObject<MonikerList>(IID_IEnumMoniker, reinterpret_cast<void**>(ppenum), m_monikers,
                                            m_position);
    }

private:
    std::vector<CComPtr<IMoniker>> m_monikers;
    size_t m_position;
};

}  // namespace

HRESULT CreateEnumMoniker(const std::vector<IMoniker*>& monikers, IEnumMoniker** enumerator) {
    if (!enumerator) return E_POINTER;
    std::vector<CComPtr<IMoniker>> held(monikers.begin(), monikers.end());
    return CreateComObject<MonikerList>(IID_IEnumMoniker, reinterpret_cast<void**>(enumerator), std::move(held),
                                        size_t(0));
}

}  // namespace platform
