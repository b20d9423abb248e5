// CPageRecord: the record page. It records five seconds of the tuner input through the card's
// MPEG encoder into a file in the program's folder, named after the time of day and never over
// an older recording, then asks the player to play it and goes on to the next page by itself.
// A recording that breaks on the way fails the card with the reason, as one that cannot start.
// The fail button stops the recording at once.
#pragma once

#include <afxwin.h>

#include "BaseVideoPage.h"

class CPageRecord : public CBaseVideoPage {
public:
    enum { IDD = 147 };
    enum { TimerProgress = 5, TimerPlay = 6 };
    // Every tick looks at the file: it must grow within StallCheckTicks ticks, and within the
    // last EndStallTicks ticks before the stop.
    enum { ProgressPeriodMs = 50, PlayDelayMs = 1000, ProgressTicks = 100, StallCheckTicks = 40, EndStallTicks = 4 };

    explicit CPageRecord(CWnd* parent = nullptr);

    // ---- the page protocol ----
    BOOL StartTest() override;
    void StopTest() override;
    void OnFail() override;
    void OnTestTimer(UINT_PTR id) override;

    bool StartRecording();
    bool SetupEncoder();
    // False when the recording under way broke (the graph reported a failure, or the file stopped
    // growing): it is stopped, the page says why and fails the card when the recording would
    // have ended.
    bool RecordingGoesOn();
    // Why the recording broke so far (the graph's failures, the stop's included, or a file that
    // stopped growing); empty when it did not.
    CString RecordFault();
    // Says why and fails the card `ticksLeft` ticks and the play delay later.
    void FailRecording(const CString& reason, int ticksLeft);
    void StopRecording();
    void PlayRecording();
    // The program's folder, the time of day "%H_%M_%S" and ".mpg"; "_1", "_2", ... before the
    // extension while a file of that name exists.
    CString MakeRecordFileName() const;

    const CString& GetRecordFile() const { return m_strRecordFile; }
    const CString& GetProgressText() const { return m_strProgress; }
    bool IsRecording() const { return m_bRecording; }
    // The tick counter of the recording under way, shared by every record page.
    static int GetProgress() { return s_nProgress; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strProgress;
    CString m_strRecordFile;
    bool m_bRecording;
    DWORD m_dwCheckedSize = 0;  // the file's size at the last look
    int m_nGrewAt = 0;          // the tick at which it last grew
    static int s_nProgress;
};
