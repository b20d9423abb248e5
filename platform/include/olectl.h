// OLE property frames. There is no dialog on this platform: the call is recorded (see
// platform/comservices.h) and answers S_OK.
#pragma once

#include "ocidl.h"

STDAPI OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption, ULONG cObjects,
                              LPUNKNOWN* ppUnk, ULONG cPages, LPCLSID pPageClsID, LCID lcid, DWORD dwReserved,
                              LPVOID pvReserved);
