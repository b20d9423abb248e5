// For installed filters that carry a FileSinkMixin: InstalledFilterOf answers the mix-in as
// IFileSinkFilter2 only; these filters answer IFileSinkFilter too, from whichever of their
// interfaces it is asked.
#pragma once

#include "platform/dshow/FileSinkMixin.h"

namespace hwsim {

// True (with *ppv and *hr set) when riid is IFileSinkFilter.
inline bool AnswerFileSink(platform::dshow::FileSinkMixin* sink, REFIID riid, void** ppv, HRESULT* hr) {
    if (ppv == nullptr || !IsEqualGUID(riid, IID_IFileSinkFilter)) return false;
    IFileSinkFilter* answer = static_cast<IFileSinkFilter2*>(sink);
    answer->AddRef();
    *ppv = answer;
    *hr = S_OK;
    return true;
}

}  // namespace hwsim
