#include "graph/TimeDelayFilter.h"

#include <makers/vorlane.h>

#include "graph/FilterWrapperClass.h"

CFilterClassRecord CTimeDelayFilter::s_classRecord(&CLSID_VorlaneTimeDelay, nullptr, "Time Delay",
                                                   &CTimeDelayFilter::CreateInstance, &CTimeDelayFilter::WrapInstance);

FILTER_WRAPPER_CREATORS(CTimeDelayFilter)

CTimeDelayFilter::CTimeDelayFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {}

CTimeDelayFilter::CTimeDelayFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}

CTimeDelayFilter::CTimeDelayFilter(CRootGraph* owner, IBaseFilter* filter) : CRootFilter(owner, filter) {}

CTimeDelayFilter::~CTimeDelayFilter() = default;

FILTER_WRAPPER_HOOKS(CTimeDelayFilter)
