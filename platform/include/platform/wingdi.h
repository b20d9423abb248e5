// The graphics device interface: device contexts, bitmaps, pens, brushes, fonts, regions and
// palettes, drawn in software into 32-bit surfaces (one per top-level window, and memory bitmaps).
// Handles are checked: a null, stale or wrong-type handle gets the call's failure value.
#pragma once

#include "platform/dibheaders.h"
#include "platform/winctrl.h"
#include "platform/winuser.h"

struct HPALETTE__;
typedef HPALETTE__* HPALETTE;

// ---- object types (GetObjectType) ----
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// ---- stock objects ----
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_PALETTE 15
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

// ---- colours ----
#define CLR_INVALID 0xFFFFFFFF
#define CLR_NONE 0xFFFFFFFFL
#define CLR_DEFAULT 0xFF000000L
#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))
#define PALETTEINDEX(i) ((COLORREF)(0x01000000 | (DWORD)(WORD)(i)))

// ---- raster operations (ternary: the high word's low byte is the truth table of P, S, D) ----
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY 0x00C000CA
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATPAINT 0x00FB0A09
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062
#define MAKEROP4(fore, back) (DWORD)((((back) << 8) & 0xFF000000) | (fore))

// binary raster operations of pens
#define R2_BLACK 1
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOP 11
#define R2_COPYPEN 13
#define R2_WHITE 16

// ---- modes ----
#define TRANSPARENT 1
#define OPAQUE 2
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE
#define MM_TEXT 1

// ---- pens and brushes ----
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define BS_DIBPATTERN 5
#define BS_DIBPATTERNPT 6

typedef struct tagLOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
} LOGPEN, *PLOGPEN, *LPLOGPEN;

typedef struct tagLOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
} LOGBRUSH, *PLOGBRUSH, *LPLOGBRUSH;

// ---- bitmaps ----
typedef struct tagBITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagDIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
} DIBSECTION, *LPDIBSECTION, *PDIBSECTION;

#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define CBM_INIT 0x04L

// ---- palettes ----
typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *PPALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *PLOGPALETTE, *LPLOGPALETTE;

// ---- device capabilities ----
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define RC_BITBLT 1
#define RC_BITMAP64 8
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

// ---- regions ----
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define RDH_RECTANGLES 1

typedef struct _RGNDATAHEADER {
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
} RGNDATAHEADER, *PRGNDATAHEADER;

typedef struct _RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
} RGNDATA, *PRGNDATA, *LPRGNDATA;

typedef struct tagXFORM {
    FLOAT eM11, eM12, eM21, eM22, eDx, eDy;
} XFORM, *PXFORM, *LPXFORM;

// ---- fonts ----
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define GB2312_CHARSET 134
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define PROOF_QUALITY 2
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE (0 << 4)
#define FF_ROMAN (1 << 4)
#define FF_SWISS (2 << 4)
#define FF_MODERN (3 << 4)

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;

typedef struct tagLOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *PLOGFONTW, *LPLOGFONTW;
typedef LOGFONTA LOGFONT;
typedef LPLOGFONTA LPLOGFONT;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *PTEXTMETRICA, *LPTEXTMETRICA;
typedef struct tagTEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICW, *PTEXTMETRICW, *LPTEXTMETRICW;
typedef TEXTMETRICA TEXTMETRIC;
typedef LPTEXTMETRICA LPTEXTMETRIC;

// text alignment and ExtTextOut options
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// DrawText
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000
#define DT_HIDEPREFIX 0x00100000

// ---- edges, focus and states (the user-interface drawing helpers) ----
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

#define DST_COMPLEX 0x0000
#define DST_TEXT 0x0001
#define DST_PREFIXTEXT 0x0002
#define DST_ICON 0x0003
#define DST_BITMAP 0x0004
#define DSS_NORMAL 0x0000
#define DSS_DISABLED 0x0020
#define DSS_MONO 0x0080
typedef BOOL(CALLBACK* DRAWSTATEPROC)(HDC dc, LPARAM data, WPARAM wData, int cx, int cy);

// ---- system colours ----
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_BTNSHADOW 16
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT COLOR_BTNHIGHLIGHT

// ---- objects ----
PLATFORM_API HGDIOBJ GetStockObject(int index);
PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
PLATFORM_API BOOL DeleteObject(HGDIOBJ object);
PLATFORM_API int GetObjectA(HGDIOBJ object, int size, LPVOID out);
PLATFORM_API int GetObjectW(HGDIOBJ object, int size, LPVOID out);
#define GetObject GetObjectA
PLATFORM_API DWORD GetObjectType(HGDIOBJ object);
PLATFORM_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);

