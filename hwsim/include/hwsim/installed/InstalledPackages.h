// The other makers' packages installed on the simulated PC, and the filters each brings. A
// filter's CLSID enters the class table while its package is installed, and every filter made
// of one class shares that class's FilterBehaviour with the tests.
//
// The filters are rows of one table (kInstalledFilters, InstalledFilterRow.h); a new filter is a
// row with its package, CLSID, name and maker: PinnedFilter<its private interfaces> with its
// pins for a filter that is no more, or the class of a filter that behaves.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hwsim/installed/FilterBehaviour.h"
#include "hwsim/installed/InstalledFilterRow.h"
#include "platform/comobject.h"

namespace hwsim {

// The packages a bench may name, in the order they install.
extern const char* const kKnownPackages[];
extern const size_t kKnownPackageCount;
bool IsKnownPackage(const std::string& package);

class InstalledPackages {
public:
    // Installs the filters of `packages` (known names).
    explicit InstalledPackages(const std::vector<std::string>& packages);
    ~InstalledPackages();
    InstalledPackages(const InstalledPackages&) = delete;
    InstalledPackages& operator=(const InstalledPackages&) = delete;

    bool IsInstalled(REFCLSID clsid) const;
    // Takes the class out of the class table (the filter is uninstalled); false when it is not in.
    bool Uninstall(REFCLSID clsid);
    // The behaviour of an installed class; throws std::out_of_range for another one.
    FilterBehaviour& Behaviour(REFCLSID clsid) const;

private:
    struct Installed {
        const InstalledFilterRow* row;
        std::shared_ptr<FilterBehaviour> behaviour;
        DWORD cookie;
    };
    const Installed* Find(REFCLSID clsid) const;
    std::vector<Installed> m_installed;
};

}  // namespace hwsim
