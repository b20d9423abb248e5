// CMpegEncoderFilter: the wrapper of a card's hardware MPEG encoder device, registered under the
// encoder device category by the encoder's FriendlyName. Its settings go to the encoder's property
// set through IKsPropertySet; the set is the wrapper's parameter (kPropertySet unless a derived
// wrapper names its device's own).
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CMpegEncoderFilter : public CFilterWrapper<CMpegEncoderFilter> {
public:
    // The encoder's property set {D2185A40-0398-11D3-A53E-00A0C9EF506A}.
    static constexpr GUID kPropertySet = {0xD2185A40, 0x0398, 0x11D3, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};

    CMpegEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag,
                       REFGUID propertySet = kPropertySet);
    CMpegEncoderFilter(CRootGraph* owner, REFCLSID clsid, REFGUID propertySet = kPropertySet);
    CMpegEncoderFilter(CRootGraph* owner, IBaseFilter* filter, REFGUID propertySet = kPropertySet);
    ~CMpegEncoderFilter() override;

    // Opens the filter's IKsPropertySet; TRUE when it is held.
    BOOL Init() override;

    // IKsPropertySet::Set / Get of property `id` of the wrapper's set, the same buffer as instance
    // and property data.
    // FALSE (nothing sent) without the interface; TRUE when the call succeeded.
    BOOL SetProperty(DWORD id, const void* data, DWORD size);
    BOOL GetProperty(DWORD id, void* data, DWORD size);

    static CFilterClassRecord s_classRecord;

    const GUID& GetPropertySet() const { return m_propertySet; }

private:
    const GUID m_propertySet;
    CComPtr<IKsPropertySet> m_pPropertySet;
};
