// Streams, persistence, monikers, the Running Object Table and structured storage.
#pragma once

#include "unknwn.h"

// ---- result codes of storage and monikers ----
#define STG_E_INVALIDFUNCTION ((HRESULT)0x80030001)
#define STG_E_TOOMANYOPENFILES ((HRESULT)0x80030004)
#define STG_E_SEEKERROR ((HRESULT)0x80030019)
#define STG_E_SHAREVIOLATION ((HRESULT)0x80030020)
#define STG_E_LOCKVIOLATION ((HRESULT)0x80030021)
#define STG_E_UNKNOWN ((HRESULT)0x800300FD)
#define STG_E_CANTSAVE ((HRESULT)0x80030103)
#define STG_E_NOMOREFILES ((HRESULT)0x80030012)
#define STG_S_CONVERTED ((HRESULT)0x00030200)
#define MK_E_NOOBJECT ((HRESULT)0x800401E5)
#define MK_E_NOSTORAGE ((HRESULT)0x800401ED)
#define MK_S_MONIKERALREADYREGISTERED ((HRESULT)0x000401E7)

// ---- open modes (STGM) ----
#define STGM_DIRECT 0x00000000L
#define STGM_TRANSACTED 0x00010000L
#define STGM_SIMPLE 0x08000000L
#define STGM_READ 0x00000000L
#define STGM_WRITE 0x00000001L
#define STGM_READWRITE 0x00000002L
#define STGM_SHARE_DENY_NONE 0x00000040L
#define STGM_SHARE_DENY_READ 0x00000030L
#define STGM_SHARE_DENY_WRITE 0x00000020L
#define STGM_SHARE_EXCLUSIVE 0x00000010L
#define STGM_PRIORITY 0x00040000L
#define STGM_DELETEONRELEASE 0x04000000L
#define STGM_NOSCRATCH 0x00100000L
#define STGM_CREATE 0x00001000L
#define STGM_CONVERT 0x00020000L
#define STGM_FAILIFTHERE 0x00000000L
#define STGM_NOSNAPSHOT 0x00200000L
#define STGM_DIRECT_SWMR 0x00400000L

// ---- commit flags (STGC) ----
#define STGC_DEFAULT 0
#define STGC_OVERWRITE 1
#define STGC_ONLYIFCURRENT 2
#define STGC_DANGEROUSLYCOMMITMERELYTODISKCACHE 4
#define STGC_CONSOLIDATE 8

#define STREAM_SEEK_SET 0
#define STREAM_SEEK_CUR 1
#define STREAM_SEEK_END 2

#define STATFLAG_DEFAULT 0
#define STATFLAG_NONAME 1

#define STGTY_STORAGE 1
#define STGTY_STREAM 2
#define STGTY_LOCKBYTES 3
#define STGTY_PROPERTY 4

#define ROTFLAGS_REGISTRATIONKEEPSALIVE 0x1
#define ROTFLAGS_ALLOWANYCLIENT 0x2

// What Stat answers for a stream or a storage; pwcsName is CoTaskMemAlloc'ed (free it).
typedef struct tagSTATSTG {
    LPOLESTR pwcsName;
    DWORD type;
    ULARGE_INTEGER cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    CLSID clsid;
    DWORD grfStateBits;
    DWORD reserved;
} STATSTG;

typedef LPOLESTR* SNB;
struct IBindCtx;
typedef IBindCtx* LPBC;

DEFINE_GUID(IID_ISequentialStream, 0x0c733a30, 0x2a1c, 0x11ce, 0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3a);
DEFINE_GUID(IID_IStream, 0x0000000c, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IPersist, 0x0000010c, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IPersistStream, 0x00000109, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IMoniker, 0x0000000f, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IEnumMoniker, 0x00000102, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IRunningObjectTable, 0x00000010, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IStorage, 0x0000000b, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

struct ISequentialStream : public IUnknown {
    STDMETHOD(Read)(void* pv, ULONG cb, ULONG* pcbRead) PURE;
    STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* pcbWritten) PURE;
};

