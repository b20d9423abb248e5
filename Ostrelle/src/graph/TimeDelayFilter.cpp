// CTimeDelayFilter: the wrapper of the maker's time-delay filter, registered by its CLSID.
#include "graph/TimeDelayFilter.h"

#include <makers/vorlane.h>

#include "graph/FilterWrapperClass.h"

CFilterClassRecord CTimeDelayFilter::s_classRecord = Record(&CLSID_VorlaneTimeDelay, nullptr, "Time Delay");

CTimeDelayFilter::~CTimeDelayFilter() = default;

