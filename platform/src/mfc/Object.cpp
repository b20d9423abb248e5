// CObject run-time class information and the exception base.
#include "mfc/Object.h"

#include <cstring>

#include "platform/winuser.h"

const CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == base) return TRUE;
    }
    return FALSE;
}

IMPLEMENT_DYNAMIC(CException, CObject)

BOOL CException::GetErrorMessage(LPSTR error, UINT maxError, UINT* helpContext) {
    if (helpContext) *helpContext = 0;
    if (error && maxError > 0) *error = '\0';
    return FALSE;
}

int CException::ReportError(UINT type, UINT messageId) {
    char text[512];
    CString message;
    if (GetErrorMessage(text, sizeof text)) {
        message = text;
    } else if (!messageId || !message.LoadString(messageId)) {
        message = "An unsupported operation was attempted.";
    }
    return MessageBoxA(nullptr, message, "", type);
}

void CException::Delete() {
    if (!m_bHeldByCatch) delete this;
}
