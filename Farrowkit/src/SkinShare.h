// The window painter's shared helpers: CSkinShare, its region builders, which cut key-coloured
// pixels out of a bitmap's rectangle, and CSkinSharePath, its path helpers.
#pragma once

#include <afxwin.h>

class CSkinShare {
public:
    virtual ~CSkinShare();

    static void MakeRgnByPixels(CRgn* region, CBitmap* bitmap, COLORREF transparent);
    // Removes each column's runs of key-coloured pixels, scanning every second row.
    static void MakeRgnByColumns(CRgn* region, CBitmap* bitmap, COLORREF transparent);
};

class CSkinSharePath {
public:
    virtual ~CSkinSharePath();

    // The part of a path before its last '\' (empty when there is none).
    static CString GetFolder(LPCTSTR path);
    // The same of the program's own path: the folder the program runs from.
    static CString GetProgramFolder();
};
