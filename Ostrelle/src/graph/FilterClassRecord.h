// The filter-class registry: one record per wrapper class, linked into one process-wide list by
// the registration function of the class's library. When a graph adds a filter by CLSID, or a
// device by category and FriendlyName, it walks the list from the head and the first record that
// matches creates the wrapper of its class. The record linked last is tried first.
//
// Registration is explicit and ordered: each library has one function that links its records,
// and the program calls them in a fixed order at start (the graph library first, the card classes
// next, the station's own records last). Nothing is linked by static initialisation.
#pragma once

#include <dshow.h>

#include <new>

#include "graph/NameText.h"

class CRootFilter;
class CRootGraph;

// Makes a wrapper of the class: by device name when the record was matched by category and name
// (IsByName), else by CLSID. NULL only when allocation fails; the graph judges validity.
typedef CRootFilter* (*FilterCreator)(CRootGraph* graph, int flag);
// Makes a wrapper of the class around a filter that already exists (in a graph).
typedef CRootFilter* (*FilterWrapCreator)(CRootGraph* graph, IBaseFilter* filter);

// The name of a record that takes every device of its category.
inline constexpr const char kAnyDeviceName[] = "CLASS_FILTER";

class CFilterClassRecord {
public:
    // Exactly one of `clsid` and `category` is given. `wrapCreator` is optional: classes that can
    // wrap an existing filter provide it.
    CFilterClassRecord(const CLSID* clsid, const GUID* category, const char* name, FilterCreator creator,
                       FilterWrapCreator wrapCreator = nullptr);
    CFilterClassRecord(const CFilterClassRecord&) = delete;
    CFilterClassRecord& operator=(const CFilterClassRecord&) = delete;

    // Clears the by-name flag; TRUE exactly when the record has a CLSID equal to `clsid`.
    BOOL MatchClsid(REFCLSID clsid);
    // Sets the by-name flag. FALSE when the record has no category or another one. Otherwise the
    // wanted name becomes the record's device name, and the answer is TRUE when the record's name
    // is "CLASS_FILTER" or equals the wanted name exactly. A wanted name that does not fit the
    // 128-byte device name is never matched.
    BOOL MatchCategoryName(REFGUID category, const char* friendlyName);

    // The creator of the class, called after a match.
    CRootFilter* Create(CRootGraph* graph, int flag) const { return m_pfnCreator(graph, flag); }
    // TRUE when the class can wrap an existing filter.
    BOOL CanWrap() const { return m_pfnWrapCreator != nullptr ? TRUE : FALSE; }
    // The wrap creator of the class; NULL when it has none or allocation fails.
    CRootFilter* Wrap(CRootGraph* graph, IBaseFilter* filter) const;

    const CLSID* GetClsid() const { return m_pClsid; }
    const GUID* GetCategory() const { return m_pCategory; }
    const char* GetName() const { return m_szName; }
    BOOL IsByName() const { return m_bByName; }
    const char* GetDeviceName() const { return m_szDeviceName; }
    CFilterClassRecord* GetNext() const { return m_pNext; }

    // The first record a lookup tries; NULL while nothing is registered.
    static CFilterClassRecord* GetHead();
    // Unlinks every record linked since `head` was the head, so a test leaves the registry as
    // it found it.
    static void UnlinkNewerThan(CFilterClassRecord* head);

private:
    friend class CFilterClassInit;

    const CLSID* m_pClsid;
    const GUID* m_pCategory;
    char m_szName[kFilterNameSize];
    FilterCreator m_pfnCreator;
    CFilterClassRecord* m_pNext;
    BOOL m_bByName;
    char m_szDeviceName[kFilterNameSize];
    FilterWrapCreator m_pfnWrapCreator;
};

// Links a record at the head of the registry. A record that is linked already stays where it is.
class CFilterClassInit {
public:
    explicit CFilterClassInit(CFilterClassRecord* record);
};

// The creator and the wrap creator of a wrapper class T, for its record. T has the constructors
// (graph, category, device name, flag), (graph, CLSID) and, for the wrap creator,
// (graph, IBaseFilter*); the new object runs its second creation phase (CRootFilter::SetUp) once.
template <class T>
CRootFilter* CreateFilterOfClass(const CFilterClassRecord& record, CRootGraph* graph, int flag) {
    T* filter = record.IsByName() ? new (std::nothrow) T(graph, record.GetCategory(), record.GetDeviceName(), flag)
                                  : new (std::nothrow) T(graph, *record.GetClsid());
    if (filter != nullptr) filter->SetUp();
    return filter;
}

template <class T>
CRootFilter* WrapFilterOfClass(CRootGraph* graph, IBaseFilter* existing) {
    T* filter = new (std::nothrow) T(graph, existing);
    if (filter != nullptr) filter->SetUp();
    return filter;
}

// Registers the graph library's own wrapper classes, in their fixed order. Called once at start,
// before the card classes' and the station's registration; a second call changes nothing.
void RegisterGraphFilterClasses();
