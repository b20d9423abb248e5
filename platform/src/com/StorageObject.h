// IStorage over an open storage of a compound file. Internal to the platform library.
#pragma once

#include <memory>
#include <string>

#include "StorageState.h"
#include "objbase.h"
#include "platform/comobject.h"

namespace platform::com {

class StorageObject : public ComObject<IStorage> {
public:
    explicit StorageObject(std::shared_ptr<StorageState> state) : m_state(std::move(state)) {}

    STDMETHODIMP CreateStream(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                              IStream** ppstm) override;
    STDMETHODIMP OpenStream(const OLECHAR* pwcsName, void* reserved1, DWORD grfMode, DWORD reserved2,
                            IStream** ppstm) override;
    STDMETHODIMP CreateStorage(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                               IStorage** ppstg) override;
    STDMETHODIMP OpenStorage(const OLECHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode, SNB snbExclude,
                             DWORD reserved, IStorage** ppstg) override;
    STDMETHODIMP Commit(DWORD grfCommitFlags) override;
    STDMETHODIMP Revert() override;
    STDMETHODIMP DestroyElement(const OLECHAR* pwcsName) override;
    STDMETHODIMP SetClass(REFCLSID clsid) override;
    STDMETHODIMP Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;

protected:
    ~StorageObject() override;

private:
    // Checks shared by the element calls: a usable name, the storage still live, and (for
    // changes) opened for writing. Lock held.
    HRESULT CheckUsable(bool changes) const;
    // A new element of the type under the name, in place of an unopened one when the mode has
    // STGM_CREATE; the change is recorded. Lock held.
    HRESULT AddElement(const std::u16string& name, DWORD mode, cfb::EntryType type,
                       std::shared_ptr<cfb::Node>* added);
    // The unopened element of the type under the name, for the mode. Lock held.
    HRESULT FindElement(const std::u16string& name, DWORD mode, cfb::EntryType type,
                        std::shared_ptr<cfb::Node>* found) const;
    HRESULT MakeStream(const std::shared_ptr<cfb::Node>& node, DWORD mode, IStream** ppstm);
    HRESULT MakeStorage(const std::shared_ptr<cfb::Node>& node, DWORD mode, IStorage** ppstg);

    std::shared_ptr<StorageState> m_state;
};

// Checks an STGM mode for the flags this platform knows and a valid access and share value.
HRESULT CheckModeFlags(DWORD mode);

}  // namespace platform::com
