// CTimeShiftFilter: the wrapper of the InterVideo time-shift filter, registered by its CLSID. Its
// operations go to the filter's private interface (IIVTimeShift), which Init opens: the wrapper is
// dropped without it. SetStorage tells the filter where its buffer file lives and how big it is.
#pragma once

#include <makers/intervideo.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

// The storage record exchanged with the filter, owning its two strings. Made with the filter's
// defaults: no directory or file name, a buffer of 512 KB (0x80000 bytes), fourth word 128.
struct TimeShiftSettings : IVTimeShiftRecord {
    TimeShiftSettings();
    TimeShiftSettings(const TimeShiftSettings&) = delete;
    TimeShiftSettings& operator=(const TimeShiftSettings&) = delete;
    // Frees both strings; directory, file name, buffer size in KB and sixth word become 0.
    ~TimeShiftSettings();
    // Replaces the directory or the file name with a copy of the wide text.
    void SetDirectory(const WCHAR* text);
    void SetFileName(const WCHAR* text);
};

// What SetStorage is asked: the buffer file's full path (ANSI, NUL-terminated within its 260
// characters) and three values: the first goes to the record's sixth word, the second and third
// give the buffer size (second x third / 8 KB), and the second goes to the filter on its own.
struct TimeShiftRequest {
    char path[MAX_PATH];
    int first;
    int second;
    int third;
};

class CTimeShiftFilter : public CFilterWrapper<CTimeShiftFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CTimeShiftFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;

    // Reads the filter's storage record, then sends it back with the request's directory (the
    // path before its last backslash), file name (after it, possibly empty) and buffer sizes, and
    // then the second value. FALSE with nothing sent for a path without a backslash or without
    // its terminator, or for buffer sizes that do not fit 32-bit words; else TRUE when both sends
    // succeeded.
    BOOL SetStorage(TimeShiftRequest request);
    BOOL SetWordA(DWORD value);
    // The 64-bit value as two 32-bit words, low word first; FALSE for a NULL pointer.
    BOOL SetLongWord(const ULONGLONG* value);
    BOOL SetWordB(DWORD value);
    BOOL SetWordC(DWORD value);
    BOOL SetWordD(DWORD value);
    BOOL CommandA();
    BOOL CommandB();
    // The name as ANSI text; FALSE with nothing sent for NULL or a name of 260 characters or
    // more.
    BOOL SetFileName(const char* name);

private:
    CComPtr<IIVTimeShift> m_pTimeShift;
};
