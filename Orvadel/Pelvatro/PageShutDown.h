// CPageShutDown: a plain last page: the next card, or on the last card the end of the run.
#pragma once

#include <afxwin.h>

#include "BaseTestPage.h"

class CPageShutDown : public CBaseTestPage {
public:
    enum { IDD = 139 };
    enum { ShutDownSeconds = 5 };

    explicit CPageShutDown(CWnd* parent = nullptr);

    // ---- the page protocol ----
    BOOL StartTest() override;
    void OnTestTimer(UINT_PTR id) override;
    void OnPass() override;

    CListBox& TextList() { return m_list; }

protected:
    void DoDataExchange(CDataExchange* dx) override;

private:
    CListBox m_list;  // 1055, hidden in the template
};
