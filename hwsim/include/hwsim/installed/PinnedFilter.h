// An installed filter that is its row's pins and its private interfaces, and nothing else: the
// pins of its row at the start, those the row adds on its first connection once one of its pins
// is connected. With a FileSinkMixin among its mix-ins it also answers IFileSinkFilter, from
// whichever of its interfaces it is asked.
#pragma once

#include <memory>
#include <span>
#include <type_traits>
#include <utility>

#include "hwsim/installed/FileSinkQuery.h"
#include "hwsim/installed/InstalledFilter.h"
#include "hwsim/installed/InstalledFilterRow.h"

namespace hwsim {

inline platform::dshow::PinDescription Describe(const InstalledPin& pin) {
    return platform::dshow::PinDescription{pin.direction, pin.name, L"", GUID_NULL,
                                           {platform::dshow::MediaType(*pin.major, *pin.subtype)}};
}

template <class... Privates>
class PinnedFilter : public InstalledFilterOf<Privates...> {
public:
    PinnedFilter(const InstalledFilterRow& row, std::shared_ptr<FilterBehaviour> behaviour)
        : InstalledFilterOf<Privates...>(*row.clsid, std::move(behaviour)), m_added(row.addedOnConnection) {
        for (const InstalledPin& pin : row.pins) this->AddPin(Describe(pin));
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if constexpr ((std::is_same_v<Privates, platform::dshow::FileSinkMixin> || ...)) {
            HRESULT hr = S_OK;
            if (AnswerFileSink(this, riid, ppv, &hr)) return hr;
        }
        return InstalledFilterOf<Privates...>::QueryInterface(riid, ppv);
    }

    static HRESULT Make(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                        void** ppv) {
        return platform::CreateComObject<PinnedFilter>(riid, ppv, row, behaviour);
    }

protected:
    void OnPinConnected(platform::dshow::PinBase*) override {
        for (const InstalledPin& pin : m_added) {
            if (!this->FindPinByName(pin.name)) this->AddPin(Describe(pin));
        }
    }

private:
    std::span<const InstalledPin> m_added;
};

}  // namespace hwsim
