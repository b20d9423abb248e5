// CPageTVAudio: the tuner's sound check, a question page.
#pragma once

#include "BaseVideoPage.h"

class CPageTVAudio : public CBaseVideoPage {
public:
    enum { IDD = 141 };
    explicit CPageTVAudio(CWnd* parent = nullptr);
    BOOL StartTest() override;
};
