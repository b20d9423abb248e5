// CDumpFilter: the wrapper of the dump filter that writes a recording to a file.
#include "graph/DumpFilter.h"

#include "graph/FileSinkName.h"
#include "graph/FilterWrapperClass.h"

CFilterClassRecord CDumpFilter::s_classRecord = Record(&CLSID_Dump, nullptr, "Dump");

CDumpFilter::~CDumpFilter() = default;

BOOL CDumpFilter::SetFileName(const char* path) {
    if (m_pFilter == nullptr) return FALSE;
    return SUCCEEDED(SetFileSinkName(FileSinkOf(m_pFilter), path)) ? TRUE : FALSE;
}
