// CPageAVVideo: the composite input, routed before the preview.
#include "PageAVVideo.h"

CPageAVVideo::CPageAVVideo(CWnd* parent) : CBaseVideoPage(IDD, parent) {
    m_strQuestion = "AV视频是否正常";
    m_strFailText = "AV视频不正常";
}

BOOL CPageAVVideo::StartTest() { return StartQuestion("AV 视频测试", 1, false); }
