// CPageRemote: the remote-control page. Four labels show the names of the first four keys of the
// station's [Remote] settings; the operator presses them on the card's remote within the time
// limit. A recognised key turns its label green; the page passes on the first tick after all
// four were seen and fails when the time runs out first.
//
// Label i is the control 1063 + i (NUM, Rec, Up, Full): its name, its colour and its mark all go
// by that id, so a key marks the label that shows its name.
#pragma once

#include <afxwin.h>

#include <set>

#include "BaseTestPage.h"
#include "MBackText.h"

class CPageRemote : public CBaseTestPage {
public:
    enum { IDD = 140 };
    enum { LabelCount = 4, DefaultCountdown = 10 };
    // Label backgrounds: NUM, Rec, Up, Full when the test starts; a recognised key's.
    static const COLORREF kLabelColors[LabelCount];
    static constexpr COLORREF kRecognisedColor = RGB(0, 255, 0);

    explicit CPageRemote(CWnd* parent = nullptr);

    // ---- the page protocol ----
    void InitData() override;
    void InitControls() override;
    void OnTestTimer(UINT_PTR id) override;
    void StopTest() override;
    BOOL StartTest() override;
    // A key-down on a card whose remote arrives as keyboard input is a remote key.
    BOOL PreTranslateMessage(MSG* msg) override;

    // The label of that index (the control 1063 + index); null outside 0 to 3.
    MBackText* Label(int index);
    const std::set<int>& GetPressed() const { return m_setPressed; }
    int GetElapsed() const { return m_nElapsed; }
    int GetCountdown() const { return m_nCountdown; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    afx_msg LRESULT OnRemoteKey(WPARAM keyCode, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    static CString KeyCodeText(const CString& code);
    // The seconds left of the countdown, in IDC_TIME_LEFT.
    void ShowTimeLeft();

    MBackText m_labels[LabelCount];  // bound to 1065, 1064, 1063 and 1066, in this order
    int m_nElapsed;
    int m_nLabelIds[LabelCount];
    std::set<int> m_setPressed;
};
