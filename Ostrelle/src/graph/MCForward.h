// The forwarding of the MainConcept wrappers: a slot of an interface the wrapper holds, called
// with the caller's arguments unchanged. FALSE without a call when the interface is not held;
// otherwise TRUE exactly when the filter's answer is a success code.
#pragma once

#include <windows.h>

template <class I, class... Params, class... Args>
BOOL MCForward(I* iface, HRESULT (STDMETHODCALLTYPE I::*slot)(Params...), Args... args) {
    if (iface == nullptr) return FALSE;
    return SUCCEEDED((iface->*slot)(static_cast<Params>(args)...)) ? TRUE : FALSE;
}

// Opens one interface of the filter into `member`; TRUE when the query succeeded.
template <class Ptr>
BOOL MCQuery(IBaseFilter* filter, REFIID iid, Ptr& member) {
    return SUCCEEDED(filter->QueryInterface(iid, reinterpret_cast<void**>(&member))) ? TRUE : FALSE;
}

// Opens each (IID, member) pair of the filter in the order given, every one even after a failure;
// TRUE when every query succeeded.
inline BOOL MCQueryEach(IBaseFilter*) { return TRUE; }
template <class Ptr, class... Rest>
BOOL MCQueryEach(IBaseFilter* filter, REFIID iid, Ptr& member, Rest&... rest) {
    const BOOL first = MCQuery(filter, iid, member);
    const BOOL others = MCQueryEach(filter, rest...);
    return first && others ? TRUE : FALSE;
}
