// CSkinIniFile: reading the file into sections and writing it back.
#include "SkinIniFile.h"

#include "GbkText.h"

namespace {

const char kNoError[] = "No error";
const char kFileNotExist[] = "File not exist!";
const char kUnableToOpen[] = "Unable to open ini File!";
const char kUnableToRead[] = "Unable to read file!";
const char kUnableToWrite[] = "Unable to write file!";
const char kBom[] = "\xEF\xBB\xBF";

// TRUE when the bytes have line ends and every one of them is a bare LF.
BOOL OnlyLfEnds(const std::string& bytes) {
    bool any = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        if (i > 0 && bytes[i - 1] == '\r') return FALSE;
        any = true;
    }
    return any ? TRUE : FALSE;
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
void CSkinIniFile::ReadLine(const CString& line, CSkinIniSection*& current) {
    if (!line.IsEmpty() && line[0] == '[') {
        int close = line.ReverseFind(']');
        if (close > 0) {
            m_sections.push_back(std::make_unique<CSkinIniSection>(line.Mid(1, close - 1)));
            current = m_sections.back().get();
            current->m_strHeader = line;
            return;
        }
    }
    int equals = line.Find('=');
    bool entry = !line.IsEmpty() && line[0] != '[' && line[0] != '/' && equals >= 0;
    if (current == nullptr) {
        m_preamble.push_back(line);
    } else if (entry) {
        current->LoadEntry(line.Left(equals), line.Mid(equals + 1));
    } else {
        current->KeepLine(line);
    }
}

BOOL CSkinIniFile::Load() {
    if (GetFileAttributes(m_strPath) == INVALID_FILE_ATTRIBUTES) {
        m_strError = kFileNotExist;
        return FALSE;
    }
    CStdioFile file;
    if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) {
        m_strError = kUnableToOpen;
        return FALSE;
    }
    CSkinIniSection* current = nullptr;
    std::vector<CString> read;
    try {
        CString line;
        while (file.ReadString(line)) {
            read.push_back(line);
            ReadLine(line, current);
        }
        file.Close();
    } catch (CException* error) {
        error->Delete();
        file.Abort();
        m_strError = kUnableToRead;
        return FALSE;
    }
    if (!ReadFormat(read)) {
        m_strError = kUnableToRead;
        return FALSE;
    }
    return TRUE;
}

BOOL CSkinIniFile::ReadFormat(const std::vector<CString>& read) {
    CStdioFile file;
    if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return FALSE;
    std::string bytes;
    try {
        char chunk[4096];
        for (UINT read; (read = file.Read(chunk, sizeof(chunk))) > 0;) bytes.append(chunk, read);
        file.Close();
        // The encoding as the text reader takes it.
        if (!file.Open(m_strPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return FALSE;
        m_encoding = file.GetEncoding();
        file.Close();
    } catch (CException* error) {
        error->Delete();
        file.Abort();
        return FALSE;
    }
    m_bLfEnds = OnlyLfEnds(bytes);
    m_bFormatRead = TRUE;
    // The text reader splits at '\n' and drops a '\r' before it, so the read lines pair up with
    // the file's lines in order.
    std::map<CString, std::deque<std::string>> none;
    size_t start = bytes.compare(0, 3, kBom) == 0 ? 3 : 0;
    for (size_t i = 0; i < read.size() && start < bytes.size(); ++i) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string raw = bytes.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (EncodeLine(read[i], none) != raw) m_asRead[read[i]].push_back(raw);
        start = end + 1;
    }
    return TRUE;
}

std::string CSkinIniFile::EncodeLine(const CString& line,
                                     std::map<CString, std::deque<std::string>>& asRead) const {
    auto it = asRead.find(line);
    if (it == asRead.end()) {
        return m_encoding == CStdioFile::Encoding::Gbk ? Utf8ToGbkText(line) : std::string(line.GetString());
    }
    // Lines of the same text come back with their bytes in the order the file held them.
    std::string raw = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    return raw;
}

std::string CSkinIniFile::EncodeLines(const std::vector<CString>& lines) const {
    std::string bytes = m_encoding == CStdioFile::Encoding::Utf8WithBom ? kBom : "";
    const char* end = m_bLfEnds ? "\n" : "\r\n";
    std::map<CString, std::deque<std::string>> asRead(m_asRead);
    for (const CString& line : lines) {
        bytes += EncodeLine(line, asRead);
        bytes += end;
    }
    return bytes;
}

BOOL CSkinIniFile::Save() {
    // A file that was never read is written as it stands on disk; a new one as GBK with CR LF.
    if (!m_bFormatRead && GetFileAttributes(m_strPath) != INVALID_FILE_ATTRIBUTES && !ReadFormat()) {
        m_strError = kUnableToOpen;
        return FALSE;
    }
    std::vector<CString> lines(m_preamble);
    for (const auto& section : m_sections) section->Write(lines);
    const std::string bytes = EncodeLines(lines);

    // Written beside the file first and put in its place only when complete, so a failed write
    // never leaves the settings empty.
    const CString temp = m_strPath + ".new";
    DeleteFile(temp);
    CFile file;
    if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary)) {
        m_strError = kUnableToOpen;
        return FALSE;
    }
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    } catch (CException* error) {
        error->Delete();
        file.Abort();
        DeleteFile(temp);
        m_strError = kUnableToWrite;
        return FALSE;
    }
    if (!MoveFileEx(temp, m_strPath, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFile(temp);
        m_strError = kUnableToWrite;
        return FALSE;
    }
    return TRUE;
}
