// CBaseTestPage: the base of every page of the test sheet, a modeless child dialog created into
// the sheet. Its virtual operations are the page protocol through which the sheet enters,
// leaves, passes and fails pages; items 1052 and 1053 are every page's fail and pass buttons,
// and timer 7 is a page's time limit (a page fails on its first tick).
#pragma once

#include <afxwin.h>

#include "colorbtn.h"

class CCardMan;
class CPelvatroDlg;
class CTestSheet;

class CBaseTestPage : public CDialog {
public:
    enum { TimerTimeLimit = 7 };

    CBaseTestPage(UINT templateId, CWnd* parent);

    BOOL OnInitDialog() override;
    // A key press of Enter or Escape on a page never reaches the sheet.
    BOOL PreTranslateMessage(MSG* msg) override;

    // ---- the page protocol, in slot order ----
    virtual void InitControls() {}
    virtual void InitData();
    virtual void OnTestTimer(UINT_PTR id);
    virtual void StopTest();
    virtual BOOL CreatePage(CWnd* parent);
    virtual void OnPass();
    virtual void OnFail();
    virtual BOOL StartTest() { return TRUE; }

    // Shows or hides the page; hiding it ends its time limit.
    void Show(BOOL show);
    // The page works on the card of that index; FALSE when there is none.
    BOOL SetCard(int index);
    CTestSheet* GetSheet() const;
    CPelvatroDlg* GetMainDlg() const;

    const CString& GetFailText() const { return m_strFailText; }
    CCardMan* GetCard() const { return m_pCard; }
    int GetCardIndex() const { return m_nCardIndex; }

protected:
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnFailClicked() { OnFail(); }
    afx_msg void OnPassClicked() { OnPass(); }
    DECLARE_MESSAGE_MAP()

protected:
    CString m_strFailText;
    CColorButton m_btnFail;  // item 1052 where the page's template has it
    int m_nCountdown;
    UINT m_nTemplateId;
    CCardMan* m_pCard;
    int m_nCardIndex;
};
