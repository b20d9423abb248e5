// CRootFilter: the wrapper of one DirectShow filter and its pins, base of every filter, card and
// crossbar class. A wrapper is made around a filter that exists, by CLSID, or by binding a device
// of a category by FriendlyName; it is owned by the CRootGraph that added it.
//
// Creation has two phases: the creator constructs the object, then calls SetUp once on the finished
// object, which runs the class's InitNames and its Init (slot 8). A wrapper whose filter could not
// be bound, or whose Init answered FALSE, is invalid (IsValid) and the graph deletes it.
#pragma once

#include <dshow.h>

#include "graph/NameText.h"
#include "graph/RootPin.h"
#include "graph/TakenAnswer.h"

class CRootGraph;

// The device-instance index: which of several devices with a matching FriendlyName the device
// constructor binds (0 the first). Written by CRootGraph::AddDeviceFilter just before it creates
// the wrapper.
extern int g_nDeviceInstance;

class CRootFilter {
public:
    // Wraps `filter` (NULL leaves an invalid wrapper); the names come from the filter's own info.
    CRootFilter(CRootGraph* owner, IBaseFilter* filter);
    // Creates the filter in process by CLSID; invalid when it cannot be created.
    CRootFilter(CRootGraph* owner, REFCLSID clsid);
    // Binds a device of `category` by FriendlyName (see FriendlyNameMatches). flag 0: the
    // g_nDeviceInstance-th matching device in enumeration order; any other flag: the first device
    // that does NOT match. An empty or NULL wanted name binds nothing.
    CRootFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CRootFilter(const CRootFilter&) = delete;
    CRootFilter& operator=(const CRootFilter&) = delete;

    // Virtual operations, in their slot order.
    virtual ~CRootFilter();
    virtual HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3);
    virtual HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3);
    // The first pin whose name equals `name` exactly; NULL when none.
    virtual CRootPin* FindPin(const char* name);
    // Construction hook of the class, run by SetUp before Init; empty here.
    virtual void InitNames();
    // Run by the destructor (the base body) before the pins are freed; empty here.
    virtual void OnHook5();
    virtual void OnHook6();
    virtual LONG_PTR GetExtra(LONG_PTR arg1, LONG_PTR arg2);
    // The class's set-up (slot 8). The base answers whether a filter is held; derived classes
    // open their private interfaces here and end with the base answer or their own.
    virtual BOOL Init();

    // Second creation phase: InitNames, then Init; a FALSE Init makes the wrapper invalid. Runs
    // once: a later call only answers IsValid. Answers IsValid.
    BOOL SetUp();
    BOOL IsSetUp() const { return m_bSetUp; }
    // TRUE while a filter is bound, its pin list built and the class's set-up did not fail.
    BOOL IsValid() const { return m_bValid && m_pFilter != nullptr ? TRUE : FALSE; }

    IBaseFilter* GetFilter() const { return m_pFilter; }
    CRootGraph* GetGraph() const { return m_pGraph; }
    // TRUE when the filter was created by CLSID (the classes that create theirs so set it too).
    BOOL IsCreatedByClsid() const { return m_bCreatedByClsid; }
    void SetCreatedByClsid(BOOL byClsid) { m_bCreatedByClsid = byClsid; }

    // Names: the wrapper's name in the graph, and the FriendlyName of the bound device (or the
    // filter's own name for a wrapper of an existing filter). Both 128 bytes.
    const char* SetName(const char* name);
    const char* GetName() const { return m_szName; }
    const char* GetDeviceName() const { return m_szDeviceName; }
    // TRUE when the filter is in a filter graph.
    BOOL IsInGraph();

    // The graph's list link; read and written only by CRootGraph.
    CRootFilter* GetNext() const { return m_pNext; }
    void SetNext(CRootFilter* next) { m_pNext = next; }

    // Pins, in the filter's enumeration order (reverse order after a dynamic rebuild).
    BOOL BuildPinList();
    int GetPinCount() const { return m_nPinCount; }
    CRootPin* GetPinList() const { return m_pPinList; }
    CRootPin* GetPin(int index);
    // The first pin whose identifier equals `id`.
    CRootPin* FindPinW(const wchar_t* id);
    CRootPin* FindPinByIPin(IPin* pin);
    // The first pin of direction `direction` whose connected state differs from `wantFree`:
    // wantFree TRUE gives the first unconnected pin, FALSE the first connected one.
    CRootPin* FindPinByDirection(PIN_DIRECTION direction, BOOL wantFree);
    BOOL RemovePin(CRootPin* pin);
    void FreePinList();
    void DumpPinList();
    // Called by the graph after every connect and disconnect; rebuilds the pin list of a filter
    // whose pins come and go (m_bDyncPin).
    void OnConnectStatusChange();
    BOOL IsDyncPin() const { return m_bDyncPin; }

    // Binds the first device of `category` whose FriendlyName matches `name` into *out; the
    // wrapper's own filter is not touched. E_POINTER for a NULL out, E_INVALIDARG (nothing bound)
    // for an empty or NULL name, the bind's result for a match, else a failure (no device of that
    // name, or the category could not be enumerated) with *out NULL.
    static HRESULT BindDeviceByName(GUID category, const char* name, IBaseFilter** out);

    HRESULT HasPropertyPages(BOOL* has);
    BOOL ShowPropertyPages(HWND parent, const char* caption);

    // Sets the device-instance index (g_nDeviceInstance).
    static void SetDeviceIndex(int index) { g_nDeviceInstance = index; }

protected:
    void SetValid(BOOL valid) { m_bValid = valid; }
    void ClearPins();
    // Init's opening of the class's private interface `iid` into `member`: emptied first; FALSE
    // without a query for an invalid wrapper; kept with TRUE when the answer is taken (S_OK, or
    // any success code that gave a pointer), else emptied again with FALSE.
    template <class Ptr>
    BOOL OpenFilterInterface(REFIID iid, Ptr& member, TakenAnswer taken) {
        member.Release();
        if (!IsValid()) return FALSE;
        const HRESULT hr = m_pFilter->QueryInterface(iid, reinterpret_cast<void**>(&member));
        if (IsTakenAnswer(hr, taken) && (taken == TakenAnswer::ExactlyOk || member != nullptr)) return TRUE;
        member.Release();
        return FALSE;
    }

    CComPtr<IBaseFilter> m_pFilter;
    BOOL m_bValid = FALSE;
    char m_szName[kFilterNameSize] = {};
    char m_szDeviceName[kFilterNameSize] = {};
    int m_nPinCount = 0;
    CRootFilter* m_pNext = nullptr;
    CRootPin* m_pPinList = nullptr;
    BOOL m_bDyncPin = FALSE;
    CRootGraph* m_pGraph;
    BOOL m_bCreatedByClsid = FALSE;

private:
    BOOL m_bSetUp = FALSE;

    void BindDevice(const GUID* category, const char* friendlyName, int flag);
    void AppendPin(CRootPin* pin);
};
