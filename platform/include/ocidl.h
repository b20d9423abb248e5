// Property bags and property pages.
#pragma once

#include "oleauto.h"
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

PLATFORM_INTERFACE_TRAITS(IPropertyBag, IUnknown);
PLATFORM_INTERFACE_TRAITS(ISpecifyPropertyPages, IUnknown);
