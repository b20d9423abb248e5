#include "graph/TimeDelayFilter.h"

#include <makers/vorlane.h>

#include "graph/FilterWrapperClass.h"

FILTER_WRAPPER_CLSID_CLASS(CTimeDelayFilter, CLSID_VorlaneTimeDelay, "Time Delay")

CTimeDelayFilter::~CTimeDelayFilter() = default;

