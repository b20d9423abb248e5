// CObject with run-time class information, CException and the exception macros.
#pragma once

#include "mfc/String.h"

class CObject;

struct PLATFORM_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class PLATFORM_API CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void AssertValid() const {}
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const { return GetRuntimeClass()->IsDerivedFrom(runtimeClass); }

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)
#define DECLARE_DYNAMIC(class_name)                           \
public:                                                       \
    static const CRuntimeClass class##class_name;             \
    const CRuntimeClass* GetRuntimeClass() const override;
#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();
#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, creator)                                     \
    const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class class_name), creator, \
                                                         RUNTIME_CLASS(base_class_name)};                    \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }
#define IMPLEMENT_DYNAMIC(class_name, base_class_name) AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)             \
    CObject* class_name::CreateObject() { return new class_name; } \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
#define DYNAMIC_DOWNCAST(class_name, object) (dynamic_cast<class_name*>(object))

#define DEBUG_NEW new

// Exceptions are thrown as pointers and released by the catcher with Delete().
class PLATFORM_API CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    virtual BOOL GetErrorMessage(LPSTR error, UINT maxError, UINT* helpContext = nullptr);
    // Shows the error text in a message box; returns the box's answer.
    virtual int ReportError(UINT type = 0, UINT messageId = 0);
    void Delete();

    bool m_bHeldByCatch = false;  // a CATCH block deletes it at its end
};

// Deletes the caught exception at the end of a CATCH block (MFC's TRY/CATCH macros).
class AfxCaughtException {
public:
    explicit AfxCaughtException(CException* e) : m_e(e) { m_e->m_bHeldByCatch = true; }
    ~AfxCaughtException() { delete m_e; }
    AfxCaughtException(const AfxCaughtException&) = delete;
    AfxCaughtException& operator=(const AfxCaughtException&) = delete;

private:
    CException* m_e;
};

#define TRY try
#define CATCH(class_name, e) catch (class_name * e) { AfxCaughtException afxCaught_(e);
#define AND_CATCH(class_name, e) } catch (class_name * e) { AfxCaughtException afxCaught_(e);
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define THROW(e) throw e
#define THROW_LAST() throw
