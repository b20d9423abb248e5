// One filter another maker's package installs on the simulated PC, as a row of kInstalledFilters:
// its package, CLSID and name, what makes it, and, for a filter that is its pins and its private
// interfaces only (PinnedFilter), its pins.
#pragma once

#include <memory>
#include <span>

#include "hwsim/installed/FilterBehaviour.h"
#include "platform/comobject.h"
#include "strmif.h"

namespace hwsim {

// A pin as a row names it: one media type of this major type and subtype.
struct InstalledPin {
    PIN_DIRECTION direction;
    const wchar_t* name;
    const GUID* major;
    const GUID* subtype = &GUID_NULL;
};

struct InstalledFilterRow;

// Makes a filter of the row's class, sharing `behaviour`; answered as `riid`.
typedef HRESULT (*InstalledFilterMaker)(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour,
                                        REFIID riid, void** ppv);

struct InstalledFilterRow {
    const char* package;
    const CLSID* clsid;
    const wchar_t* name;
    InstalledFilterMaker make;
    // The pins a PinnedFilter has from the start, and those it adds once one of its pins is
    // connected; a filter of its own class ignores them.
    std::span<const InstalledPin> pins = {};
    std::span<const InstalledPin> addedOnConnection = {};
};

extern const InstalledFilterRow kInstalledFilters[];
extern const size_t kInstalledFilterCount;

}  // namespace hwsim
