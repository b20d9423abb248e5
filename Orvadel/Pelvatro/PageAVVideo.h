// CPageAVVideo: the composite video check, a question page.
#pragma once

#include "BaseVideoPage.h"

class CPageAVVideo : public CBaseVideoPage {
public:
    enum { IDD = 142 };
    explicit CPageAVVideo(CWnd* parent = nullptr);
    BOOL StartTest() override;
};
