// The part every moniker of the platform shares: a display name, compared and hashed.
// Internal to the platform library.
#pragma once

#include <string>

#include "objbase.h"
#include "platform/comobject.h"

namespace platform::com {

class NamedMoniker : public ComObject<IMoniker> {
public:
    explicit NamedMoniker(std::wstring displayName) : m_displayName(std::move(displayName)) {}

    STDMETHODIMP IsEqual(IMoniker* pmkOtherMoniker) override;
    STDMETHODIMP Hash(DWORD* pdwHash) override;
    STDMETHODIMP GetDisplayName(IBindCtx* pbc, IMoniker* pmkToLeft, LPOLESTR* ppszDisplayName) override;

    const std::wstring& DisplayName() const { return m_displayName; }

private:
    const std::wstring m_displayName;
};

// The display name of any moniker (empty when it has none).
std::wstring DisplayNameOf(IMoniker* moniker);

}  // namespace platform::com
