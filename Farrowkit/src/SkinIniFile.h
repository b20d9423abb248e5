// CSkinIniFile: a settings file of the ini kind held in memory. [section] lines start sections,
// key=value lines fill them, and a value read back is cut at its first ';' (the rest is a
// comment). Typed reads and writes carry integers, floats, points, sizes, rectangles, colours,
// times, time spans, strings and string lists as text.
//
// Saving writes the file back as it was read: comment lines, blank lines and every other line
// the reader did not take stay where they were, each with the bytes and the line end it was read
// with; only the lines whose values were set change, and entries and sections that did not exist
// are added at the end of their section and of the file. A key given twice in a section is read
// and written at its first row; the later row stays in the file as it was. The file is written
// back in the encoding it was read with (GBK, UTF-8, or UTF-8 with its byte-order mark; see
// CStdioFile); a line made or changed in memory ends in LF when every line of the file ended in
// LF, else in CR LF. A file that was never read is taken as it stands on disk; a new file is GBK
// with CR LF. Loading takes time in proportion to the file's size.
#pragma once

#include <afx.h>

#include <memory>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

class CSkinIniSection {
public:
    explicit CSkinIniSection(LPCSTR name);
    CSkinIniSection(const CSkinIniSection&) = delete;
    CSkinIniSection& operator=(const CSkinIniSection&) = delete;

    const CString& GetName() const { return m_strName; }

    // The stored value cut at its first ';'; FALSE when the key does not exist.
    BOOL GetValue(LPCSTR key, CString& value) const;
    // Sets the value of the key, or appends the entry; always TRUE.
    BOOL SetValue(LPCSTR key, LPCSTR value);

    // Each Get answers TRUE when the key exists and its text parses; otherwise FALSE with the
    // output left as it was.
    BOOL GetInt(LPCSTR key, int& value) const;
    BOOL GetInt(LPCSTR key, UINT& value) const;
    BOOL GetFloat(LPCSTR key, float& value) const;
    BOOL GetDouble(LPCSTR key, double& value) const;
    BOOL GetPoint(LPCSTR key, CPoint& value) const;
    BOOL GetSize(LPCSTR key, CSize& value) const;
    BOOL GetRect(LPCSTR key, CRect& value) const;
    BOOL GetColor(LPCSTR key, COLORREF& value) const;
    BOOL GetString(LPCSTR key, CString& value) const;
    // Appends each piece of the value between separators to the list.
    BOOL GetStringList(LPCSTR key, CStringList& list, char separator) const;
    BOOL GetTime(LPCSTR key, CTime& value) const;
    BOOL GetTimeSpan(LPCSTR key, CTimeSpan& value) const;

    BOOL SetInt(LPCSTR key, int value);
    BOOL SetInt(LPCSTR key, UINT value);
    BOOL SetFloat(LPCSTR key, float value);
    BOOL SetDouble(LPCSTR key, double value);
    BOOL SetPoint(LPCSTR key, POINT value);
    BOOL SetSize(LPCSTR key, SIZE value);
    BOOL SetRect(LPCSTR key, const RECT& value);
    BOOL SetColor(LPCSTR key, COLORREF value);
    BOOL SetString(LPCSTR key, LPCSTR value);
    BOOL SetStringList(LPCSTR key, const CStringList& list, char separator);
    BOOL SetTime(LPCSTR key, const CTime& value);
    BOOL SetTimeSpan(LPCSTR key, const CTimeSpan& value);

    int GetKeyCount() const;
    // The entry at a position in file order (0 .. GetKeyCount() - 1; each row of a key given
    // twice is an entry of its own): its key with the blanks around it removed, and its value
    // cut at ';'. FALSE for a position outside.
    BOOL GetEntry(int index, CString& key, CString& value) const;

private:
    friend class CSkinIniFile;

    // One line of the file: an entry, or a line kept as it was read (a header, a comment, ...).
    struct Line {
        bool bEntry = false;
        CString strKey;    // entry: the text before the first '=' as read
        CString strValue;  // entry: everything after it, a ';' comment included
        CString strText;   // kept line
        // A line read from the file: the bytes it was read from (held by the file), without its
        // line end, and that line end ("\r\n", "\n", or nothing on a last line without one).
        bool bRead = false;
        bool bChanged = false;  // its value was set since
        std::string_view raw;
        std::string_view end;

        CString Text() const { return bEntry ? strKey + "=" + strValue : strText; }
    };

    int FindEntry(LPCSTR key) const;
    // Lines read from the file below the header.
    void LoadLine(Line line);
    // Appends the section's lines, header first, as they are to be written.
    void Write(std::vector<const Line*>& lines) const;

    CString m_strName;
    Line m_header;  // the header line as read; "[name]" for a section made in memory
    std::vector<Line> m_lines;
    // The line of each key's first row, by the key with its blanks removed: a table of (hash,
    // line) slots, open addressing, at most half full; made at the first lookup, once the file's
    // entries are all there.
    struct Slot {
        size_t hash;
        int line;  // -1: empty
    };
    // Indexes an entry of m_entries (all of them when the table grows); Place puts one in.
    void Index(int line) const;
    void Place(int line) const;
    mutable std::vector<Slot> m_slots;
    mutable size_t m_nIndexed = 0;
    std::vector<int> m_entries;  // the line of every entry, in file order
};

class CSkinIniFile {
public:
    CSkinIniFile();
    explicit CSkinIniFile(LPCSTR path);
    CSkinIniFile(const CSkinIniFile&) = delete;
    CSkinIniFile& operator=(const CSkinIniFile&) = delete;
    virtual ~CSkinIniFile();

