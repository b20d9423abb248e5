// CStdioFile: a file read and written by lines. In text mode (the default) lines are written
// with CR LF and read with either line end, and the text is converted between the program's
// UTF-8 and the file's encoding: a file with a UTF-8 byte-order mark, or whose non-ASCII bytes
// are mostly whole UTF-8 characters, is UTF-8; any other file, and every new or emptied file, is
// GBK. Writing keeps the encoding the file had. A byte that starts no character of the file's
// encoding reads as U+FFFD; a line written back unchanged gets the bytes it was read from, so a
// stray byte never changes the file.
#pragma once

#include <deque>
#include <map>
#include <string>

#include "mfc/File.h"

class PLATFORM_API CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    enum class Encoding { Gbk, Utf8, Utf8WithBom };

    CStdioFile() = default;
    // Opens the file or throws CFileException*.
    CStdioFile(LPCSTR fileName, UINT openFlags);

    BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    void Close() override;
    void Abort() override;

    // The next line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& line);
    // Like fgets: at most maxCount - 1 characters, the line end kept as "\n"; null at the end.
    virtual LPSTR ReadString(LPSTR buffer, UINT maxCount);
    virtual void WriteString(LPCSTR text);

    Encoding GetEncoding() const { return m_encoding; }
    // The encoding text mode takes a file's whole content to be in; the text of one line of it
    // in the program's UTF-8, and back.
    static Encoding DetectEncoding(const std::string& content);
    static std::string DecodeText(const std::string& raw, Encoding encoding);
    static std::string EncodeText(const std::string& utf8, Encoding encoding);
    BOOL IsTextMode() const { return m_bText; }

protected:
    void SyncPosition() override;

private:
    // Reads raw bytes up to and without the next '\n'; false at the end of the file.
    bool ReadRawLine(std::string& line, bool& endedWithNewline);
    bool FillBuffer();
    void DropBuffer();
    std::string Decode(const std::string& raw) const;
    std::string Encode(const std::string& utf8) const;
    // One line of text in the file's encoding: the bytes it was read from when the line is one
    // the file held at Open, else the line encoded.
    std::string EncodeLine(const std::string& utf8);
    // Keeps the bytes of the lines that decoding would not give back as they were.
    void RememberLines(const std::string& content);

    bool m_bText = true;
    Encoding m_encoding = Encoding::Gbk;
    std::string m_buffer;   // raw bytes read ahead of the logical position
    size_t m_bufferPos = 0;
    std::string m_pending;  // decoded rest of a line that ReadString(LPSTR, UINT) cut
    // Lines of the file at Open whose text does not encode back to their bytes, by their text.
    std::map<std::string, std::deque<std::string>> m_asRead;
};
