// CPageAVAudio: no input of its own: the card keeps the one it had.
#include "PageAVAudio.h"

CPageAVAudio::CPageAVAudio(CWnd* parent) : CBaseVideoPage(IDD, parent) {
    m_strQuestion = "AV/SV音频是否正常";
    m_strFailText = "AV/SV音频不正常";
}

BOOL CPageAVAudio::StartTest() { return StartQuestion("AV/SV 音频测试", kNoInput, false); }
