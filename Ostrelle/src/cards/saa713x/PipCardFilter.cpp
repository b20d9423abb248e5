// The PIP card ("713x_PIP TV Card Capture") and its crossbar ("713x_PIP TV Card Crossbar").
#include "cards/saa713x/PipCardFilter.h"

#include "access/KsPropertyAccess.h"
#include "cards/saa713x/Saa713xController.h"

IMPLEMENT_CARD_FILTER_CLASS(CPipCardFilter, &CLSID_VideoInputDeviceCategory, CPipCardFilter::kCaptureName)

CPipCardFilter::~CPipCardFilter() { StopCardThreads(); }

BOOL CPipCardFilter::Create() {
    ResetCardState();
    m_strTunerFilterName = kTunerFilterName;
    if (!IsValid()) return FALSE;
    return OpenCard(kLockFailureText);
}

BOOL CPipCardFilter::GetRemoteData(BYTE* key) { return Saa713xIoGetRemoteData(m_pAccess, Saa713xIoBoard::Pip, key); }

HRESULT CPipCardFilter::InitAccess() { return OpenKsPropertyAccess(ACCESS_KIND_KS_PROPERTY); }

BOOL CPipCardFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) {
    return Saa713xIoSendGPIOCommand(m_pAccess, Saa713xIoBoard::Pip, value, mask, waitMs);
}

BOOL CPipCardFilter::WaitReadState(DWORD* word) { return Saa713xIoWaitReadState(m_pAccess, word); }

BOOL CPipCardFilter::WriteControllerWord(WORD value) { return Saa713xWriteControllerWord(this, Saa713xIoLayout(), value); }

BOOL CPipCardFilter::ReadControllerWord(WORD* value) { return Saa713xReadControllerWord(this, Saa713xIoLayout(), value); }

BOOL CPipCardFilter::ControllerCommand(BOOL on) { return Saa713xControllerCommand(this, Saa713xIoLayout(), on); }

IMPLEMENT_CARD_FILTER_CLASS(CPipCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CPipCrossbarFilter::kCrossbarName)
