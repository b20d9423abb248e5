// CSkinShare: the window painter's region builders, which cut key-coloured pixels out of a
// bitmap's rectangle, and its path helpers.
#pragma once

#include <afxwin.h>

class CSkinShare {
public:
    virtual ~CSkinShare() = default;

    static void MakeRgnByPixels(CRgn* region, CBitmap* bitmap, COLORREF transparent);
    // Removes each column's runs of key-coloured pixels, scanning every second row.
    static void MakeRgnByColumns(CRgn* region, CBitmap* bitmap, COLORREF transparent);
    // The part of a path before its last '\' (empty when there is none).
    static CString GetFolder(LPCTSTR path);
};
