// CSkinIniSection: the entries of one section and their typed values as text.
#include "SkinIniFile.h"

#include <stdlib.h>

#include <algorithm>
#include <bit>
#include <string_view>

namespace {

// The numbers of a comma-separated text, each read with atoi.
std::vector<int> SplitNumbers(const CString& text) {
    std::vector<int> numbers;
    int start = 0;
    for (;;) {
        int comma = text.Find(',', start);
        CString piece = comma < 0 ? text.Mid(start) : text.Mid(start, comma - start);
        numbers.push_back(atoi(piece));
        if (comma < 0) break;
        start = comma + 1;
    }
    return numbers;
}

int CountChar(const CString& text, char ch) {
    int count = 0;
    for (int i = 0; i < text.GetLength(); ++i) count += text[i] == ch;
    return count;
}

// A number entry read with `convert`; value is untouched when the key has no entry.
template <class T, class Convert>
BOOL ReadNumber(const CSkinIniSection& section, LPCSTR key, T& value, Convert convert) {
    CString text;
    if (!section.GetValue(key, text)) return FALSE;
    value = convert(text);
    return TRUE;
}

// The text of printf-style arguments.
template <class... Args>
CString Formatted(const char* format, Args... args) {
    CString text;
    text.Format(format, args...);
    return text;
}

CString CutAtComment(const CString& stored) {
    int comment = stored.Find(';');
    return comment < 0 ? stored : stored.Left(comment);
}

// A stored key as lookups compare it: without the blanks around it.
std::string_view KeyOf(const CString& key) {
    std::string_view text(key.GetString(), static_cast<size_t>(key.GetLength()));
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

CString TrimmedKey(const CString& key) {
    CString trimmed = key;
    trimmed.Trim(' ');
    return trimmed;
}

}  // namespace

CSkinIniSection::CSkinIniSection(LPCSTR name) : m_strName(name) { m_header.strText = "[" + m_strName + "]"; }

void CSkinIniSection::Index(int line) const {
    if (2 * (m_nIndexed + 1) > m_slots.size()) {
        // Grown to twice the entries and filled again in file order, `line` among them.
        m_slots.assign(std::max<size_t>(16, std::bit_ceil(4 * m_entries.size())), Slot{0, -1});
        m_nIndexed = 0;
        for (int entry : m_entries) Place(entry);
        return;
    }
    Place(line);
}

void CSkinIniSection::Place(int line) const {
    const std::string_view key = KeyOf(m_lines[line].strKey);
    const size_t hash = std::hash<std::string_view>{}(key);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.line < 0) {
            slot = Slot{hash, line};
            ++m_nIndexed;
            return;
        }
        // A key's later rows are kept, but its first row is the one read and written.
        if (slot.hash == hash && KeyOf(m_lines[slot.line].strKey) == key) return;
    }
}

int CSkinIniSection::FindEntry(LPCSTR key) const {
    if (m_slots.empty()) {
        if (m_entries.empty()) return -1;
        Index(m_entries.front());
    }
    const std::string_view wanted(key);
    const size_t hash = std::hash<std::string_view>{}(wanted);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.line < 0) return -1;
        if (slot.hash == hash && KeyOf(m_lines[slot.line].strKey) == wanted) return slot.line;
    }
}

BOOL CSkinIniSection::GetValue(LPCSTR key, CString& value) const {
    int line = FindEntry(key);
    if (line < 0) return FALSE;
    value = CutAtComment(m_lines[line].strValue);
    return TRUE;
}

BOOL CSkinIniSection::SetValue(LPCSTR key, LPCSTR value) {
    int line = FindEntry(key);
    if (line >= 0) {
        // The operator's comment after the value stays with it.
        CString& stored = m_lines[line].strValue;
        int comment = stored.Find(';');
        CString newValue = value;
        if (comment >= 0 && newValue.Find(';') < 0) newValue += stored.Mid(comment);
        if (newValue != stored) m_lines[line].bChanged = true;
        stored = newValue;
        return TRUE;
    }
    // A new entry follows the section's last line that is not blank, so the blank lines that
    // part it from the next section stay there. Every entry lies before it, so no entry moves.
    size_t at = m_lines.size();
    while (at > 0 && !m_lines[at - 1].bEntry && CString(m_lines[at - 1].strText).Trim().IsEmpty()) --at;
    Line entry;
    entry.bEntry = true;
    entry.strKey = key;
    entry.strValue = value;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
    m_entries.push_back(static_cast<int>(at));
    if (!m_slots.empty()) Index(static_cast<int>(at));
    return TRUE;
}

void CSkinIniSection::LoadLine(Line line) {
    // A key's later rows are kept, but its first row is the one read and written.
    const bool entry = line.bEntry;
    m_lines.push_back(std::move(line));
    if (!entry) return;
    m_entries.push_back(static_cast<int>(m_lines.size() - 1));
    if (!m_slots.empty()) Index(static_cast<int>(m_lines.size() - 1));
}

void CSkinIniSection::Write(std::vector<const Line*>& lines) const {
    lines.push_back(&m_header);
    for (const Line& line : m_lines) lines.push_back(&line);
}

int CSkinIniSection::GetKeyCount() const { return static_cast<int>(m_entries.size()); }

BOOL CSkinIniSection::GetEntry(int index, CString& key, CString& value) const {
    if (index < 0 || index >= GetKeyCount()) return FALSE;
    const Line& line = m_lines[m_entries[index]];
    key = TrimmedKey(line.strKey);
    value = CutAtComment(line.strValue);
    return TRUE;
}

// ---- typed reads ----

