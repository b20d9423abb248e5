// VARIANT: initialising, clearing (freeing what a value owns) and deep copies.
#include "oleauto.h"

void VariantInit(VARIANTARG* value) {
    if (!value) return;
    value->vt = VT_EMPTY;
    value->wReserved1 = value->wReserved2 = value->wReserved3 = 0;
    value->ullVal = 0;
}

HRESULT VariantClear(VARIANTARG* value) {
    if (!value) return E_INVALIDARG;
    if (!(value->vt & VT_BYREF)) {
        switch (value->vt) {
            case VT_BSTR:
                SysFreeString(value->bstrVal);
                break;
            case VT_UNKNOWN:
            case VT_DISPATCH:
                if (value->punkVal) value->punkVal->Release();
                break;
            default:
                if (value->vt & VT_ARRAY) return DISP_E_BADVARTYPE;
                break;
        }
    }
    VariantInit(value);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* target, const VARIANTARG* source) {
    if (!target || !source) return E_INVALIDARG;
    if (source->vt & VT_ARRAY) return DISP_E_BADVARTYPE;
    if (target == source) return S_OK;
    HRESULT hr = VariantClear(target);
    if (FAILED(hr)) return hr;
    *target = *source;
    if (source->vt == VT_BSTR && source->bstrVal) {
        target->bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (!target->bstrVal) {
            VariantInit(target);
            return E_OUTOFMEMORY;
        }
    } else if ((source->vt == VT_UNKNOWN || source->vt == VT_DISPATCH) && source->punkVal) {
        source->punkVal->AddRef();
    }
    return S_OK;
}
