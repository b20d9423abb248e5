// The audio-source switch of the Sivren and Movrik boards (standard layout, lines 12-14): after
// 300 ms the GPIO word is read, lines 12-14 cleared, then set to 0x1000 for sources 0, 1 and 2
// alike when `on` (left 0 for any other source), to 0x7000 when off, and written with mask
// 0x7000. E_POINTER without an access object; a failed read is returned and nothing written.
#pragma once

#include <windows.h>

class CCustomDataAccess;

HRESULT Saa713xSelectAudioSource(CCustomDataAccess* access, int source, BOOL on);
