#include "cards/encoders/FimbrelEncoderFilter.h"

#include "graph/FilterWrapperClass.h"

CFilterClassRecord CFimbrelEncoderFilter::s_classRecord(nullptr, &KSCATEGORY_ENCODER, CFimbrelEncoderFilter::kEncoderName,
                                                        &CFimbrelEncoderFilter::CreateInstance,
                                                        &CFimbrelEncoderFilter::WrapInstance);

CFimbrelEncoderFilter::CFimbrelEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CMpegEncoderFilter(owner, category, friendlyName, flag, kFimbrelEncoderSet) {}

CFimbrelEncoderFilter::CFimbrelEncoderFilter(CRootGraph* owner, REFCLSID clsid)
    : CMpegEncoderFilter(owner, clsid, kFimbrelEncoderSet) {}

CFimbrelEncoderFilter::CFimbrelEncoderFilter(CRootGraph* owner, IBaseFilter* filter)
    : CMpegEncoderFilter(owner, filter, kFimbrelEncoderSet) {}

FILTER_WRAPPER_CREATORS(CFimbrelEncoderFilter)
