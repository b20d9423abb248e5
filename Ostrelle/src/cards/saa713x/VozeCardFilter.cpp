// The Voze card ("713x_D TV Card Capture") and its crossbar ("713x_D TV Card Crossbar").
#include "cards/saa713x/VozeCardFilter.h"

#include <cstring>

#include "access/VozeAccess.h"
#include "cards/saa713x/Saa713xController.h"

IMPLEMENT_CARD_FILTER_CLASS(CVozeCardFilter, &CLSID_VideoInputDeviceCategory, CVozeCardFilter::kCaptureName)

CVozeCardFilter::~CVozeCardFilter() { StopCardThreads(); }

BOOL CVozeCardFilter::Create() {
    m_strTunerFilterName = kTunerFilterName;
    return CTVCardFilter::Create();
}

BOOL CVozeCardFilter::GetRemoteData(BYTE*) { return FALSE; }

HRESULT CVozeCardFilter::InitAccess() { return OpenKsPropertyAccess<CVozeAccess>(ACCESS_KIND_VOZE); }

BOOL CVozeCardFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) {
    return Saa713xIoSendGPIOCommand(m_pAccess, Saa713xIoBoard::Voze, value, mask, waitMs);
}

BOOL CVozeCardFilter::WaitReadState(DWORD* word) { return Saa713xIoWaitReadState(m_pAccess, word); }

LONG_PTR CVozeCardFilter::ReadDigitString(LONG_PTR bufferArg, LONG_PTR lengthArg) {
    char* buffer = reinterpret_cast<char*>(bufferArg);
    int* length = reinterpret_cast<int*>(lengthArg);
    if (m_pAccess == nullptr || buffer == nullptr || length == nullptr) return 0;
    BYTE count = 0;
    if (FAILED(m_pAccess->I2C_Read(kDigitController, kDigitCount, &count)) || count == 0) return 0;
    if (*length <= count) {
        TRACE("CVozeCardFilter::ReadDigitString - %d digits do not fit a buffer of %d\n", count, *length);
        return 0;
    }
    char digits[256];
    for (int i = 0; i < count; ++i) {
        BYTE value = 0;
        if (FAILED(m_pAccess->I2C_Read(kDigitController, kDigitCount + 1 + i, &value))) return 0;
        digits[i] = static_cast<char>(value + 0x30);
    }
    digits[count] = 0;
    std::memcpy(buffer, digits, count + 1u);
    *length = count;
    return 1;
}

IMPLEMENT_CARD_FILTER_CLASS(CVozeCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CVozeCrossbarFilter::kCrossbarName)