    const CString& GetPath() const { return m_strPath; }
    void SetPath(LPCSTR path) { m_strPath = path; }
    // The last error: "No error" until a file operation fails.
    const CString& GetError() const { return m_strError; }

    // Reads the file into memory, after the sections already held.
    BOOL Load();
    // Writes the file back (see the top of this file).
    BOOL Save();

    // The first section of that name; a new empty one appended when there is none.
    CSkinIniSection* GetSection(LPCSTR name);
    BOOL HasSection(LPCSTR name) const;
    int GetSectionCount() const { return static_cast<int>(m_sections.size()); }
    int GetKeyCount(LPCSTR section) { return GetSection(section)->GetKeyCount(); }

    // FALSE when the section or the key does not exist; no section is made.
    BOOL GetValue(LPCSTR section, LPCSTR key, CString& value) const;
    BOOL SetValue(LPCSTR section, LPCSTR key, LPCSTR value) { return GetSection(section)->SetValue(key, value); }

    // The typed forms find or make the section, then run the section's operation.
    BOOL GetInt(LPCSTR section, LPCSTR key, int& value) { return GetSection(section)->GetInt(key, value); }
    BOOL GetInt(LPCSTR section, LPCSTR key, UINT& value) { return GetSection(section)->GetInt(key, value); }
    BOOL GetFloat(LPCSTR section, LPCSTR key, float& value) { return GetSection(section)->GetFloat(key, value); }
    BOOL GetDouble(LPCSTR section, LPCSTR key, double& value) { return GetSection(section)->GetDouble(key, value); }
    BOOL GetPoint(LPCSTR section, LPCSTR key, CPoint& value) { return GetSection(section)->GetPoint(key, value); }
    BOOL GetSize(LPCSTR section, LPCSTR key, CSize& value) { return GetSection(section)->GetSize(key, value); }
    BOOL GetRect(LPCSTR section, LPCSTR key, CRect& value) { return GetSection(section)->GetRect(key, value); }
    BOOL GetColor(LPCSTR section, LPCSTR key, COLORREF& value) { return GetSection(section)->GetColor(key, value); }
    BOOL GetString(LPCSTR section, LPCSTR key, CString& value) { return GetSection(section)->GetString(key, value); }
    BOOL GetStringList(LPCSTR section, LPCSTR key, CStringList& list, char separator) {
        return GetSection(section)->GetStringList(key, list, separator);
    }
    BOOL GetTime(LPCSTR section, LPCSTR key, CTime& value) { return GetSection(section)->GetTime(key, value); }
    BOOL GetTimeSpan(LPCSTR section, LPCSTR key, CTimeSpan& value) {
        return GetSection(section)->GetTimeSpan(key, value);
    }

    BOOL SetInt(LPCSTR section, LPCSTR key, int value) { return GetSection(section)->SetInt(key, value); }
    BOOL SetInt(LPCSTR section, LPCSTR key, UINT value) { return GetSection(section)->SetInt(key, value); }
    BOOL SetFloat(LPCSTR section, LPCSTR key, float value) { return GetSection(section)->SetFloat(key, value); }
    BOOL SetDouble(LPCSTR section, LPCSTR key, double value) { return GetSection(section)->SetDouble(key, value); }
    BOOL SetPoint(LPCSTR section, LPCSTR key, POINT value) { return GetSection(section)->SetPoint(key, value); }
    BOOL SetSize(LPCSTR section, LPCSTR key, SIZE value) { return GetSection(section)->SetSize(key, value); }
    BOOL SetRect(LPCSTR section, LPCSTR key, const RECT& value) { return GetSection(section)->SetRect(key, value); }
    BOOL SetColor(LPCSTR section, LPCSTR key, COLORREF value) { return GetSection(section)->SetColor(key, value); }
    BOOL SetString(LPCSTR section, LPCSTR key, LPCSTR value) { return GetSection(section)->SetString(key, value); }
    BOOL SetStringList(LPCSTR section, LPCSTR key, const CStringList& list, char separator) {
        return GetSection(section)->SetStringList(key, list, separator);
    }
    BOOL SetTime(LPCSTR section, LPCSTR key, const CTime& value) { return GetSection(section)->SetTime(key, value); }
    BOOL SetTimeSpan(LPCSTR section, LPCSTR key, const CTimeSpan& value) {
        return GetSection(section)->SetTimeSpan(key, value);
    }

private:
    using Line = CSkinIniSection::Line;

    const CSkinIniSection* FindSection(LPCSTR name) const;
    // The whole file at the path; FALSE, with the error text set, when it cannot be read.
    BOOL ReadBytes(std::string& bytes);
    // Takes the encoding and the line ends of the file's bytes.
    void TakeFormat(const std::string& bytes);
    void ReadLine(Line line, CSkinIniSection*& current);
    // The file's bytes: a line written back unchanged gets the bytes it was read from, so a stray
    // byte never changes the file; the others are encoded and end as the file's lines end.
    std::string EncodeLines(const std::vector<const Line*>& lines) const;

    // How the file was read, and so how it is written.
    CStdioFile::Encoding m_encoding = CStdioFile::Encoding::Gbk;
    BOOL m_bLfEnds = FALSE;
    BOOL m_bFormatRead = FALSE;

    std::vector<std::unique_ptr<CSkinIniSection>> m_sections;
    CString m_strError;
    CString m_strPath;
    std::vector<Line> m_preamble;  // lines before the first header, kept as read
    std::deque<std::string> m_read;  // the bytes of each file read, which the lines point into
};
