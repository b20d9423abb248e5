#include "VideoRenderFilter.h"

CVideoRenderFilter::CVideoRenderFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {
    SetCreatedByClsid(TRUE);
}
