// CFileWriteFilter: the wrapper of the system file writer.
#include "graph/FileWriteFilter.h"

#include "graph/FileSinkName.h"
#include "graph/FilterWrapperClass.h"

CFilterClassRecord CFileWriteFilter::s_classRecord = Record(&CLSID_FileWriter, nullptr, "File Write Filter");

CFileWriteFilter::~CFileWriteFilter() {
    m_pFileSink.Release();
}

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
    return GetFileSinkName(m_pFileSink, buffer, size, TakenAnswer::ExactlyOk);
}
