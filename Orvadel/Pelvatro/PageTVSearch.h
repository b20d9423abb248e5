// CPageTVSearch: the tuner test. The page previews the tuner input at 320 x 240 in PAL-D, runs
// the tuner's own scan over its channel table on Search, lists every frequency the scan reports
// with its signal, and steps through the channels that carried one with Chl Down and Chl Up.
// The operator judges it with the pass and fail buttons; it asks no question.
#pragma once

#include <afxwin.h>

#include <vector>

#include "BaseVideoPage.h"

class CPageTVSearch : public CBaseVideoPage {
public:
    enum { IDD = 137 };
    enum { CountryCode = 81 };
    static const float kChannelTableMHz[17];
    static const int kPresetFoundKHz[17];

    explicit CPageTVSearch(CWnd* parent = nullptr);
    ~CPageTVSearch() override;

    // ---- the page protocol ----
    void InitData() override;
    void StopTest() override;
    BOOL StartTest() override;

    // Tunes the found channel the current index names; an index outside the list goes back to 0.
    void TuneCurrent();
    const std::vector<int>& GetFoundList() const { return m_arrFound; }
    int GetCurrentChannel() const { return m_nCurrentChannel; }

protected:
    afx_msg void OnSearch();
    afx_msg void OnNextChannel();
    afx_msg void OnPrevChannel();
    afx_msg LRESULT OnChannelFound(WPARAM kHz, LPARAM signal);
    afx_msg LRESULT OnSearchEnd(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void AddInfo(LPCSTR line);

    std::vector<int> m_arrFound;  // kHz
    int m_nCurrentChannel;
    float* m_pChannelTable;  // MHz, owned
    int m_nChannelCount;
};
