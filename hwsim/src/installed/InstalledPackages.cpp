// The other makers' packages installed on the simulated PC, and the filters each brings.
#include "hwsim/installed/InstalledPackages.h"

#include <stdexcept>

namespace hwsim {

const char* const kKnownPackages[] = {"vorlane", "mainconcept", "ligos", "intervideo"};
const size_t kKnownPackageCount = sizeof(kKnownPackages) / sizeof(kKnownPackages[0]);

bool IsKnownPackage(const std::string& package) {
    for (size_t i = 0; i < kKnownPackageCount; ++i) {
        if (package == kKnownPackages[i]) return true;
    }
    return false;
}

InstalledPackages::InstalledPackages(const std::vector<std::string>& packages) {
    for (size_t i = 0; i < kInstalledFilterCount; ++i) {
        const InstalledFilterRow& row = kInstalledFilters[i];
        bool wanted = false;
        for (const std::string& package : packages) wanted = wanted || package == row.package;
        if (!wanted) continue;
        auto behaviour = std::make_shared<FilterBehaviour>();
        const DWORD cookie = platform::RegisterComClass(
            *row.clsid, [behaviour, &row](IUnknown* outer, REFIID riid, void** ppv) -> HRESULT {
                if (outer) {
                    if (ppv) *ppv = nullptr;
                    return CLASS_E_NOAGGREGATION;
                }
                return row.make(row, behaviour, riid, ppv);
            });
        m_installed.push_back(Installed{&row, std::move(behaviour), cookie});
    }
}

InstalledPackages::~InstalledPackages() {
    for (const Installed& installed : m_installed) {
        if (installed.cookie) platform::UnregisterComClass(installed.cookie);
    }
}

const InstalledPackages::Installed* InstalledPackages::Find(REFCLSID clsid) const {
    for (const Installed& installed : m_installed) {
        if (IsEqualGUID(*installed.row->clsid, clsid)) return &installed;
    }
    return nullptr;
}

bool InstalledPackages::IsInstalled(REFCLSID clsid) const {
    const Installed* installed = Find(clsid);
    return installed && installed->cookie != 0;
}

bool InstalledPackages::Uninstall(REFCLSID clsid) {
    auto* installed = const_cast<Installed*>(Find(clsid));
    if (!installed || installed->cookie == 0) return false;
    platform::UnregisterComClass(installed->cookie);
    installed->cookie = 0;
    return true;
}

FilterBehaviour& InstalledPackages::Behaviour(REFCLSID clsid) const {
    const Installed* installed = Find(clsid);
    if (!installed) throw std::out_of_range("no installed filter of that class");
    return *installed->behaviour;
}

}  // namespace hwsim
