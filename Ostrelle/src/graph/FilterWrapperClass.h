// The parts every generic wrapper class has alike: in its class, the declarations; in its .cpp
// file, the creator and the wrap creator over the class's record, and its own copies of the two
// hook slots (S_OK).
#pragma once

#include "graph/FilterClassRecord.h"

// What a wrapper class declares alike: the three constructors, the destructor, the two hook
// slots, Init and the registry's creators.
#define FILTER_WRAPPER_DECLARATIONS(Class)                                              \
    Class(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);  \
    Class(CRootGraph* owner, REFCLSID clsid);                                            \
    Class(CRootGraph* owner, IBaseFilter* filter);                                       \
    ~Class() override;                                                                   \
    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;               \
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;               \
    BOOL Init() override;                                                                \
    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);                     \
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);            \
    static CFilterClassRecord s_classRecord

#define FILTER_WRAPPER_CREATORS(Class)                                          \
    CRootFilter* Class::CreateInstance(CRootGraph* graph, int flag) {           \
        return CreateFilterOfClass<Class>(s_classRecord, graph, flag);          \
    }                                                                           \
    CRootFilter* Class::WrapInstance(CRootGraph* graph, IBaseFilter* filter) {  \
        return WrapFilterOfClass<Class>(graph, filter);                         \
    }

#define FILTER_WRAPPER_HOOKS(Class)                                             \
    HRESULT Class::OnHook1(LONG_PTR, LONG_PTR, LONG_PTR) { return S_OK; }       \
    HRESULT Class::OnHook2(LONG_PTR, LONG_PTR, LONG_PTR) { return S_OK; }

// The three constructors of a wrapper class directly on CRootFilter.
#define FILTER_WRAPPER_CONSTRUCTORS(Class)                                                         \
    Class::Class(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)       \
        : CRootFilter(owner, category, friendlyName, flag) {}                                       \
    Class::Class(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}                  \
    Class::Class(CRootGraph* owner, IBaseFilter* filter) : CRootFilter(owner, filter) {}

// The record (by CLSID), creators, constructors and hooks of a wrapper class.
#define FILTER_WRAPPER_CLSID_CLASS(Class, clsid, name)                                                            \
    CFilterClassRecord Class::s_classRecord(&clsid, nullptr, name, &Class::CreateInstance, &Class::WrapInstance); \
    FILTER_WRAPPER_CREATORS(Class)                                                                                \
    FILTER_WRAPPER_CONSTRUCTORS(Class)                                                                            \
    FILTER_WRAPPER_HOOKS(Class)
