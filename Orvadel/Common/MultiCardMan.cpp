// CMultiCardMan: the supported cards among the video input devices.
#include "MultiCardMan.h"

#include <uuids.h>

#include "CardMan.h"
#include "graph/DeviceEnum.h"

namespace {

// The cards the station knows: capture filter and crossbar filter of each card's driver.
const struct {
    const char* capture;
    const char* crossbar;
} kKnownCards[] = {
    {"713x_4 TV Card Capture", "713x_4 TV Card Crossbar"},
    {"713x BDA Analog Capture", "713x BDA Analog Xbar"},
};

}  // namespace

HRESULT EnumDeviceFriendlyNames(REFGUID category, std::vector<CString>& names) {
    HRESULT hr = ForEachDevice(category, [&names](IMoniker*, const char* friendlyName) {
        names.push_back(friendlyName);
        return FALSE;
    });
    return hr;
}

CMultiCardMan::CMultiCardMan() { AddKnownCards(); }

CMultiCardMan::~CMultiCardMan() { ReleaseAll(); }

void CMultiCardMan::AddKnownCards() {
    for (const auto& card : kKnownCards) m_known.Add(card.capture, card.crossbar);
}

bool CMultiCardMan::Init() {
    Enumerate();
    CreateCardMen();
    return GetCardCount() > 0;
}

HRESULT CMultiCardMan::Enumerate() {
    ASSERT(!m_known.IsEmpty());
    m_found.RemoveAll();
    std::vector<CString> names;
    HRESULT hr = EnumDeviceFriendlyNames(CLSID_VideoInputDeviceCategory, names);
    // A name matches a known card when its first characters, as many as the longest known
    // capture name has, equal that card's capture name.
    const int prefix = m_known.GetLongestCaptureName();
    if (FAILED(hr)) names.clear();
    for (const CString& name : names) {
        int row = m_known.FindCapture(name.Left(prefix));
        if (row >= 0) m_found.Add(m_known.GetAt(row).m_strCapture, m_known.GetAt(row).m_strCrossbar);
    }
    m_found.NumberCards();
    TRACE("%s", static_cast<LPCSTR>(m_found.Dump()));
    return hr;
}

void CMultiCardMan::CreateCardMen() {
    ReleaseAll();
    for (int i = 0; i < m_found.GetCount(); ++i) m_cards.push_back(new CCardMan(m_found.GetAt(i)));
}

int CMultiCardMan::CreateAll() {
    int opened = 0;
    for (CCardMan* card : m_cards) opened += card->Create() ? 1 : 0;
    return opened;
}

void CMultiCardMan::ReleaseAll() {
    for (CCardMan* card : m_cards) {
        card->Release();
        delete card;
    }
    m_cards.clear();
}

CCardMan* CMultiCardMan::GetCard(int index) const {
    if (index < 0 || index >= GetCardCount()) return nullptr;
    return m_cards[index];
}
