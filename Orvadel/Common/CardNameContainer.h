// The card-name rows: which driver filters make one supported card (capture filter and crossbar
// filter FriendlyNames) and which of several devices of that name it is.
#pragma once

#include <afx.h>

#include <vector>

class CCardName {
public:
    CCardName() : m_nIndex(0) {}
    CCardName(LPCSTR capture, LPCSTR crossbar, int index) : m_strCapture(capture), m_strCrossbar(crossbar), m_nIndex(index) {}

    const CString& GetCaptureName() const { return m_strCapture; }
    const CString& GetCrossbarName() const { return m_strCrossbar; }
    int GetIndex() const { return m_nIndex; }
    void SetIndex(int index) { m_nIndex = index; }

    CString m_strCapture;
    CString m_strCrossbar;
    // Among the devices with the same capture name, in enumeration order (0 the first).
    int m_nIndex;
};

// A row with the results of an EEPROM check.
class CCardInfo : public CCardName {
public:
    enum { StateNotWritten = 0, StateWritten = 1, StateCorrect = 2 };

    CCardInfo() : m_nProductType(0), m_nTunerModel(0), m_bFM(0), m_nState(StateNotWritten) {}
    CCardInfo& operator=(const CCardName& name) {
        CCardName::operator=(name);
        return *this;
    }

    int m_nProductType;
    int m_nTunerModel;
    BYTE m_bFM;
    int m_nState;
};

class CCardNameContainer {
public:
    virtual ~CCardNameContainer() = default;

    // Appends a row with index 0.
    void Add(LPCSTR capture, LPCSTR crossbar);
    void Add(const CCardName& row) { m_rows.push_back(row); }
    void RemoveAll() { m_rows.clear(); }

    // Position of the first row whose name equals `name` exactly; -1 when none.
    int FindCapture(LPCSTR name) const;
    int FindCrossbar(LPCSTR name) const;
    // Numbers the devices that share a capture name 0, 1, ... in row order.
    void NumberCards();
    // One line per row: "Card = %s, Bar = %s, Index = %d".
    CString Dump() const;

    int GetCount() const { return static_cast<int>(m_rows.size()); }
    BOOL IsEmpty() const { return m_rows.empty(); }
    const CCardName& GetAt(int position) const { return m_rows.at(position); }
    // The longest capture name of the rows, in characters.
    int GetLongestCaptureName() const;

private:
    std::vector<CCardName> m_rows;
};
