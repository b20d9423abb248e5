// CMCH264DecoderFilter: the wrapper of the MainConcept H.264 video decoder, registered by its
// CLSID; forwards to the decoder's IMCH264DecoderOutput, arguments unchanged.
#pragma once

#include <makers/mainconcept.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CMCH264DecoderFilter : public CRootFilter {
public:
    FILTER_WRAPPER_CONSTRUCTOR_DECLARATIONS(CMCH264DecoderFilter);
    ~CMCH264DecoderFilter() override;

    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    // Opens IMCH264DecoderOutput.
    BOOL Init() override;

    BOOL Output3(DWORD dwParam1, DWORD dwParam2);
    BOOL Output4(DWORD dwParam1, DWORD dwParam2);
    BOOL Output5(DWORD dwParam1, DWORD dwParam2);
    BOOL GetOutputRecord(MCH264_OUTPUT_RECORD* pRecord);
    BOOL SetOutputRecord(MCH264_OUTPUT_RECORD record);

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);
    static CFilterClassRecord s_classRecord;

private:
    CComPtr<IMCH264DecoderOutput> m_pDecoderOutput;
};
