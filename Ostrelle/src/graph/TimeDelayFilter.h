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

    FILTER_WRAPPER_HOOK_DECLARATIONS;

    FILTER_WRAPPER_CREATOR_DECLARATIONS;
};
