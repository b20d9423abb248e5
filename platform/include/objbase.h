// COM and OLE as the system's code includes them: apartments, the class table behind
// CoCreateInstance, task memory, monikers, the Running Object Table and structured storage.
#pragma once

#include "ocidl.h"
#include "objidl.h"
#include "oleauto.h"
#include "olectl.h"
#include "platform/comptr.h"
#include "unknwn.h"
#include "windows.h"

// ---- apartments ----
#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define COINIT_DISABLE_OLE1DDE 0x4
#define COINIT_SPEED_OVER_MEMORY 0x8
#ifndef RPC_E_CHANGED_MODE
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106)
#endif

// S_OK when the thread enters its apartment, S_FALSE when it was in it already (the count goes
// up either way), RPC_E_CHANGED_MODE when it is in the other kind of apartment.
STDAPI CoInitialize(LPVOID pvReserved);
STDAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
// Undoes one successful CoInitialize/CoInitializeEx of this thread.
STDAPI_(void) CoUninitialize();

// ---- class contexts and class objects ----
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

#define REGCLS_SINGLEUSE 0
#define REGCLS_MULTIPLEUSE 1
#define REGCLS_MULTI_SEPARATE 2

// Creates an object of a class in the class table. REGDB_E_CLASSNOTREG for a class nobody
// registered, CO_E_NOTINITIALIZED on a thread outside any apartment (unless some thread of
// the process is in the multithreaded apartment), CLASS_E_NOAGGREGATION for an outer unknown
// the class does not take.
STDAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);
STDAPI CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved, REFIID riid, LPVOID* ppv);
// Enters a class object (an IClassFactory) in the process's class table; the newest
// registration of a CLSID answers until it is revoked.
STDAPI CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD flags, LPDWORD lpdwRegister);
STDAPI CoRevokeClassObject(DWORD dwRegister);

// ---- task memory ----
STDAPI_(LPVOID) CoTaskMemAlloc(SIZE_T cb);
STDAPI_(LPVOID) CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
STDAPI_(void) CoTaskMemFree(LPVOID pv);

// ---- GUID texts ----
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" into `text` (cchMax >= 39); characters written with
// the terminator, 0 when the buffer is too small.
STDAPI_(int) StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
STDAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
#define IIDFromString(s, p) CLSIDFromString((s), (p))

// ---- monikers and the Running Object Table ----
STDAPI GetRunningObjectTable(DWORD reserved, LPRUNNINGOBJECTTABLE* pprot);
// An item moniker: its display name is the delimiter followed by the item.
STDAPI CreateItemMoniker(LPCOLESTR lpszDelim, LPCOLESTR lpszItem, LPMONIKER* ppmk);

// ---- streams in memory ----
// A stream whose bytes start as those of the global memory block (GlobalSize of them), or empty
// for a null block; it reads and writes its own copy, positioned at 0. With fDeleteOnRelease the
// block is freed (GlobalFree) when the stream is released; when the call fails it stays the
// caller's.
STDAPI CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm);

// ---- structured storage (compound files) ----
STDAPI StgCreateDocfile(const WCHAR* pwcsName, DWORD grfMode, DWORD reserved, IStorage** ppstgOpen);
STDAPI StgOpenStorage(const WCHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode, SNB snbExclude,
                      DWORD reserved, IStorage** ppstgOpen);
// S_OK for a compound file, S_FALSE for any other file, STG_E_FILENOTFOUND when there is none.
STDAPI StgIsStorageFile(const WCHAR* pwcsName);
