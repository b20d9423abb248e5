// CPageTVAudio: the tuner input, routed once the preview runs.
#include "PageTVAudio.h"

CPageTVAudio::CPageTVAudio(CWnd* parent) : CBaseVideoPage(IDD, parent) {
    m_strQuestion = "TV音频是否正常";
    m_strFailText = "TV音频不正常";
}

BOOL CPageTVAudio::StartTest() { return StartQuestion("TV 音频测试", 0, true); }
