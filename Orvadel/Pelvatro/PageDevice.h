// CPageDevice: the EEPROM page, "Write Eeprom" of the test sheet and the write station's whole
// interface. "确 定" has the sheet find and open the cards and starts one background write per
// card; the page shows the progress and, when every write has ended, whether every card was
// written and verified or which cards failed. "取 消" (at the end "关 闭") ends the program; it
// stays disabled while any write runs, so the program never leaves an EEPROM half written.
#pragma once

#include <afxcmn.h>

#include <map>
#include <set>

#include "BaseTestPage.h"
#include "dunmorra/WriteThread.h"

class CPageDevice : public CBaseTestPage {
public:
    enum { IDD = 145 };
    enum { TimerProgress = 0 };

    CPageDevice();

    // ---- the page protocol ----
    void InitControls() override;
    void InitData() override {}
    void OnPass() override;
    BOOL StartTest() override;

    // Starts the write of one card to this page; the thread, or null when none started.
    CWriteThread* WriteCard(int index, int productType, int tunerModel);

    // ---- the card-list variant (the write road uses none of these) ----
    void InitCardList();
    // A row with what the card's EEPROM holds.
    void AddCardRow(int row, CCardMan* card);
    // Readies the page for the next device: OK again, the pass button or the hint to change it.
    void PrepareNextDevice();

    int GetCardCount() const { return m_nCardCount; }
    int GetCardsFinished() const { return m_nCardsFinished; }
    int GetShownPercent() const { return m_nShownPercent; }

protected:
    afx_msg void OnOK() override;
    afx_msg void OnCancel() override;
    afx_msg void OnWriteSelected() {}
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnWriteProgress(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnDeviceChange(UINT event, DWORD_PTR data);
    DECLARE_MESSAGE_MAP()

private:
    // Every write has ended: the verdict, the close button, the threads deleted.
    void EndOfWrites();
    // On a test station: every card written takes the tuner model written to it.
    void UseWrittenTuners();
    void SetStatus(LPCSTR text);
    void EnableItem(int id, BOOL enable);

    CListCtrl m_listCards;
    CImageList m_imageList;
    CProgressCtrl m_progress;
    int m_nCardCount;      // writes started
    int m_nCardsFinished;  // writes that reported their end
    int m_nLastPercent;
    int m_nShownPercent;
    BOOL m_bDone;
    std::map<WPARAM, int> m_mapThreadCard;  // write thread -> card index
    std::set<int> m_setFailedCards;
    BOOL m_bCardNotCreated = FALSE;  // a card did not open: the final status keeps the driver hint
};
