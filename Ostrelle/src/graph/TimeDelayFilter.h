// CTimeDelayFilter: the wrapper of the maker's time-delay filter, registered by its CLSID. It has
// no private interface: its set-up is the base's.
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CTimeDelayFilter : public CFilterWrapper<CTimeDelayFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CTimeDelayFilter() override;


    static CFilterClassRecord s_classRecord;
};
