// CEmpAudioFilter: the wrapper of the EMP USB boxes' audio capture device ("USB EMP Audio
// Device"). Its set-up creates the device's private control object and enables the device
// through it (the wrapper is invalid without it); its inputs are switched through their pins'
// IAMAudioInputMixer.
#pragma once

#include "drvpriv.h"
#include "graph/FilterClassRecord.h"
#include "graph/RootFilter.h"

class CEmpAudioFilter : public CRootFilter {
public:
    static constexpr const char kDeviceName[] = "USB EMP Audio Device";

    CEmpAudioFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CEmpAudioFilter(CRootGraph* owner, REFCLSID clsid);
    ~CEmpAudioFilter() override;

    // The control object, then EnableDevice(TRUE); FALSE without a device filter.
    BOOL Init() override;
    // The control object's enable call; FALSE without the object or when it fails.
    BOOL EnableDevice(BOOL enable);
    // The input pin of this name; FALSE for none or a pin of the other direction.
    BOOL EnableInput(const char* pinName, BOOL enable);
    // The index-th input pin (counted from 0 over the input pins only).
    BOOL EnableInputByIndex(int index, BOOL enable);

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;

private:
    BOOL EnableMixer(CRootPin* pin, BOOL enable);

    CComPtr<IEmpAudioControl> m_pControl;
};
