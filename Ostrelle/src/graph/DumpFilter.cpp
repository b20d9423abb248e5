#include "graph/DumpFilter.h"

#include "graph/FileSinkName.h"

CFilterClassRecord CDumpFilter::s_classRecord(&CLSID_Dump, nullptr, "Dump", &CDumpFilter::CreateInstance,
                                              &CDumpFilter::WrapInstance);

CRootFilter* CDumpFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CDumpFilter>(s_classRecord, graph, flag);
}

CRootFilter* CDumpFilter::WrapInstance(CRootGraph* graph, IBaseFilter* filter) {
    return WrapFilterOfClass<CDumpFilter>(graph, filter);
}

FILTER_WRAPPER_CONSTRUCTORS(CDumpFilter)

CDumpFilter::~CDumpFilter() = default;

HRESULT CDumpFilter::OnHook1(LONG_PTR, LONG_PTR, LONG_PTR) {
    return S_OK;
}

HRESULT CDumpFilter::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) {
    return S_OK;
}

BOOL CDumpFilter::SetFileName(const char* path) {
    if (m_pFilter == nullptr) return FALSE;
    CComPtr<IFileSinkFilter> sink;
    if (FAILED(m_pFilter->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink)))) return FALSE;
    return SUCCEEDED(SetFileSinkName(sink, path)) ? TRUE : FALSE;
}