BOOL CSkinIniSection::GetInt(LPCSTR key, int& value) const {
    return ReadNumber(*this, key, value, [](const CString& text) { return atoi(text); });
}

BOOL CSkinIniSection::GetInt(LPCSTR key, UINT& value) const {
    return ReadNumber(*this, key, value, [](const CString& text) { return static_cast<UINT>(atol(text)); });
}

BOOL CSkinIniSection::GetFloat(LPCSTR key, float& value) const {
    return ReadNumber(*this, key, value, [](const CString& text) { return static_cast<float>(atof(text)); });
}

BOOL CSkinIniSection::GetDouble(LPCSTR key, double& value) const {
    return ReadNumber(*this, key, value, [](const CString& text) { return atof(text); });
}

BOOL CSkinIniSection::GetPoint(LPCSTR key, CPoint& value) const {
    CString text;
    if (!GetValue(key, text) || text.GetLength() < 3 || text.Find(',') < 0) return FALSE;
    std::vector<int> numbers = SplitNumbers(text);
    value = CPoint(numbers[0], numbers[1]);
    return TRUE;
}

BOOL CSkinIniSection::GetSize(LPCSTR key, CSize& value) const {
    CPoint point;
    if (!GetPoint(key, point)) return FALSE;
    value = CSize(point.x, point.y);
    return TRUE;
}

BOOL CSkinIniSection::GetRect(LPCSTR key, CRect& value) const {
    CString text;
    if (!GetValue(key, text) || text.GetLength() < 7 || CountChar(text, ',') < 3) return FALSE;
    std::vector<int> numbers = SplitNumbers(text);
    value = CRect(numbers[0], numbers[1], numbers[2], numbers[3]);
    return TRUE;
}

BOOL CSkinIniSection::GetColor(LPCSTR key, COLORREF& value) const {
    CString text;
    if (!GetValue(key, text) || text.GetLength() < 5 || CountChar(text, ',') < 2) return FALSE;
    std::vector<int> numbers = SplitNumbers(text);
    value = RGB(numbers[0], numbers[1], numbers[2]);
    return TRUE;
}

BOOL CSkinIniSection::GetString(LPCSTR key, CString& value) const { return GetValue(key, value); }

BOOL CSkinIniSection::GetStringList(LPCSTR key, CStringList& list, char separator) const {
    CString text;
    if (!GetValue(key, text)) return FALSE;
    int start = 0;
    for (;;) {
        int at = text.Find(separator, start);
        if (at < 0) break;
        list.AddTail(text.Mid(start, at - start));
        start = at + 1;
    }
    list.AddTail(text.Mid(start));
    return TRUE;
}

BOOL CSkinIniSection::GetTime(LPCSTR key, CTime& value) const {
    CString text;
    if (!GetValue(key, text) || text.GetLength() < 10) return FALSE;
    // Fields the text does not give keep the value's own.
    int fields[6] = {value.GetYear(), value.GetMonth(), value.GetDay(),
                     value.GetHour(), value.GetMinute(), value.GetSecond()};
    std::vector<int> numbers = SplitNumbers(text);
    for (size_t i = 0; i < numbers.size() && i < 6; ++i) fields[i] = numbers[i];
    value = CTime(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
    return TRUE;
}

BOOL CSkinIniSection::GetTimeSpan(LPCSTR key, CTimeSpan& value) const {
    CRect fields;
    if (!GetRect(key, fields)) return FALSE;
    value = CTimeSpan(fields.left, fields.top, fields.right, fields.bottom);
    return TRUE;
}

// ---- typed writes ----

BOOL CSkinIniSection::SetInt(LPCSTR key, int value) { return SetValue(key, Formatted("%d", value)); }

BOOL CSkinIniSection::SetInt(LPCSTR key, UINT value) { return SetValue(key, Formatted("%d", value)); }

BOOL CSkinIniSection::SetFloat(LPCSTR key, float value) { return SetDouble(key, value); }

BOOL CSkinIniSection::SetDouble(LPCSTR key, double value) { return SetValue(key, Formatted("%f", value)); }

BOOL CSkinIniSection::SetPoint(LPCSTR key, POINT value) { return SetValue(key, Formatted("%d,%d", value.x, value.y)); }

BOOL CSkinIniSection::SetSize(LPCSTR key, SIZE value) { return SetPoint(key, POINT{value.cx, value.cy}); }

BOOL CSkinIniSection::SetRect(LPCSTR key, const RECT& value) {
    return SetValue(key, Formatted("%d,%d,%d,%d", value.left, value.top, value.right, value.bottom));
}

BOOL CSkinIniSection::SetColor(LPCSTR key, COLORREF value) {
    return SetValue(key, Formatted("%d,%d,%d", GetRValue(value), GetGValue(value), GetBValue(value)));
}

BOOL CSkinIniSection::SetString(LPCSTR key, LPCSTR value) { return SetValue(key, value); }

BOOL CSkinIniSection::SetStringList(LPCSTR key, const CStringList& list, char separator) {
    CString text;
    for (POSITION position = list.GetHeadPosition(); position != nullptr;) {
        if (position != list.GetHeadPosition()) text += separator;
        text += list.GetNext(position);
    }
    return SetValue(key, text);
}

BOOL CSkinIniSection::SetTime(LPCSTR key, const CTime& value) { return SetValue(key, value.Format("%Y,%m,%d,%H,%M,%S")); }

BOOL CSkinIniSection::SetTimeSpan(LPCSTR key, const CTimeSpan& value) {
    return SetRect(key, CRect(value.GetDays(), value.GetHours(), value.GetMinutes(), value.GetSeconds()));
}
