// The parts every generic wrapper class has alike: in its class, the declarations of its
// constructors, hook slots, creators and record; in its .cpp file, the record, the creator and
// the wrap creator over it, the constructors that pass their arguments to CRootFilter, and its
// own copies of the two hook slots (S_OK).
#pragma once

#include "graph/FilterClassRecord.h"

// The three constructors of a wrapper class, those of CRootFilter (defined by
// FILTER_WRAPPER_CONSTRUCTORS).
#define FILTER_WRAPPER_CONSTRUCTOR_DECLARATIONS(Class)                                  \
    Class(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);  \
    Class(CRootGraph* owner, REFCLSID clsid);                                            \
    Class(CRootGraph* owner, IBaseFilter* filter)

// The class's own copies of the two hook slots (defined by FILTER_WRAPPER_HOOKS).
#define FILTER_WRAPPER_HOOK_DECLARATIONS                                      \
    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;     \
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override

// The registry's creators and the class's record (defined by FILTER_WRAPPER_REGISTRATION, or by
// FILTER_WRAPPER_CREATORS beside a record of the class's own).
#define FILTER_WRAPPER_CREATOR_DECLARATIONS                                   \
    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);           \
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);  \
    static CFilterClassRecord s_classRecord

// What a registered wrapper class declares for the registry: the hook slots, the creators and
// its record.
#define FILTER_WRAPPER_REGISTRY_DECLARATIONS(Class) \
    FILTER_WRAPPER_HOOK_DECLARATIONS;               \
    FILTER_WRAPPER_CREATOR_DECLARATIONS

// What a wrapper class that keeps CRootFilter's Init declares alike: the three constructors,
// the destructor and the registry's part.
#define FILTER_WRAPPER_PLAIN_DECLARATIONS(Class)    \
    FILTER_WRAPPER_CONSTRUCTOR_DECLARATIONS(Class);  \
    ~Class() override;                               \
    FILTER_WRAPPER_REGISTRY_DECLARATIONS(Class)

// What a wrapper class declares alike: the three constructors, the destructor, Init and the
// registry's part.
#define FILTER_WRAPPER_DECLARATIONS(Class)      \
    FILTER_WRAPPER_PLAIN_DECLARATIONS(Class);    \
    BOOL Init() override

#define FILTER_WRAPPER_CREATORS(Class)                                          \
    CRootFilter* Class::CreateInstance(CRootGraph* graph, int flag) {           \
        return CreateFilterOfClass<Class>(s_classRecord, graph, flag);          \
    }                                                                           \
    CRootFilter* Class::WrapInstance(CRootGraph* graph, IBaseFilter* filter) {  \
        return WrapFilterOfClass<Class>(graph, filter);                         \
    }

// The record of the class (its CLSID or its category, and its name) and the creators over it.
#define FILTER_WRAPPER_REGISTRATION(Class, clsid, category, name)                                                \
    CFilterClassRecord Class::s_classRecord(clsid, category, name, &Class::CreateInstance, &Class::WrapInstance); \
    FILTER_WRAPPER_CREATORS(Class)

#define FILTER_WRAPPER_HOOKS(Class)                                             \
    HRESULT Class::OnHook1(LONG_PTR, LONG_PTR, LONG_PTR) { return S_OK; }       \
    HRESULT Class::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) { return S_OK; }

// The three constructors of a wrapper class directly on CRootFilter, passing the arguments on.
#define FILTER_WRAPPER_CONSTRUCTORS(Class)                                                         \
    Class::Class(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)       \
        : CRootFilter(owner, category, friendlyName, flag) {}                                       \
    Class::Class(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}                  \
    Class::Class(CRootGraph* owner, IBaseFilter* filter) : CRootFilter(owner, filter) {}

// The record (by CLSID), creators, constructors and hooks of a wrapper class.
#define FILTER_WRAPPER_CLSID_CLASS(Class, clsid, name)        \
    FILTER_WRAPPER_REGISTRATION(Class, &clsid, nullptr, name) \
    FILTER_WRAPPER_CONSTRUCTORS(Class)                        \
    FILTER_WRAPPER_HOOKS(Class)

// The destructor and Init of a wrapper class that holds one private interface of its filter in
// `member`: Init opens it (CRootFilter::OpenFilterInterface, the answers `taken` names being
// taken), the destructor releases it.
#define FILTER_WRAPPER_INTERFACE(Class, iid, member, taken)                                  \
    Class::~Class() { member.Release(); }                                                     \
    BOOL Class::Init() { return OpenFilterInterface(iid, member, TakenAnswer::taken); }
