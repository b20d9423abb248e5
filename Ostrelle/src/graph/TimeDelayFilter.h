// CTimeDelayFilter: the wrapper of the maker's time-delay filter, registered by its CLSID. It has
// no private interface: its set-up is the base's.
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CTimeDelayFilter : public CRootFilter {
public:
    FILTER_WRAPPER_CONSTRUCTOR_DECLARATIONS(CTimeDelayFilter);
    ~CTimeDelayFilter() override;

    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);
    static CFilterClassRecord s_classRecord;
};
