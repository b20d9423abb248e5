// CMCH264DecoderFilter: the wrapper of the MainConcept H.264 video decoder, registered by its
// CLSID; forwards to the decoder's IMCH264DecoderOutput, arguments unchanged.
#pragma once

#include <makers/mainconcept.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CMCH264DecoderFilter : public CInterfaceWrapper<CMCH264DecoderFilter, IMCH264DecoderOutput, IID_IMCH264DecoderOutput, TakenAnswer::AnySuccess> {
public:
    // Init opens IMCH264DecoderOutput.
    using CInterfaceWrapper::CInterfaceWrapper;
    static CFilterClassRecord s_classRecord;

    BOOL Output3(DWORD dwParam1, DWORD dwParam2);
    BOOL Output4(DWORD dwParam1, DWORD dwParam2);
    BOOL Output5(DWORD dwParam1, DWORD dwParam2);
    BOOL GetOutputRecord(MCH264_OUTPUT_RECORD* pRecord);
    BOOL SetOutputRecord(MCH264_OUTPUT_RECORD record);
};
