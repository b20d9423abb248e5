// CFile over a POSIX file descriptor; errors become CFileException*.
#include "mfc/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/durablefile.h"
#include "platform/runtime.h"
#include "platform/winfile.h"
#include "FileShares.h"

IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

const char* const kCauseTexts[] = {
    "no error",          "an unspecified error",   "the file was not found", "the path is invalid",
    "too many open files", "access was denied",     "the file is invalid",    "the current directory cannot be removed",
    "the directory is full", "a seek failed",       "a hardware I/O error",   "a sharing violation",
    "a lock violation",  "the disk is full",       "the end of the file was reached",
};

}  // namespace

BOOL CFileException::GetErrorMessage(LPSTR error, UINT maxError, UINT* helpContext) {
    if (helpContext) *helpContext = 0;
    if (!error || maxError == 0) return FALSE;
    int cause = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    snprintf(error, maxError, "%s: %s.", m_strFileName.IsEmpty() ? "file" : m_strFileName.GetString(),
             kCauseTexts[cause]);
    return TRUE;
}

int CFileException::ErrnoToException(int error) {
    switch (error) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST: return accessDenied;
    case EBADF: return invalidFile;
    case EBUSY: return sharingViolation;
    case ENOSPC:
    case EFBIG: return diskFull;
    case EINVAL:
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    default: return genericException;
    }
}

void CFileException::ThrowErrno(int error, LPCSTR fileName) {
    AfxThrowFileException(ErrnoToException(error), error, fileName);
}

void AfxThrowFileException(int cause, LONG osError, LPCSTR fileName) {
    throw new CFileException(cause, osError, fileName);
}

CFile::CFile(LPCSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

CFile::~CFile() {
    if (m_hFile != hFileNull) Abort();
}

BOOL CFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
    if (m_hFile != hFileNull) Abort();
    m_strFileName = fileName;
    LONG injected = 0;
    if (platform::ShouldFail("CFile::Open", &injected)) {
        if (error) *error = CFileException(CFileException::accessDenied, injected ? injected : EACCES, fileName);
        return FALSE;
    }
    // A file for writing only is opened for reading too where it allows that, so that the open can
    // hold its share mode (FileShares.h); Read still refuses it.
    DWORD access = GENERIC_READ;
    int flags = O_RDONLY;
    if ((openFlags & 3) == modeWrite || (openFlags & 3) == modeReadWrite) {
        access = (openFlags & 3) == modeWrite ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
        flags = (openFlags & 3) == modeWrite ? O_WRONLY : O_RDWR;
    }
    const std::string native = fileName ? platform::NativePath(fileName) : std::string();
    flags = platform::files::HoldableAccess(native, flags) | O_CLOEXEC;
    if (openFlags & modeCreate) flags |= O_CREAT;
    // The share flags as Windows' share modes; the compatibility mode is the exclusive one.
    const UINT share = openFlags & 0x70;
    const DWORD shareMode = share == shareDenyNone    ? FILE_SHARE_READ | FILE_SHARE_WRITE
                            : share == shareDenyWrite ? FILE_SHARE_READ
                            : share == shareDenyRead  ? FILE_SHARE_WRITE
                                                      : 0;
    // Opened without waiting (a FIFO in the file's place opens at once), then read and written as
    // any file is.
    int fd = fileName ? ::open(native.c_str(), flags | O_NONBLOCK, 0666) : -1;
    if (fd < 0 && fileName && errno == EACCES && (flags & O_ACCMODE) == O_RDWR && access == GENERIC_WRITE)
        fd = ::open(native.c_str(), (flags & ~O_ACCMODE) | O_WRONLY | O_NONBLOCK, 0666);
    int e = fd >= 0 ? 0 : fileName ? errno : ENOENT;
    if (fd >= 0 && platform::files::HoldShare(fd, access, shareMode) != ERROR_SUCCESS) e = EBUSY;
    // Emptied only once the file's other opens allow this one.
    struct stat st;
    const bool truncate = (openFlags & modeCreate) && !(openFlags & modeNoTruncate);
    if (e == 0 && truncate && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0) e = errno;
    if (e != 0) {
        if (fd >= 0) ::close(fd);
        if (error) *error = CFileException(CFileException::ErrnoToException(e), e, fileName);
        return FALSE;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_hFile = static_cast<UINT>(fd);
    m_bWriteOnly = access == GENERIC_WRITE;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (m_bWriteOnly) CFileException::ThrowErrno(EBADF, m_strFileName);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::read(Descriptor(), static_cast<char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) CFileException::ThrowErrno(errno, m_strFileName);
        if (n == 0) break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count) {
    SyncPosition();
    if (platform::ShouldFail("CFile::Write")) AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName);
    platform::RecordFileCall("write", platform::NativePath(m_strFileName));
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::write(Descriptor(), static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) CFileException::ThrowErrno(n < 0 ? errno : ENOSPC, m_strFileName);
        done += static_cast<UINT>(n);
    }
}

LONG CFile::Seek(LONG offset, UINT from) {
    SyncPosition();
    int whence = from == end ? SEEK_END : (from == current ? SEEK_CUR : SEEK_SET);
    off_t pos = ::lseek(Descriptor(), offset, whence);
    if (pos < 0) CFileException::ThrowErrno(errno, m_strFileName);
    return static_cast<LONG>(pos);
}

DWORD CFile::GetPosition() const {
    const_cast<CFile*>(this)->SyncPosition();
    off_t pos = ::lseek(Descriptor(), 0, SEEK_CUR);
    if (pos < 0) CFileException::ThrowErrno(errno, m_strFileName);
    return static_cast<DWORD>(pos);
}

DWORD CFile::GetLength() const {
    struct stat st;
    if (::fstat(Descriptor(), &st) != 0) CFileException::ThrowErrno(errno, m_strFileName);
    return static_cast<DWORD>(st.st_size);
}

void CFile::SetLength(DWORD newLength) {
    SyncPosition();
    if (::ftruncate(Descriptor(), newLength) != 0) CFileException::ThrowErrno(errno, m_strFileName);
}

// The file and its folder synced (platform/durablefile.h): what was written survives a power loss.
void CFile::Flush() {
    if (m_hFile == hFileNull) return;
    if (platform::ShouldFail("CFile::Flush")) AfxThrowFileException(CFileException::diskFull, EIO, m_strFileName);
    if (!platform::SyncFileAndFolder(Descriptor(), platform::NativePath(m_strFileName)) && errno != EINVAL)
        CFileException::ThrowErrno(errno, m_strFileName);
}

void CFile::Close() {
    if (m_hFile == hFileNull) return;
    SyncPosition();
    int fd = Descriptor();
    m_hFile = hFileNull;
    if (::close(fd) != 0) CFileException::ThrowErrno(errno, m_strFileName);
}

void CFile::Abort() {
    if (m_hFile == hFileNull) return;
    ::close(Descriptor());
    m_hFile = hFileNull;
}

CString CFile::GetFileName() const {
    int slash = m_strFileName.ReverseFind('/');
    int backslash = m_strFileName.ReverseFind('\\');
    return m_strFileName.Mid((slash > backslash ? slash : backslash) + 1);
}

void CFile::Remove(LPCSTR fileName) {
    if (::unlink(platform::NativePath(fileName).c_str()) != 0) CFileException::ThrowErrno(errno, fileName);
}

void CFile::Rename(LPCSTR oldName, LPCSTR newName) {
    if (::rename(platform::NativePath(oldName).c_str(), platform::NativePath(newName).c_str()) != 0)
        CFileException::ThrowErrno(errno, oldName);
}
