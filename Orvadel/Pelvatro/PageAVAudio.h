// CPageAVAudio: the AV/SV audio check: the sound of whatever input the card had (S-video on the test station's chain), a question page.
#pragma once

#include "BaseVideoPage.h"

class CPageAVAudio : public CBaseVideoPage {
public:
    enum { IDD = 144 };
    explicit CPageAVAudio(CWnd* parent = nullptr);
    BOOL StartTest() override;
};
