#include "graph/TimeDelayFilter.h"

#include <makers/vorlane.h>

#include "graph/FilterWrapperClass.h"

CFilterClassRecord CTimeDelayFilter::s_classRecord(&CLSID_VorlaneTimeDelay, nullptr, "Time Delay",
                                                   &CTimeDelayFilter::CreateInstance, &CTimeDelayFilter::WrapInstance);

FILTER_WRAPPER_CREATORS(CTimeDelayFilter)

FILTER_WRAPPER_CONSTRUCTORS(CTimeDelayFilter)

CTimeDelayFilter::~CTimeDelayFilter() = default;

FILTER_WRAPPER_HOOKS(CTimeDelayFilter)
