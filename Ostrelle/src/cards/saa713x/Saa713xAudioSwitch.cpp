// The audio-source switch of the Sivren and Movrik boards (standard layout, lines 12-14).
#include "cards/saa713x/Saa713xAudioSwitch.h"

#include "access/CustomDataAccess.h"

namespace {

constexpr DWORD kAudioBits = 0x7000;
constexpr DWORD kAudioSelected = 0x1000;
constexpr DWORD kAudioSwitchDelayMs = 300;

}  // namespace

HRESULT Saa713xSelectAudioSource(CCustomDataAccess* access, int source, BOOL on) {
    if (access == nullptr) return E_POINTER;
    Sleep(kAudioSwitchDelayMs);
    DWORD word = 0;
    const HRESULT hr = access->GPIO_Read(&word);
    if (FAILED(hr)) return hr;
    word &= ~kAudioBits;
    if (!on) {
        word |= kAudioBits;
    } else if (source >= 0 && source <= 2) {
        word |= kAudioSelected;
    }
    TRACE("SetAudioSource : %08x\n", word);
    return access->GPIO_Write(word, kAudioBits);
}
