#include "graph/FileWriteFilter.h"

#include "graph/FileSinkName.h"
#include "graph/FilterWrapperClass.h"

CFilterClassRecord CFileWriteFilter::s_classRecord(&CLSID_FileWriter, nullptr, "File Write Filter",
                                                   &CFileWriteFilter::CreateInstance, &CFileWriteFilter::WrapInstance);

FILTER_WRAPPER_CREATORS(CFileWriteFilter)

FILTER_WRAPPER_CONSTRUCTORS(CFileWriteFilter)

CFileWriteFilter::~CFileWriteFilter() {
    m_pFileSink.Release();
}

FILTER_WRAPPER_HOOKS(CFileWriteFilter)

BOOL CFileWriteFilter::Init() {
    m_pFileSink.Release();
    if (!IsValid()) return FALSE;
    return SUCCEEDED(m_pFilter->QueryInterface(IID_IFileSinkFilter2, reinterpret_cast<void**>(&m_pFileSink))) ? TRUE
                                                                                                           : FALSE;
}

BOOL CFileWriteFilter::SetFileName(const char* name) {
    if (m_pFileSink == nullptr) return FALSE;
    return SUCCEEDED(SetFileSinkName(m_pFileSink, name)) ? TRUE : FALSE;
}

BOOL CFileWriteFilter::GetFileName(char* buffer, int size) {
    return GetFileSinkName(m_pFileSink, buffer, size, FileSinkAnswer::ExactlyOk);
}
