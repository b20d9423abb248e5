// OLE property frames and the picture loader.
#pragma once

#include "objidl.h"
#include "ocidl.h"

#define CTL_E_INVALIDPICTURE ((HRESULT)0x800A01E1)

// Reads a picture from the stream: lSize bytes, or the rest of the stream when lSize is 0 or
// less. Bitmap files, icons, JPEG and GIF (its first image) are read; anything else, metafiles
// among them, and a file cut short or damaged, gets CTL_E_INVALIDPICTURE and no picture.
// riid is IID_IPicture or IID_IUnknown (else E_NOINTERFACE).
STDAPI OleLoadPicture(LPSTREAM lpstream, LONG lSize, BOOL fRunmode, REFIID riid, LPVOID* lplpvObj);

// There is no dialog on this platform: the call is recorded (see platform/comservices.h) and
// answers S_OK.

STDAPI OleCreatePropertyFrame(HWND hwndOwner, UINT x, UINT y, LPCOLESTR lpszCaption, ULONG cObjects,
                              LPUNKNOWN* ppUnk, ULONG cPages, LPCLSID pPageClsID, LCID lcid, DWORD dwReserved,
                              LPVOID pvReserved);
