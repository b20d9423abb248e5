#include "graph/DumpFilter.h"

#include "graph/FileSinkName.h"
#include "graph/FilterWrapperClass.h"

FILTER_WRAPPER_CLSID_CLASS(CDumpFilter, CLSID_Dump, "Dump")

CDumpFilter::~CDumpFilter() = default;

BOOL CDumpFilter::SetFileName(const char* path) {
    if (m_pFilter == nullptr) return FALSE;
    return SUCCEEDED(SetFileSinkName(FileSinkOf(m_pFilter), path)) ? TRUE : FALSE;
}
