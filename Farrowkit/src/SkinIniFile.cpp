// CSkinIniFile: reading the file into sections and writing it back.
#include "SkinIniFile.h"

namespace {

const char kNoError[] = "No error";
const char kFileNotExist[] = "File not exist!";
const char kUnableToOpen[] = "Unable to open ini File!";
const char kUnableToRead[] = "Unable to read file!";
const char kUnableToWrite[] = "Unable to write file!";
const char kNotAFile[] = "Not a plain file!";
const char kTooLarge[] = "File larger than any settings file!";
const char kHardLinked[] = "File has other hard links!";
const char kBom[] = "\xEF\xBB\xBF";
// No settings file a station writes comes near this; a larger one is refused unread.
constexpr size_t kMaxFileBytes = 64u << 20;

// TRUE when the bytes have line ends and every one of them is a bare LF.
BOOL OnlyLfEnds(const std::string& bytes) {
    bool any = false;
    for (size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
        if (i > 0 && bytes[i - 1] == '\r') return FALSE;
        any = true;
    }
    return any ? TRUE : FALSE;
}

// The file a path leads to, symbolic links followed; the path itself when nothing is there.
CString FinalPath(const CString& path) {
    HANDLE file = CreateFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::vector<char> final(MAX_PATH);
    DWORD length = GetFinalPathNameByHandle(file, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    if (length >= final.size()) {
        // The size asked for counts the terminating NUL on some systems and not on others.
        final.resize(length + 1);
        length = GetFinalPathNameByHandle(file, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    }
    CloseHandle(file);
    return length > 0 && length < final.size() ? CString(final.data(), static_cast<int>(length)) : path;
}

// A new file beside `target`, created exclusively under a name no other file or link holds:
// the target's name, the process and a count, ".new".
HANDLE CreateBeside(const CString& target, CString& name) {
    static LONG s_count = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        name.Format("%s.%lu-%ld.new", target.GetString(), static_cast<unsigned long>(GetCurrentProcessId()),
                    static_cast<long>(InterlockedIncrement(&s_count)));
        HANDLE file = CreateFile(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

CSkinIniFile::CSkinIniFile() : m_strError(kNoError) {}

CSkinIniFile::CSkinIniFile(LPCSTR path) : m_strError(kNoError), m_strPath(path) {}

CSkinIniFile::~CSkinIniFile() = default;

const CSkinIniSection* CSkinIniFile::FindSection(LPCSTR name) const {
    for (const auto& section : m_sections) {
        if (section->GetName() == name) return section.get();
    }
    return nullptr;
}

CSkinIniSection* CSkinIniFile::GetSection(LPCSTR name) {
    if (const CSkinIniSection* found = FindSection(name)) return const_cast<CSkinIniSection*>(found);
    m_sections.push_back(std::make_unique<CSkinIniSection>(name));
    return m_sections.back().get();
}

BOOL CSkinIniFile::HasSection(LPCSTR name) const { return FindSection(name) != nullptr; }

BOOL CSkinIniFile::GetValue(LPCSTR section, LPCSTR key, CString& value) const {
    const CSkinIniSection* found = FindSection(section);
    return found != nullptr && found->GetValue(key, value);
}

// One line of the file: a header starts a section; an entry goes to the current section;
// everything else is kept where it stands.
void CSkinIniFile::ReadLine(Line line, CSkinIniSection*& current) {
    const CString& text = line.strText;
    if (!text.IsEmpty() && text[0] == '[') {
        int close = text.ReverseFind(']');
        if (close > 0) {
            m_sections.push_back(std::make_unique<CSkinIniSection>(text.Mid(1, close - 1)));
            current = m_sections.back().get();
            current->m_header = std::move(line);
            return;
        }
    }
    if (current == nullptr) {
        m_preamble.push_back(std::move(line));
        return;
    }
    int equals = text.Find('=');
    if (!text.IsEmpty() && text[0] != '/' && equals >= 0) {
        line.bEntry = true;
        line.strKey = text.Left(equals);
        line.strValue = text.Mid(equals + 1);
        line.strText.Empty();
    }
    current->LoadLine(std::move(line));
}

// TRUE when the path leads to something other than a plain file or a folder (a FIFO, a device).
BOOL IsDevice(LPCSTR path) {
    const DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE) != 0;
}

BOOL CSkinIniFile::ReadBytes(std::string& bytes) {
    if (IsDevice(m_strPath)) {
        m_strError = kNotAFile;
        return FALSE;
    }
    CFile file;
    if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
        m_strError = kUnableToOpen;
        return FALSE;
    }
    try {
        // Never more than a settings file can be: a file that grows while it is read stops too.
        if (file.GetLength() > kMaxFileBytes) {
            m_strError = kTooLarge;
            return FALSE;
        }
        char chunk[65536];
        for (UINT read; (read = file.Read(chunk, sizeof(chunk))) > 0;) {
            bytes.append(chunk, read);
            if (bytes.size() > kMaxFileBytes) {
                bytes.clear();
                m_strError = kTooLarge;
                return FALSE;
            }
        }
        file.Close();
    } catch (CException* error) {
        error->Delete();
        file.Abort();
        m_strError = kUnableToRead;
        return FALSE;
    }
    return TRUE;
}

void CSkinIniFile::TakeFormat(const std::string& bytes) {
    m_encoding = CStdioFile::DetectEncoding(bytes);
    m_bLfEnds = OnlyLfEnds(bytes);
    m_bFormatRead = TRUE;
}

BOOL CSkinIniFile::Load() {
    if (GetFileAttributes(m_strPath) == INVALID_FILE_ATTRIBUTES) {
        m_strError = kFileNotExist;
        return FALSE;
    }
    std::string read;
    if (!ReadBytes(read)) return FALSE;
    TakeFormat(read);
    const std::string_view bytes = m_read.emplace_back(std::move(read));
    // Lines end at '\n'; a '\r' before it belongs to the line end. A line's text is cut at a
    // NUL byte, its bytes are kept whole.
    CSkinIniSection* current = nullptr;
    size_t start = m_encoding == CStdioFile::Encoding::Utf8WithBom ? 3 : 0;
    while (start < bytes.size()) {
        size_t newline = bytes.find('\n', start);
        Line line;
        line.bRead = true;
        if (newline == std::string::npos) {
            line.raw = bytes.substr(start);
            start = bytes.size();
        } else {
            size_t end = newline > start && bytes[newline - 1] == '\r' ? newline - 1 : newline;
            line.raw = bytes.substr(start, end - start);
            line.end = bytes.substr(end, newline + 1 - end);
            start = newline + 1;
        }
        line.strText = CStdioFile::DecodeText(std::string(line.raw), m_encoding).c_str();
        ReadLine(std::move(line), current);
    }
    return TRUE;
}

std::string CSkinIniFile::EncodeLines(const std::vector<const Line*>& lines) const {
    std::string bytes = m_encoding == CStdioFile::Encoding::Utf8WithBom ? kBom : "";
    const char* fileEnd = m_bLfEnds ? "\n" : "\r\n";
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = *lines[i];
        bool asRead = line.bRead && !line.bChanged;
        if (asRead) {
            bytes += line.raw;
        } else {
            bytes += CStdioFile::EncodeText(line.Text().GetString(), m_encoding);
        }
        // A line read keeps its line end; only the file's last line stays without one.
        bool last = i + 1 == lines.size();
        bytes += !line.end.empty() ? line.end : line.bRead && last ? std::string_view() : std::string_view(fileEnd);
    }
    return bytes;
}

BOOL CSkinIniFile::Save() {
    // A file that was never read is written as it stands on disk; a new one as GBK with CR LF.
    if (!m_bFormatRead && GetFileAttributes(m_strPath) != INVALID_FILE_ATTRIBUTES) {
        std::string bytes;
        if (!ReadBytes(bytes)) return FALSE;
        TakeFormat(bytes);
    }
    std::vector<const Line*> lines;
    for (const Line& line : m_preamble) lines.push_back(&line);
    for (const auto& section : m_sections) section->Write(lines);
    const std::string bytes = EncodeLines(lines);

    // Written beside the file first, under a name nobody holds, synced, and put in its place
    // only when complete, so a failed write or a power loss never leaves the settings empty; the
    // file keeps its mode, owner and group. Through a symbolic link, the file it leads to is the
    // one replaced, so the link stays; a FIFO or a device is never replaced, nor a file with
    // other hard links (a rename would cut them from the new contents).
    const CString target = FinalPath(m_strPath);
    if (IsDevice(target)) {
        m_strError = kNotAFile;
        return FALSE;
    }
    CString temp;
    HANDLE file = CreateBeside(target, temp);
    if (file == INVALID_HANDLE_VALUE) {
        m_strError = kUnableToOpen;
        return FALSE;
    }
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    const bool existed = GetFileAttributes(target) != INVALID_FILE_ATTRIBUTES;
    if (whole && (existed ? ReplaceFile(target, temp, nullptr, 0, nullptr, nullptr)
                          : MoveFileEx(temp, target, MOVEFILE_WRITE_THROUGH))) {
        return TRUE;
    }
    const DWORD error = GetLastError();
    DeleteFile(temp);
    m_strError = whole && error == ERROR_UNABLE_TO_REMOVE_REPLACED ? kHardLinked : kUnableToWrite;
    return FALSE;
}
