// CFile: a binary file on the machine's file system; CFileException: what failed with it.
#pragma once

#include "mfc/Object.h"

class PLATFORM_API CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    CFileException(int cause = none, LONG osError = -1, LPCSTR fileName = nullptr)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    BOOL GetErrorMessage(LPSTR error, UINT maxError, UINT* helpContext = nullptr) override;

    // The cause for a C library errno value.
    static int ErrnoToException(int error);
    [[noreturn]] static void ThrowErrno(int error, LPCSTR fileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

[[noreturn]] PLATFORM_API void AfxThrowFileException(int cause, LONG osError = -1, LPCSTR fileName = nullptr);

class PLATFORM_API CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    static const UINT hFileNull = (UINT)-1;

    CFile() = default;
    // Opens the file or throws CFileException*.
    CFile(LPCSTR fileName, UINT openFlags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Paths take '\' or '/' separators. FALSE with the cause in *error when the file does not open.
    virtual BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr);
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual LONG Seek(LONG offset, UINT from);
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    void SeekToBegin() { Seek(0, begin); }
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD newLength);
    virtual void Flush();
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;

    static void Remove(LPCSTR fileName);
    static void Rename(LPCSTR oldName, LPCSTR newName);

    UINT m_hFile = hFileNull;

protected:
    // Moves the descriptor to the logical position before a raw write or seek (buffered readers).
    virtual void SyncPosition() {}
    int Descriptor() const { return static_cast<int>(m_hFile); }

    CString m_strFileName;
    bool m_bWriteOnly = false;  // opened with modeWrite: reads are refused
};
