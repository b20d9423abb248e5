// CFilterWrapper<Class, Base>: what every registered wrapper class has alike: the constructors
// of Base (CRootFilter's three, or those of the wrapper it refines) and the registry's creators
// over the class's record, Class::s_classRecord, which each class defines in its .cpp file
// (= Record(...)).
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/RootFilter.h"

template <class Class, class Base = CRootFilter>
class CFilterWrapper : public Base {
public:
    using Base::Base;

    // The class's record: by CLSID (category null) or by category and name, with its creators.
    static CFilterClassRecord Record(const CLSID* clsid, const GUID* category, const char* name)
    {
        return CFilterClassRecord(clsid, category, name, &CreateInstance, &WrapInstance);
    }

    // A new filter of the class's record (by CLSID, or by category and name), set up.
    static CRootFilter* CreateInstance(CRootGraph* graph, int flag)
    {
        return CreateFilterOfClass<Class>(Class::s_classRecord, graph, flag);
    }

    // A wrapper of the class round a filter that is already there, set up.
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter)
    {
        return WrapFilterOfClass<Class>(graph, filter);
    }
};

// CInterfaceWrapper<Class, Interface, Iid, Taken>: a wrapper class that holds one private
// interface of its filter in m_pInterface: Init opens it (CRootFilter::OpenFilterInterface, the
// answers Taken names being taken), the destructor releases it.
template <class Class, class Interface, const IID& Iid, TakenAnswer Taken>
class CInterfaceWrapper : public CFilterWrapper<Class> {
public:
    using CFilterWrapper<Class>::CFilterWrapper;

    ~CInterfaceWrapper() override { m_pInterface.Release(); }

    BOOL Init() override { return this->OpenFilterInterface(Iid, m_pInterface, Taken); }

protected:
    CComPtr<Interface> m_pInterface;
};
