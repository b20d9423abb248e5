// The parts every generic wrapper class has alike, for its .cpp file: the creator and the wrap
// creator over the class's record, and its own copies of the two hook slots (S_OK).
#pragma once

#include "graph/FilterClassRecord.h"

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
