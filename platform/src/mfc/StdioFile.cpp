// CStdioFile: line reading and writing with text-mode line ends and the file's encoding.
#include "mfc/StdioFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/winfile.h"
#include "platform/winnls.h"

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

const char kBom[] = "\xEF\xBB\xBF";

CStdioFile::Encoding DetectEncoding(const std::string& content) {
    if (content.compare(0, 3, kBom) == 0) return CStdioFile::Encoding::Utf8WithBom;
    bool ascii = true;
    for (unsigned char ch : content) {
        if (ch >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii && platform::IsValidUtf8(content)) return CStdioFile::Encoding::Utf8;
    return CStdioFile::Encoding::Gbk;
}

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return content;
    char chunk[65536];
    ssize_t n;
    while ((n = ::read(fd, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0) content.append(chunk, n);
    }
    ::close(fd);
    return content;
}

// One UTF-8 sequence's length from its lead byte (1 for a stray byte).
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

CStdioFile::CStdioFile(LPCSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

BOOL CStdioFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
    DropBuffer();
    if (!CFile::Open(fileName, openFlags, error)) return FALSE;
    m_bText = !(openFlags & typeBinary);
    m_encoding = Encoding::Gbk;
    if (m_bText && GetLength() > 0) m_encoding = DetectEncoding(ReadWholeFile(platform::NativePath(fileName)));
    return TRUE;
}

void CStdioFile::Close() {
    DropBuffer();
    CFile::Close();
}

void CStdioFile::Abort() {
    DropBuffer();
    CFile::Abort();
}

void CStdioFile::DropBuffer() {
    m_buffer.clear();
    m_bufferPos = 0;
    m_pending.clear();
}

void CStdioFile::SyncPosition() {
    size_t ahead = m_buffer.size() - m_bufferPos;
    if (ahead > 0 && m_hFile != hFileNull) ::lseek(Descriptor(), -static_cast<off_t>(ahead), SEEK_CUR);
    DropBuffer();
}

bool CStdioFile::FillBuffer() {
    char chunk[4096];
    for (;;) {
        ssize_t n = ::read(Descriptor(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) CFileException::ThrowErrno(errno, m_strFileName);
        if (n == 0) return false;
        m_buffer.erase(0, m_bufferPos);
        m_bufferPos = 0;
        m_buffer.append(chunk, n);
        return true;
    }
}

bool CStdioFile::ReadRawLine(std::string& line, bool& endedWithNewline) {
    line.clear();
    endedWithNewline = false;
    bool any = false;
    for (;;) {
        if (m_bufferPos >= m_buffer.size() && !FillBuffer()) return any;
        any = true;
        size_t nl = m_buffer.find('\n', m_bufferPos);
        if (nl == std::string::npos) {
            line.append(m_buffer, m_bufferPos, std::string::npos);
            m_bufferPos = m_buffer.size();
            continue;
        }
        line.append(m_buffer, m_bufferPos, nl - m_bufferPos);
        m_bufferPos = nl + 1;
        endedWithNewline = true;
        return true;
    }
}

std::string CStdioFile::Decode(const std::string& raw) const {
    if (!m_bText || m_encoding != Encoding::Gbk) return raw;
    std::string utf8;
    return platform::GbkToUtf8(raw, &utf8) ? utf8 : raw;
}

std::string CStdioFile::Encode(const std::string& utf8) const {
    if (!m_bText || m_encoding != Encoding::Gbk) return utf8;
    std::string gbk;
    if (platform::Utf8ToGbk(utf8, &gbk)) return gbk;
    // Characters GBK cannot hold become '?', the rest is kept.
    gbk.clear();
    for (size_t i = 0; i < utf8.size();) {
        size_t n = std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        std::string one;
        gbk += platform::Utf8ToGbk(utf8.substr(i, n), &one) ? one : std::string("?");
        i += n;
    }
    return gbk;
}

BOOL CStdioFile::ReadString(CString& line) {
    std::string raw;
    bool newline = false;
    if (!m_pending.empty()) {
        std::string rest;
        rest.swap(m_pending);
        if (!rest.empty() && rest.back() == '\n') rest.pop_back();
        line = rest.c_str();
        return TRUE;
    }
    bool atStart = m_bText && m_encoding == Encoding::Utf8WithBom &&
                   ::lseek(Descriptor(), 0, SEEK_CUR) == static_cast<off_t>(m_buffer.size() - m_bufferPos);
    if (!ReadRawLine(raw, newline)) {
        line.Empty();
        return FALSE;
    }
    if (atStart && raw.compare(0, 3, kBom) == 0) raw.erase(0, 3);
    if (m_bText && !raw.empty() && raw.back() == '\r') raw.pop_back();
    line = Decode(raw).c_str();
    return TRUE;
}

LPSTR CStdioFile::ReadString(LPSTR buffer, UINT maxCount) {
    if (!buffer || maxCount == 0) return nullptr;
    if (m_pending.empty()) {
        CString line;
        bool atEnd = !ReadString(line);
        if (atEnd) return nullptr;
        m_pending = line.GetString();
        // ReadString(CString&) cannot tell whether the last line had its line end; a line end is
        // given back for every line, as the text-mode reader of the C library does for all but a
        // last line without one.
        m_pending += '\n';
    }
    size_t n = std::min<size_t>(maxCount - 1, m_pending.size());
    memcpy(buffer, m_pending.data(), n);
    buffer[n] = '\0';
    m_pending.erase(0, n);
    return buffer;
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    UINT done = 0;
    char* out = static_cast<char*>(buffer);
    while (done < count) {
        if (m_bufferPos >= m_buffer.size() && !FillBuffer()) break;
        size_t n = std::min<size_t>(count - done, m_buffer.size() - m_bufferPos);
        memcpy(out + done, m_buffer.data() + m_bufferPos, n);
        m_bufferPos += n;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CStdioFile::WriteString(LPCSTR text) {
    if (!text) return;
    std::string bytes = Encode(text);
    if (m_bText) {
        std::string crlf;
        crlf.reserve(bytes.size() + 16);
        for (char ch : bytes) {
            if (ch == '\n') crlf += '\r';
            crlf += ch;
        }
        bytes.swap(crlf);
    }
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}
