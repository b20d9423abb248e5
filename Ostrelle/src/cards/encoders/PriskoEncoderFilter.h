// CPriskoEncoderFilter: the wrapper of the Prisko card's MPEG encoder device ("Prisko MPEG
// Encoder", encoder device category): the Rivesk encoder wrapper under its own record, its
// settings written and read on the encoder's property set through IKsPropertySet.
#pragma once

#include "graph/MpegEncoderFilter.h"

class CPriskoEncoderFilter : public CMpegEncoderFilter {
public:
    static constexpr const char kEncoderName[] = "Prisko MPEG Encoder";

    using CMpegEncoderFilter::CMpegEncoderFilter;

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);
    static CFilterClassRecord s_classRecord;
};
