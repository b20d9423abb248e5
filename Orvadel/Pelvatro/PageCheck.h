// CPageCheck: the first page of every card on the test station. It shows what the station
// expects (model, country, features of the settings), what the card's EEPROM carries (product,
// card number, tuner, EEPROM state) and the card's index in large green digits. The operator
// passes it with 1053; a countdown, where a station sets one, passes it by itself.
#pragma once

#include <afxwin.h>

#include "BaseTestPage.h"
#include "MBackText.h"

class CPageCheck : public CBaseTestPage {
public:
    enum { IDD = 136 };

    explicit CPageCheck(CWnd* parent = nullptr);

    // ---- the page protocol ----
    void OnTestTimer(UINT_PTR id) override;
    BOOL StartTest() override;

    // Static 1072 and the index display with what the card's EEPROM holds.
    BOOL ShowCardInfo();
    void SetCountdown(int seconds) { m_nCountdown = seconds; }
    MBackText& IndexDisplay() { return m_indexDisplay; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    afx_msg void OnWriteEeprom() {}
    afx_msg LRESULT OnWriteProgress(WPARAM thread, LPARAM percent);
    DECLARE_MESSAGE_MAP()

private:
    void ShowCountdown();

    CListBox m_listFeatures;     // item 1047
    MBackText m_indexDisplay;    // item 1006
    int m_nElapsed;              // seconds
};