// ---- device contexts ----
PLATFORM_API HDC GetDC(HWND window);
PLATFORM_API HDC GetWindowDC(HWND window);
PLATFORM_API int ReleaseDC(HWND window, HDC dc);
PLATFORM_API HDC CreateCompatibleDC(HDC dc);
PLATFORM_API HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init);
PLATFORM_API HDC CreateICA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init);
#define CreateDC CreateDCA
#define CreateIC CreateICA
PLATFORM_API BOOL DeleteDC(HDC dc);
PLATFORM_API int SaveDC(HDC dc);
PLATFORM_API BOOL RestoreDC(HDC dc, int saved);
PLATFORM_API int GetDeviceCaps(HDC dc, int index);
PLATFORM_API HWND WindowFromDC(HDC dc);

PLATFORM_API COLORREF SetTextColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF GetTextColor(HDC dc);
PLATFORM_API COLORREF SetBkColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF GetBkColor(HDC dc);
PLATFORM_API int SetBkMode(HDC dc, int mode);
PLATFORM_API int GetBkMode(HDC dc);
PLATFORM_API int SetROP2(HDC dc, int mode);
PLATFORM_API int GetROP2(HDC dc);
PLATFORM_API int SetStretchBltMode(HDC dc, int mode);
PLATFORM_API int GetStretchBltMode(HDC dc);
PLATFORM_API UINT SetTextAlign(HDC dc, UINT align);
PLATFORM_API UINT GetTextAlign(HDC dc);
PLATFORM_API int SetMapMode(HDC dc, int mode);
PLATFORM_API COLORREF SetDCBrushColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF SetDCPenColor(HDC dc, COLORREF color);
PLATFORM_API BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old);
PLATFORM_API BOOL GetViewportOrgEx(HDC dc, LPPOINT org);
PLATFORM_API BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old);
PLATFORM_API BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old);
PLATFORM_API BOOL GetWindowOrgEx(HDC dc, LPPOINT org);
PLATFORM_API BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old);
PLATFORM_API BOOL GetCurrentPositionEx(HDC dc, LPPOINT point);

// ---- palettes (accepted; this display has no palette, so they change nothing) ----
PLATFORM_API HPALETTE CreatePalette(const LOGPALETTE* palette);
PLATFORM_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL background);
PLATFORM_API UINT RealizePalette(HDC dc);

// ---- pens and brushes ----
PLATFORM_API HPEN CreatePen(int style, int width, COLORREF color);
PLATFORM_API HPEN CreatePenIndirect(const LOGPEN* pen);
PLATFORM_API HBRUSH CreateSolidBrush(COLORREF color);
PLATFORM_API HBRUSH CreatePatternBrush(HBITMAP bitmap);
PLATFORM_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
PLATFORM_API HBRUSH GetSysColorBrush(int index);
PLATFORM_API DWORD GetSysColor(int index);

// ---- bitmaps ----
PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
PLATFORM_API HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
PLATFORM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
PLATFORM_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                      DWORD offset);
PLATFORM_API HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                    const BITMAPINFO* info, UINT usage);
PLATFORM_API int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                           UINT usage);
PLATFORM_API int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
                           const BITMAPINFO* info, UINT usage);
PLATFORM_API int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int srcX, int srcY,
                                   UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
PLATFORM_API int StretchDIBits(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                               int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
PLATFORM_API LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits);
PLATFORM_API BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size);

// ---- pixels, lines and shapes ----
PLATFORM_API COLORREF GetPixel(HDC dc, int x, int y);
PLATFORM_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
PLATFORM_API BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
PLATFORM_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old);
PLATFORM_API BOOL LineTo(HDC dc, int x, int y);
PLATFORM_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
PLATFORM_API BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
PLATFORM_API BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
PLATFORM_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
PLATFORM_API int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
PLATFORM_API BOOL InvertRect(HDC dc, const RECT* rect);
PLATFORM_API BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
PLATFORM_API BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
PLATFORM_API BOOL StretchBlt(HDC dc, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                             int srcWidth, int srcHeight, DWORD rop);
PLATFORM_API BOOL DrawFocusRect(HDC dc, const RECT* rect);
PLATFORM_API BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
PLATFORM_API BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
PLATFORM_API BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH brush,
                             UINT flags);
PLATFORM_API BOOL DrawStateA(HDC dc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData, int x, int y,
                             int cx, int cy, UINT flags);
