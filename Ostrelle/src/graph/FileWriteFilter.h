// CFileWriteFilter: the wrapper of the system file writer, registered by its CLSID; names the
// file to write through IFileSinkFilter2.
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CFileWriteFilter : public CFilterWrapper<CFileWriteFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CFileWriteFilter() override;

    // Opens IFileSinkFilter2.
    BOOL Init() override;

    // Names the file (NULL passes no name), with no media type; a name of 260 characters or
    // more is refused without a call.
    BOOL SetFileName(const char* name);
    // The current file name in the ANSI code page into `buffer` of `size` bytes (an empty string
    // when none is set). FALSE with an empty buffer when the call does not answer S_OK or the
    // name does not fit.
    BOOL GetFileName(char* buffer, int size = MAX_PATH);

    static CFilterClassRecord s_classRecord;

private:
    CComPtr<IFileSinkFilter2> m_pFileSink;
};
