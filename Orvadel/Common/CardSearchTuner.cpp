#include "CardSearchTuner.h"

#include "cards/base/TVCardFilter.h"

bool CCardSearchTuner::SetFrequence(int hz) {
    if (m_pCardFilter == nullptr) return false;
    return m_pCardFilter->SetTVChannelFreq(static_cast<float>(hz / 1000)) > 0;
}

bool CCardSearchTuner::GetStatus(BYTE& status) {
    if (m_pCardFilter == nullptr) return false;
    status = m_pCardFilter->GetTunerStatus() > 0 ? 1 : 0;
    return true;
}
