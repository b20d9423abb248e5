// CDumpFilter: the wrapper of the dump filter that writes a recording to a file, registered by the
// dump filter's CLSID.
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CDumpFilter : public CFilterWrapper<CDumpFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CDumpFilter() override;


    // Names the file to write: the path as wide text (NULL passes no name) to the filter's
    // IFileSinkFilter::SetFileName. FALSE without that interface, for a path of 260 characters
    // or more (no call) or when the call fails.
    BOOL SetFileName(const char* path);

    static CFilterClassRecord s_classRecord;
};
