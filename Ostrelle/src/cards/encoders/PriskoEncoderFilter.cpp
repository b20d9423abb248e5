// CPriskoEncoderFilter: the wrapper of the Prisko card's MPEG encoder device.
#include "cards/encoders/PriskoEncoderFilter.h"

CFilterClassRecord CPriskoEncoderFilter::s_classRecord(nullptr, &KSCATEGORY_ENCODER, CPriskoEncoderFilter::kEncoderName,
                                                       &CPriskoEncoderFilter::CreateInstance,
                                                       &CPriskoEncoderFilter::WrapInstance);

CRootFilter* CPriskoEncoderFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CPriskoEncoderFilter>(s_classRecord, graph, flag);
}

CRootFilter* CPriskoEncoderFilter::WrapInstance(CRootGraph* graph, IBaseFilter* filter) {
    return WrapFilterOfClass<CPriskoEncoderFilter>(graph, filter);
}