struct IStream : public ISequentialStream {
    STDMETHOD(Seek)(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) PURE;
    STDMETHOD(SetSize)(ULARGE_INTEGER libNewSize) PURE;
    STDMETHOD(CopyTo)(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) PURE;
    STDMETHOD(Commit)(DWORD grfCommitFlags) PURE;
    STDMETHOD(Revert)() PURE;
    STDMETHOD(Stat)(STATSTG* pstatstg, DWORD grfStatFlag) PURE;
};
typedef IStream* LPSTREAM;

struct IPersist : public IUnknown {
    STDMETHOD(GetClassID)(CLSID* pClassID) PURE;
};

struct IPersistStream : public IPersist {
    STDMETHOD(IsDirty)() PURE;
    STDMETHOD(Load)(IStream* pStm) PURE;
    STDMETHOD(Save)(IStream* pStm, BOOL fClearDirty) PURE;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* pcbSize) PURE;
};

// A name for an object: binds to the object, or to its storage (a property bag).
struct IMoniker : public IUnknown {
    STDMETHOD(BindToObject)(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riidResult, void** ppvResult) PURE;
    STDMETHOD(BindToStorage)(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid, void** ppvObj) PURE;
    // S_OK when `pmkOther` names the same object (same display name), else S_FALSE.
    STDMETHOD(IsEqual)(IMoniker* pmkOtherMoniker) PURE;
    STDMETHOD(Hash)(DWORD* pdwHash) PURE;
    // The display name, CoTaskMemAlloc'ed (free it with CoTaskMemFree).
    STDMETHOD(GetDisplayName)(IBindCtx* pbc, IMoniker* pmkToLeft, LPOLESTR* ppszDisplayName) PURE;
};
typedef IMoniker* LPMONIKER;

struct IEnumMoniker : public IUnknown {
    // S_OK when all `celt` were fetched, S_FALSE when fewer.
    STDMETHOD(Next)(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) PURE;
    STDMETHOD(Skip)(ULONG celt) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumMoniker** ppenum) PURE;
};

struct IRunningObjectTable : public IUnknown {
    STDMETHOD(Register)(DWORD grfFlags, IUnknown* punkObject, IMoniker* pmkObjectName, DWORD* pdwRegister) PURE;
    STDMETHOD(Revoke)(DWORD dwRegister) PURE;
    STDMETHOD(IsRunning)(IMoniker* pmkObjectName) PURE;
    STDMETHOD(GetObject)(IMoniker* pmkObjectName, IUnknown** ppunkObject) PURE;
    STDMETHOD(EnumRunning)(IEnumMoniker** ppenumMoniker) PURE;
};
typedef IRunningObjectTable* LPRUNNINGOBJECTTABLE;

struct IStorage : public IUnknown {
    STDMETHOD(CreateStream)(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                            IStream** ppstm) PURE;
    STDMETHOD(OpenStream)(const OLECHAR* pwcsName, void* reserved1, DWORD grfMode, DWORD reserved2,
                          IStream** ppstm) PURE;
    STDMETHOD(CreateStorage)(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                             IStorage** ppstg) PURE;
    STDMETHOD(OpenStorage)(const OLECHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode, SNB snbExclude,
                           DWORD reserved, IStorage** ppstg) PURE;
    STDMETHOD(Commit)(DWORD grfCommitFlags) PURE;
    STDMETHOD(Revert)() PURE;
    STDMETHOD(DestroyElement)(const OLECHAR* pwcsName) PURE;
    STDMETHOD(SetClass)(REFCLSID clsid) PURE;
    STDMETHOD(Stat)(STATSTG* pstatstg, DWORD grfStatFlag) PURE;
};
typedef IStorage* LPSTORAGE;

PLATFORM_INTERFACE_TRAITS(ISequentialStream, IUnknown);
PLATFORM_INTERFACE_TRAITS(IStream, ISequentialStream);
PLATFORM_INTERFACE_TRAITS(IPersist, IUnknown);
PLATFORM_INTERFACE_TRAITS(IPersistStream, IPersist);
PLATFORM_INTERFACE_TRAITS(IMoniker, IUnknown);
PLATFORM_INTERFACE_TRAITS(IEnumMoniker, IUnknown);
PLATFORM_INTERFACE_TRAITS(IRunningObjectTable, IUnknown);
PLATFORM_INTERFACE_TRAITS(IStorage, IUnknown);
