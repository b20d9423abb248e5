// CFimbrelEncoderFilter: the wrapper of the Fimbrel card's encoder device.
#include "cards/encoders/FimbrelEncoderFilter.h"

#include "graph/FilterWrapperClass.h"

CFilterClassRecord CFimbrelEncoderFilter::s_classRecord = Record(nullptr, &KSCATEGORY_ENCODER,
                                                                 CFimbrelEncoderFilter::kEncoderName);

CFimbrelEncoderFilter::CFimbrelEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CFilterWrapper(owner, category, friendlyName, flag, kFimbrelEncoderSet) {}

CFimbrelEncoderFilter::CFimbrelEncoderFilter(CRootGraph* owner, REFCLSID clsid)
    : CFilterWrapper(owner, clsid, kFimbrelEncoderSet) {}

CFimbrelEncoderFilter::CFimbrelEncoderFilter(CRootGraph* owner, IBaseFilter* filter)
    : CFilterWrapper(owner, filter, kFimbrelEncoderSet) {}

