// CBaseVideoPage: a test page that shows the card's live preview in its video area (item 1043),
// names its test in the info list (item 1051) and, half a second after it was entered, asks the
// operator its Yes/No question: Yes passes the page, No fails it. A page with an empty question
// never asks; it waits for its buttons or its own events.
#pragma once

#include <afxwin.h>

#include "BaseTestPage.h"

class CBaseVideoPage : public CBaseTestPage {
public:
    enum { TimerAsk = 8 };
    enum { AskDelayMs = 500 };

    CBaseVideoPage(UINT templateId, CWnd* parent);

    // ---- the page protocol ----
    void OnTestTimer(UINT_PTR id) override;
    void StopTest() override;
    BOOL StartTest() override;
    // Asks the question (when there is one) in the application's message box.
    virtual void AskOperator();

    const CString& GetQuestion() const { return m_strQuestion; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // The info list holds this one line.
    void ShowInfo(LPCSTR line);
    // Routes the card's input; a refusal is traced, the page goes on.
    void SelectInput(int input);
    // A question page's entry: the info line, the input routed before or after the preview is
    // started (kNoInput: the card keeps its input), then StartTest of this class.
    enum { kNoInput = -1 };
    BOOL StartQuestion(LPCSTR infoLine, int input, bool inputAfterPreview);

    CListBox m_listInfo;   // item 1051
    CStatic m_videoArea;   // item 1043
    CString m_strQuestion;
};
