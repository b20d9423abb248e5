// The platform's own COM services for the stand-in's other parts and for tests: property bags,
// the monikers the device enumerator hands out, moniker enumerators, memory streams, and what
// tests read back (Running Object Table entries, property frames shown, apartment state).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "objbase.h"

namespace platform {

// An empty, writable property bag (Write stores a copy; Read answers it).
PLATFORM_API HRESULT CreatePropertyBag(IPropertyBag** bag);

// Binds a device moniker's object: creates it as `riid` into *ppv.
typedef std::function<HRESULT(REFIID riid, void** ppv)> MonikerBinder;

// A device moniker: GetDisplayName answers `displayName`, BindToStorage (IID_IPropertyBag)
// answers `properties` (AddRef'd), BindToObject calls `bind`. Failure injection:
// "IMoniker::BindToObject", "IMoniker::BindToStorage".
PLATFORM_API HRESULT CreateDeviceMoniker(const std::wstring& displayName, IPropertyBag* properties,
                                         MonikerBinder bind, IMoniker** moniker);

// An enumerator over `monikers` (each AddRef'd while the enumerator lives).
PLATFORM_API HRESULT CreateEnumMoniker(const std::vector<IMoniker*>& monikers, IEnumMoniker** enumerator);

// A growable stream in memory, positioned at 0.
PLATFORM_API HRESULT CreateMemoryStream(IStream** stream);

// One registration of the Running Object Table.
struct RunningObjectEntry {
    DWORD cookie;
    DWORD flags;
    std::wstring displayName;  // the moniker's display name
    IUnknown* object;          // held by the table until Revoke (not AddRef'd for the caller)
};
PLATFORM_API std::vector<RunningObjectEntry> RunningObjectEntries();

// One OleCreatePropertyFrame call.
struct PropertyFrameCall {
    HWND owner;
    std::wstring caption;
    std::vector<IUnknown*> objects;  // as passed (not AddRef'd; compare only)
    std::vector<CLSID> pages;
};
PLATFORM_API std::vector<PropertyFrameCall> PropertyFrameCalls();
PLATFORM_API void ClearPropertyFrameCalls();

// The calling thread's apartment: the number of successful CoInitialize(Ex) calls not yet
// undone (0 outside any apartment).
PLATFORM_API int ApartmentDepth();

}  // namespace platform
