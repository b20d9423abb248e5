// CPageSVVideo: the S-video input, routed before the preview.
#include "PageSVVideo.h"

CPageSVVideo::CPageSVVideo(CWnd* parent) : CBaseVideoPage(IDD, parent) {
    m_strQuestion = "SV 视频是否正常";
    m_strFailText = "SV 视频不正常";
}

BOOL CPageSVVideo::StartTest() { return StartQuestion("SV 视频测试", 2, false); }
