// CTestSheet: the cards of the run and the background writes of their EEPROM images.
//
// Release order: the write threads first (they use the byte-access objects), then the
// byte-access objects (they point at the card filters), then the cards.
#include "TestSheet.h"

#include <algorithm>

#include "BaseTestPage.h"
#include "CardMan.h"
#include "cards/base/TVCardFilter.h"

namespace {

const int kKeshProductType = 84;
const DWORD kDelayBetweenBytesMs = 2;

}  // namespace

bool CTestSheet::CreateCards() {
    bool ok = m_cardMan.Init();
    int count = m_cardMan.GetCardCount();
    if (count > 0) {
        m_cardMan.CreateAll();
    } else {
        AfxMessageBox("没有找到可用设备!");
        TRACE("Not find device!\n");
    }
    return ok;
}

CCardMan* CTestSheet::GetCard(int index) const { return m_cardMan.GetCard(index); }

CWriteThread* CTestSheet::WriteCardEeprom(int index, int productType, int tunerModel, HWND target) {
    CCardMan* card = GetCard(index);
    if (card == nullptr || card->GetCardFilter() == nullptr) return nullptr;
    CTVCardFilter* filter = card->GetCardFilter();

    CEppromData image;
    bool made = false;
    if (productType == kKeshProductType) {
        // The Kesh product carries its own tuner id: a tuner model without one is not written,
        // for an image without it would read back as another tuner.
        KeshTunerID id = static_cast<KeshTunerID>(filter->KeshIdFromModel(tunerModel));
        if (id == KESH_TUNER_ID_NONE) {
            TRACE("CTestSheet::WriteCardEeprom - tuner model %d has no Kesh tuner id\n", tunerModel);
            return nullptr;
        }
        made = m_writer.MakeEppromData(static_cast<EMProductType>(productType), id, image,
                                       static_cast<TUNER_MODEL>(tunerModel));
    } else {
        made = m_writer.MakeEppromData(static_cast<EMProductType>(productType), static_cast<TUNER_MODEL>(tunerModel),
                                       image);
    }
    if (!made) return nullptr;

    CCardRWInterface* rw = NewRWInterface(filter);
    CWriteThread* thread = m_writer.WriteEeprom(rw, image, target, kDelayBetweenBytesMs);
    if (thread == nullptr) RemoveRWInterface(*rw);
    return thread;
}

CCardRWInterface* CTestSheet::NewRWInterface(CTVCardFilter* filter) {
    m_listRW.emplace_back(filter);
    return &m_listRW.back();
}

bool CTestSheet::RemoveRWInterface(const CCardRWInterface& rw) {
    auto found = std::find(m_listRW.begin(), m_listRW.end(), rw);
    if (found == m_listRW.end()) return false;
    m_listRW.erase(found);
    return true;
}

int CTestSheet::FindCardOfRW(const CCardRWInterface& rw) const {
    for (int i = 0; i < GetCardCount(); ++i) {
        if (rw.GetFilter() != nullptr && GetCard(i)->GetCardFilter() == rw.GetFilter()) return i;
    }
    return -1;
}

void CTestSheet::EndWrite() {
    m_writer.DeleteAllWriteThread();
    m_listRW.clear();
}

void CTestSheet::ReleaseCards() {
    EndWrite();
    m_cardMan.ReleaseAll();
}

void CTestSheet::ReleaseCard(int index) {
    CCardMan* card = GetCard(index);
    if (card == nullptr) return;
    card->StopGraph();
    card->MuteAudio();
}

BOOL CTestSheet::SelectCurrentCard() {
    ASSERT(m_nCurrentCard == 0);
    return SetPagesCard(m_nCurrentCard);
}

BOOL CTestSheet::SetPagesCard(int index) {
    if (index < 0 || index >= GetCardCount()) return FALSE;
    for (auto& [name, entry] : m_mapPages) {
        if (entry.pPage != nullptr) entry.pPage->SetCard(index);
    }
    return TRUE;
}

BOOL CTestSheet::NextCard() {
    ReleaseCard(m_nCurrentCard);
    ++m_nCurrentCard;
    BOOL ok = SetPagesCard(m_nCurrentCard);
    if (ok) ShowPage(PAGE_CHECK);
    return ok;
}

bool CTestSheet::CheckCardEeprom(CCardMan* card, CCardInfo* info) {
    if (card == nullptr || card->GetCardFilter() == nullptr || info == nullptr) return false;
    CTVCardFilter* filter = card->GetCardFilter();
    *info = card->GetRow();

    CCardRWInterface rw(filter);
    CMemData data;
    if (!m_writer.ReadEeprom(&rw, data)) return false;

    EMProductType type = m_writer.GetProductTypeFromData(data);
    int model = m_writer.GetTunerModelFromData(data, type);
    if (type == kKeshProductType) model = filter->ModelFromKeshId(m_writer.GetKeshTunerModelFromData(data, type));
    info->m_nProductType = type;
    info->m_nTunerModel = model;

    if (!m_writer.IsEppromDataWritten(data.GetData(), data.GetDataSize())) {
        info->m_nState = CCardInfo::StateNotWritten;
        return true;
    }
    info->m_nState = CCardInfo::StateWritten;
    bool correct = type == kKeshProductType
                       ? m_writer.CheckEppromData(data.GetData(), data.GetDataSize(), nullptr, static_cast<TUNER_MODEL>(model))
                       : m_writer.CheckEppromData(data.GetData(), data.GetDataSize(), nullptr);
    if (type != 0 && correct) info->m_nState = CCardInfo::StateCorrect;
    if (CTunerBase* tuner = filter->CreateTuner(model)) {
        info->m_bFM = tuner->IsFMCapable() ? 1 : 0;
        delete tuner;
    }
    return true;
}
