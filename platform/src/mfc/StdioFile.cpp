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

std::string WideToText(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return std::string();
    int n = ::WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(std::max(n, 0)), '\0');
    if (n > 0) ::WideCharToMultiByte(codePage, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Text in a code page to wide characters; a byte that starts no character becomes U+FFFD.
std::wstring TextToWide(const std::string& text, UINT codePage) {
    if (text.empty()) return std::wstring();
    int n = ::MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(std::max(n, 0)), L'\0');
    if (n > 0) ::MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), out.data(), n);
    return out;
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

}  // namespace

// A file is UTF-8 when it carries the byte-order mark, or when its non-ASCII bytes are mostly
// whole UTF-8 characters (a stray byte in a UTF-8 file does not make it GBK). GBK text seldom
// forms valid UTF-8 sequences.
CStdioFile::Encoding CStdioFile::DetectEncoding(const std::string& content) {
    if (content.compare(0, 3, kBom) == 0) return CStdioFile::Encoding::Utf8WithBom;
    size_t whole = 0, stray = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(content.data());
    for (size_t i = 0; i < content.size();) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        size_t n = platform::Utf8SequenceLength(s + i, content.size() - i);
        if (n) {
            ++whole;
            i += n;
        } else {
            ++stray;
            ++i;
        }
    }
    return whole > stray ? CStdioFile::Encoding::Utf8 : CStdioFile::Encoding::Gbk;
}

std::string CStdioFile::DecodeText(const std::string& raw, Encoding encoding) {
    if (encoding != Encoding::Gbk) return platform::IsValidUtf8(raw) ? raw : platform::WideToUtf8(TextToWide(raw, CP_UTF8));
    return platform::WideToUtf8(TextToWide(raw, CP_GBK));
}

std::string CStdioFile::EncodeText(const std::string& utf8, Encoding encoding) {
    if (encoding != Encoding::Gbk) return utf8;
    // Characters GBK cannot hold, and bytes that start no character, become '?' one by one.
    return WideToText(TextToWide(utf8, CP_UTF8), CP_GBK);
}

CStdioFile::CStdioFile(LPCSTR fileName, UINT openFlags) {
    CFileException error;
    if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, fileName);
}

BOOL CStdioFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error) {
    DropBuffer();
    if (!CFile::Open(fileName, openFlags, error)) return FALSE;
    m_bText = !(openFlags & typeBinary);
    m_encoding = Encoding::Gbk;
    m_asRead.clear();
    if (m_bText && GetLength() > 0) {
        std::string content = ReadWholeFile(platform::NativePath(fileName));
        m_encoding = DetectEncoding(content);
        RememberLines(content);
    }
    return TRUE;
}

void CStdioFile::RememberLines(const std::string& content) {
    size_t start = content.compare(0, 3, kBom) == 0 ? 3 : 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        std::string raw = content.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string text = Decode(raw);
        // Only lines that would not come back as they were: a stray byte, a character of the
        // file's encoding with no single way back.
        if (Encode(text) != raw) m_asRead[text].push_back(raw);
        start = end + 1;
    }
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
    if (m_bWriteOnly) CFileException::ThrowErrno(EBADF, m_strFileName);
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

std::string CStdioFile::Decode(const std::string& raw) const { return m_bText ? DecodeText(raw, m_encoding) : raw; }

std::string CStdioFile::Encode(const std::string& utf8) const { return m_bText ? EncodeText(utf8, m_encoding) : utf8; }

std::string CStdioFile::EncodeLine(const std::string& utf8) {
    auto it = m_asRead.find(utf8);
    if (it == m_asRead.end()) return Encode(utf8);
    // A line written back unchanged: the bytes it was read from, in the order the file held them.
    std::string raw = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    return raw;
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
    std::string bytes;
    if (!m_bText) {
        bytes = text;
    } else {
        // Line by line, so no character of one line can take the line end after it.
        std::string all(text);
        for (size_t start = 0;;) {
            size_t nl = all.find('\n', start);
            bytes += EncodeLine(all.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
            if (nl == std::string::npos) break;
            bytes += "\r\n";
            start = nl + 1;
        }
    }
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}
