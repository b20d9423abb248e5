// The system device enumerator.
#pragma once

#include "platform/comobject.h"
#include "strmif.h"

namespace platform::dshow {

class SystemDeviceEnum : public ComObject<ICreateDevEnum> {
public:
    // S_FALSE and no enumerator for a category without plugged devices.
    STDMETHODIMP CreateClassEnumerator(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker,
                                       DWORD dwFlags) override;
};

}  // namespace platform::dshow
