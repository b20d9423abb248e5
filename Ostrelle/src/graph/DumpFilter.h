// CDumpFilter: the wrapper of the dump filter that writes a recording to a file, registered by the
// dump filter's CLSID.
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CDumpFilter : public CRootFilter {
public:
    FILTER_WRAPPER_CONSTRUCTOR_DECLARATIONS(CDumpFilter);
    ~CDumpFilter() override;

    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;

    // Names the file to write: the path as wide text (NULL passes no name) to the filter's
    // IFileSinkFilter::SetFileName. FALSE without that interface, for a path of 260 characters
    // or more (no call) or when the call fails.
    BOOL SetFileName(const char* path);

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);
    static CFilterClassRecord s_classRecord;
};
