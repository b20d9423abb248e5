// CFimbrelEncoderFilter: the wrapper of the Fimbrel card's encoder device ("Conexant Fimbrel
// Encoder", encoder device category): the MPEG encoder wrapper under its own record, its
// settings written and read on the Fimbrel encoder's property set.
#pragma once

#include "graph/MpegEncoderFilter.h"

class CFimbrelEncoderFilter : public CFilterWrapper<CFimbrelEncoderFilter, CMpegEncoderFilter> {
public:
    static constexpr const char kEncoderName[] = "Conexant Fimbrel Encoder";
    // The Fimbrel encoder's property set {CFA8C7E7-5FF7-40D3-9B37-C45CBCC9BD53}.
    static constexpr GUID kFimbrelEncoderSet = {0xCFA8C7E7, 0x5FF7, 0x40D3, {0x9B, 0x37, 0xC4, 0x5C, 0xBC, 0xC9, 0xBD, 0x53}};

    CFimbrelEncoderFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CFimbrelEncoderFilter(CRootGraph* owner, REFCLSID clsid);
    CFimbrelEncoderFilter(CRootGraph* owner, IBaseFilter* filter);

    static CFilterClassRecord s_classRecord;
};
