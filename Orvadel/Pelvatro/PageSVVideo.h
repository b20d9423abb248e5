// CPageSVVideo: the S-video check, a question page.
#pragma once

#include "BaseVideoPage.h"

class CPageSVVideo : public CBaseVideoPage {
public:
    enum { IDD = 143 };
    explicit CPageSVVideo(CWnd* parent = nullptr);
    BOOL StartTest() override;
};
