// CPageError: the result page, "测试结果(Result)". It shows a large green "Pass" while the run has
// no failure, else the run's first failure in red, says what comes next (the next card, the
// power-off, or the program's restart) and does it when the operator presses its button.
#pragma once

#include <afxwin.h>

#include "BaseTestPage.h"
#include "MBackText.h"

class CPageError : public CBaseTestPage {
public:
    enum { IDD = 138 };

    explicit CPageError(CWnd* parent = nullptr);

    // ---- the page protocol ----
    void InitControls() override;
    BOOL StartTest() override;
    void OnTestTimer(UINT_PTR id) override;
    void OnPass() override;

    MBackText& PassDisplay() { return m_passText; }
    MBackText& ActionLabel() { return m_actionText; }
    MBackText& FailDisplay() { return m_failText; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // The failure display's font for this text: the page's large letters, made smaller only as
    // far as the text needs to fit the display whole.
    void FitFailFont(const CString& text);

private:
    MBackText m_passText;    // 1072
    MBackText m_actionText;  // 1071
    MBackText m_failText;    // 1070
};
