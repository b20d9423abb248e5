// CMultiCardMan: finds the plugged cards the station supports by the FriendlyNames of the video
// input devices and owns one CCardMan per card, in device order.
#pragma once

#include <afx.h>
#include <strmif.h>

#include <vector>

#include "CardNameContainer.h"

class CCardMan;

// The FriendlyNames of a device category, in enumeration order.
HRESULT EnumDeviceFriendlyNames(REFGUID category, std::vector<CString>& names);

class CMultiCardMan {
public:
    CMultiCardMan();
    CMultiCardMan(const CMultiCardMan&) = delete;
    CMultiCardMan& operator=(const CMultiCardMan&) = delete;
    virtual ~CMultiCardMan();

    // Enumerates and makes one card object per card found; true when there is at least one.
    bool Init();
    HRESULT Enumerate();
    // Releases the cards held, then makes one per found row.
    void CreateCardMen();
    // Opens every card in order; the number that opened.
    int CreateAll();
    void ReleaseAll();

    CCardMan* GetCard(int index) const;
    int GetCardCount() const { return static_cast<int>(m_cards.size()); }
    const CCardNameContainer& GetFoundCards() const { return m_found; }
    const CCardNameContainer& GetKnownCards() const { return m_known; }

private:
    void AddKnownCards();

    CCardNameContainer m_found;
    CCardNameContainer m_known;
    std::vector<CCardMan*> m_cards;
};
