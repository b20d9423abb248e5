// Property bags, property pages and pictures.
#pragma once

#include "oleauto.h"
#include "objidl.h"
#include "platform/wingdi.h"
#include "unknwn.h"

DEFINE_GUID(IID_IPropertyBag, 0x55272a00, 0x42cb, 0x11ce, 0x81, 0x35, 0x00, 0xaa, 0x00, 0x4b, 0xb8, 0x51);
DEFINE_GUID(IID_ISpecifyPropertyPages, 0xb196b28b, 0xbab4, 0x101a, 0xb6, 0x9c, 0x00, 0xaa, 0x00, 0x34, 0x1d, 0x07);

struct IErrorLog;

// Named values of an object, as the device enumerator's monikers hand them out.
struct IPropertyBag : public IUnknown {
    // pVar->vt VT_EMPTY takes the value as stored; any other type must match the stored one.
    STDMETHOD(Read)(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) PURE;
    STDMETHOD(Write)(LPCOLESTR pszPropName, VARIANT* pVar) PURE;
};
typedef IPropertyBag* LPPROPERTYBAG;

// A counted array of GUIDs; pElems is CoTaskMemAlloc'ed and freed by the receiver.
typedef struct tagCAUUID {
    ULONG cElems;
    GUID* pElems;
} CAUUID;

struct ISpecifyPropertyPages : public IUnknown {
    STDMETHOD(GetPages)(CAUUID* pPages) PURE;
};

// ---- pictures ----
DEFINE_GUID(IID_IPicture, 0x7bf80980, 0xbf32, 0x101a, 0x8b, 0xbb, 0x00, 0xaa, 0x00, 0x30, 0x0c, 0xab);

typedef UINT OLE_HANDLE;
typedef LONG OLE_XPOS_HIMETRIC;
typedef LONG OLE_YPOS_HIMETRIC;
typedef LONG OLE_XSIZE_HIMETRIC;
typedef LONG OLE_YSIZE_HIMETRIC;

#define PICTYPE_UNINITIALIZED (-1)
#define PICTYPE_NONE 0
#define PICTYPE_BITMAP 1
#define PICTYPE_METAFILE 2
#define PICTYPE_ICON 3
#define PICTYPE_ENHMETAFILE 4

#define PICTURE_SCALABLE 0x1
#define PICTURE_TRANSPARENT 0x2

// A picture read by OleLoadPicture. Sizes and source positions are in HIMETRIC (0.01 mm), its
// y axis pointing up: the picture's top edge is at its height, so an upright copy is rendered
// from (0, height) with extent (width, -height). A source extent of the other sign flips.
struct IPicture : public IUnknown {
    // The bitmap or icon handle, when it fits an OLE_HANDLE.
    STDMETHOD(get_Handle)(OLE_HANDLE* pHandle) PURE;
    STDMETHOD(get_hPal)(OLE_HANDLE* phPal) PURE;
    STDMETHOD(get_Type)(SHORT* pType) PURE;
    STDMETHOD(get_Width)(OLE_XSIZE_HIMETRIC* pWidth) PURE;
    STDMETHOD(get_Height)(OLE_YSIZE_HIMETRIC* pHeight) PURE;
    // Draws the source rectangle stretched onto (x, y, cx, cy) of the DC; the background shows
    // where the picture is transparent.
    STDMETHOD(Render)(HDC hDC, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                      OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT pRcWBounds) PURE;
    STDMETHOD(set_hPal)(OLE_HANDLE hPal) PURE;
    STDMETHOD(get_CurDC)(HDC* phDC) PURE;
    STDMETHOD(SelectPicture)(HDC hDCIn, HDC* phDCOut, OLE_HANDLE* phBmpOut) PURE;
    STDMETHOD(get_KeepOriginalFormat)(BOOL* pKeep) PURE;
    STDMETHOD(put_KeepOriginalFormat)(BOOL keep) PURE;
    STDMETHOD(PictureChanged)() PURE;
    STDMETHOD(SaveAsFile)(LPSTREAM pStream, BOOL fSaveMemCopy, LONG* pCbSize) PURE;
    STDMETHOD(get_Attributes)(DWORD* pDwAttr) PURE;
};
typedef IPicture* LPPICTURE;

PLATFORM_INTERFACE_TRAITS(IPicture, IUnknown);
PLATFORM_INTERFACE_TRAITS(IPropertyBag, IUnknown);
PLATFORM_INTERFACE_TRAITS(ISpecifyPropertyPages, IUnknown);
