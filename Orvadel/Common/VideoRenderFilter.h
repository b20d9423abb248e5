// CVideoRenderFilter: the wrapper of the VMR-9 renderer that the card manager creates by CLSID.
#pragma once

#include "graph/RootFilter.h"

class CVideoRenderFilter : public CRootFilter {
public:
    CVideoRenderFilter(CRootGraph* owner, REFCLSID clsid);
};
