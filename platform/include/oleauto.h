// BSTR and VARIANT: counted wide texts and typed values as property bags hand them out.
#pragma once

#include "unknwn.h"

// A BSTR points at the first character of a NUL-terminated wide text whose length is kept in
// front of it; NULL is the empty text.
typedef OLECHAR* BSTR;
typedef BSTR* LPBSTR;
typedef unsigned short VARTYPE;
typedef short VARIANT_BOOL;
typedef double DATE;
#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000A)

enum VARENUM {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

struct IDispatch;

typedef struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;
        ULONGLONG ullVal;
        LONG lVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        SHORT iVal;
        USHORT uiVal;
        CHAR cVal;
        BYTE bVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        DATE date;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        BYTE* pbVal;
        void* byref;
    };
} VARIANT, VARIANTARG, *LPVARIANT, *LPVARIANTARG;

#define V_VT(v) ((v)->vt)
#define V_BSTR(v) ((v)->bstrVal)
#define V_I4(v) ((v)->lVal)
#define V_UI4(v) ((v)->ulVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_UNKNOWN(v) ((v)->punkVal)

// A copy of `text` (NULL gives NULL); free with SysFreeString.
STDAPI_(BSTR) SysAllocString(const OLECHAR* text);
// `length` characters of `text` (uninitialised when text is NULL) and a terminator.
STDAPI_(BSTR) SysAllocStringLen(const OLECHAR* text, UINT length);
STDAPI_(INT) SysReAllocString(BSTR* target, const OLECHAR* text);
STDAPI_(void) SysFreeString(BSTR text);
// Characters in the text (not counting the terminator); 0 for NULL.
STDAPI_(UINT) SysStringLen(BSTR text);
STDAPI_(UINT) SysStringByteLen(BSTR text);

STDAPI_(void) VariantInit(VARIANTARG* value);
// Frees what the value owns (the BSTR, the interface reference) and leaves it VT_EMPTY.
STDAPI VariantClear(VARIANTARG* value);
// Clears `target`, then makes it a deep copy of `source` (a new BSTR, an AddRef'd interface).
STDAPI VariantCopy(VARIANTARG* target, const VARIANTARG* source);