#define DrawState DrawStateA

// ---- regions and clipping ----
PLATFORM_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
PLATFORM_API HRGN CreateRectRgnIndirect(const RECT* rect);
PLATFORM_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
PLATFORM_API int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode);
PLATFORM_API int OffsetRgn(HRGN region, int dx, int dy);
PLATFORM_API int GetRgnBox(HRGN region, LPRECT box);
PLATFORM_API BOOL PtInRegion(HRGN region, int x, int y);
PLATFORM_API BOOL RectInRegion(HRGN region, const RECT* rect);
PLATFORM_API BOOL EqualRgn(HRGN a, HRGN b);
PLATFORM_API DWORD GetRegionData(HRGN region, DWORD size, LPRGNDATA data);
PLATFORM_API HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data);
PLATFORM_API BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
PLATFORM_API BOOL PaintRgn(HDC dc, HRGN region);
PLATFORM_API int SelectClipRgn(HDC dc, HRGN region);
PLATFORM_API int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
PLATFORM_API int GetClipBox(HDC dc, LPRECT box);
PLATFORM_API int GetClipRgn(HDC dc, HRGN region);
PLATFORM_API int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
PLATFORM_API int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);

// ---- fonts and text ----
PLATFORM_API HFONT CreateFontIndirectA(const LOGFONTA* font);
PLATFORM_API HFONT CreateFontIndirectW(const LOGFONTW* font);
PLATFORM_API HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                               DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                               DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR face);
#define CreateFontIndirect CreateFontIndirectA
#define CreateFont CreateFontA
PLATFORM_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
PLATFORM_API BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
PLATFORM_API BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                              const INT* dx);
PLATFORM_API BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                              const INT* dx);
PLATFORM_API int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
PLATFORM_API int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
PLATFORM_API BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
PLATFORM_API BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
PLATFORM_API BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);
PLATFORM_API BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
#define TextOut TextOutA
#define ExtTextOut ExtTextOutA
#define DrawText DrawTextA
#define GetTextExtentPoint32 GetTextExtentPoint32A
#define GetTextMetrics GetTextMetricsA

// ---- windows' update regions ----
PLATFORM_API BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
PLATFORM_API BOOL ValidateRgn(HWND window, HRGN region);
PLATFORM_API BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
PLATFORM_API int GetUpdateRgn(HWND window, HRGN region, BOOL erase);

// ---- rectangles ----
// value * numerator / denominator, rounded half away from zero; -1 for a zero denominator.
PLATFORM_API int MulDiv(int value, int numerator, int denominator);
PLATFORM_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
PLATFORM_API BOOL SetRectEmpty(LPRECT rect);
PLATFORM_API BOOL CopyRect(LPRECT dest, const RECT* src);
PLATFORM_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
PLATFORM_API BOOL InflateRect(LPRECT rect, int dx, int dy);
PLATFORM_API BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b);
PLATFORM_API BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b);
PLATFORM_API BOOL IsRectEmpty(const RECT* rect);
PLATFORM_API BOOL PtInRect(const RECT* rect, POINT point);
PLATFORM_API BOOL EqualRect(const RECT* a, const RECT* b);

// ---- resources: bitmaps, icons and custom data built into the program ----
struct HRSRC__;
typedef HRSRC__* HRSRC;
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define LR_DEFAULTCOLOR 0x0000
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040
#define LR_CREATEDIBSECTION 0x2000
#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
PLATFORM_API HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
#define LoadBitmap LoadBitmapA
PLATFORM_API HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
#define LoadImage LoadImageA
PLATFORM_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
#define FindResource FindResourceA
PLATFORM_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
PLATFORM_API DWORD SizeofResource(HMODULE module, HRSRC resource);
PLATFORM_API LPVOID LockResource(HGLOBAL data);
PLATFORM_API BOOL FreeResource(HGLOBAL data);
PLATFORM_API BOOL DestroyIcon(HICON icon);
// Registers a resource's bytes by id and type: RT_BITMAP holds a packed DIB (BITMAPINFOHEADER,
// colour table, bits), RT_ICON a 32-bit packed DIB whose fourth byte is the opacity, other types
// their bytes as they are. The data must live as long as the program.
PLATFORM_API void AfxRegisterResourceData(UINT id, LPCSTR type, const void* data, DWORD size);

// ---- GDI bookkeeping for tests: live objects of a type (OBJ_*), 0 for every type ----
PLATFORM_API int GdiLiveObjectCount(DWORD type);
