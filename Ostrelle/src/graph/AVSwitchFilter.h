// CAVSwitchFilter: the wrapper of the maker's audio/video switch, registered by its CLSID; turns
// the switch on and off through IAVSwitch.
#pragma once

#include <makers/vorlane.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CAVSwitchFilter : public CInterfaceWrapper<CAVSwitchFilter, IAVSwitch, IID_IAVSwitch, TakenAnswer::ExactlyOk> {
public:
    // Init opens IAVSwitch; TRUE only for S_OK.
    using CInterfaceWrapper::CInterfaceWrapper;

    BOOL SetSwitch(BOOL on);
    // *pOn is the switch as read, "on" when the call failed (which answers FALSE).
    BOOL GetSwitch(BOOL* pOn);

    static CFilterClassRecord s_classRecord;
};
