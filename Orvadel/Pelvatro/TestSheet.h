// CTestSheet: the modal dialog that carries the station's pages and owns what lives for one run
// of the station: the card manager, the EEPROM writer with its write threads, the byte-access
// objects handed to those threads, the page table, the current card and the failure texts.
//
// Pages are chained by name: each table entry names the page shown after it passes; any failure
// leads to "测试结果(Result)", and every card starts at "检测(Check)". The station's own sheet
// registers one page, the EEPROM page, as "Write Eeprom".
#pragma once

#include <afxwin.h>

#include <list>
#include <map>
#include <vector>

#include "CardRWInterface.h"
#include "MultiCardMan.h"
#include "colorbtn.h"
#include "dunmorra/EppromWriter.h"

class CBaseTestPage;
class CCardMan;
class CPelvatroDlg;
class CTVCardFilter;

// Page names the sheet itself uses.
#define PAGE_WRITE_EEPROM "Write Eeprom"
#define PAGE_CHECK "检测(Check)"
#define PAGE_RESULT "测试结果(Result)"

class CTestSheet : public CDialog {
public:
    enum { IDD = 134 };

    struct PageEntry {
        CBaseTestPage* pPage;  // owned
        CString strNext;
    };

    explicit CTestSheet(CWnd* parent);
    ~CTestSheet() override;

    BOOL OnInitDialog() override;
    // A device change taken from the sheet's loop goes to the current page.
    BOOL PreTranslateMessage(MSG* msg) override;
    // Closing the sheet (its close box, Escape) waits until no EEPROM write runs.
    void OnOK() override;
    void OnCancel() override;

    // ---- pages ----
    // Enters a page into the table (the sheet owns it from then on).
    void AddPage(LPCSTR name, CBaseTestPage* page, LPCSTR next);
    BOOL ShowPage(LPCSTR name);
    void NextPage();
    void AddFailure(LPCSTR text);
    void OnPageFail(LPCSTR text);
    BOOL IsPassed() const { return m_vecFailures.empty(); }
    const std::vector<CString>& GetFailures() const { return m_vecFailures; }
    CBaseTestPage* GetCurrentPage() const { return m_pCurrentPage; }
    CBaseTestPage* FindPage(LPCSTR name) const;
    // Ends the run: power-off request, result log, the sheet ends with IDOK.
    void FinishTest();
    // As FinishTest, without asking for the power-off; false when the record was not written.
    bool RestartTest();

    // ---- cards ----
    bool CreateCards();
    CCardMan* GetCard(int index) const;
    int GetCardCount() const { return m_cardMan.GetCardCount(); }
    CMultiCardMan& GetCardMan() { return m_cardMan; }
    // Starts the background write of one card's image to the target window; the thread, or
    // null when the card has no card filter, its image cannot be made or the write does not start.
    CWriteThread* WriteCardEeprom(int index, int productType, int tunerModel, HWND target);
    CCardRWInterface* NewRWInterface(CTVCardFilter* filter);
    bool RemoveRWInterface(const CCardRWInterface& rw);
    int FindCardOfRW(const CCardRWInterface& rw) const;
    // Deletes the write threads, then the byte-access objects.
    void EndWrite();
    // True from the start of a card's write until EndWrite.
    bool IsWriting() const { return !m_listRW.empty(); }
    // EndWrite, then releases the cards.
    void ReleaseCards();
    void ReleaseCard(int index);
    BOOL SelectCurrentCard();
    BOOL SetPagesCard(int index);
    BOOL IsLastCard() const { return m_nCurrentCard >= GetCardCount() - 1; }
    BOOL NextCard();
    int GetCurrentCard() const { return m_nCurrentCard; }
    BOOL IsTestStation() const;
    // Reads the card's EEPROM and fills the info with what it holds; false without a card
    // filter or when the EEPROM cannot be read.
    bool CheckCardEeprom(CCardMan* card, CCardInfo* info);

    // ---- result log (ResultLog.cpp) ----
    bool WriteResultLog();
    void FormatResult(std::vector<CString>& lines);
    static bool AppendLines(const std::vector<CString>& lines, LPCSTR path);

    CPelvatroDlg* GetMainDlg() const;
    CEppromWriter& GetWriter() { return m_writer; }

protected:
    void BuildPages();
    void CreatePages();
    void LayoutPages();
    void DeletePages();

    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CMultiCardMan m_cardMan;
    // The write threads point at these objects: a list, so they never move.
    std::list<CCardRWInterface> m_listRW;
    CEppromWriter m_writer;
    CColorButton m_btnColor;  // attached to no control
    CBaseTestPage* m_pCurrentPage;
    CString m_strNextPage;
    int m_nCurrentCard;
    std::vector<CString> m_vecFailures;
    std::map<CString, PageEntry> m_mapPages;
};
