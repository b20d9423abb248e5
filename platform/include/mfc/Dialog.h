// CDialog: a window built from a dialog template (see mfc/Resources.h), run modally with its
// own message loop or created modeless (a page laid into another dialog).
#pragma once

#include "mfc/Resources.h"
#include "mfc/Wnd.h"

class PLATFORM_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Creates the dialog, runs its loop until EndDialog and destroys it; returns the result
    // given to EndDialog, or -1 when the dialog could not be created or a WM_QUIT ended it.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless (as a child when its template says WS_CHILD).
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // A modal dialog's loop ends with the result; a modeless dialog is hidden.
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Dialog keys: Enter presses the default (or focused) button, Escape cancels, Tab moves on.
    BOOL PreTranslateMessage(MSG* msg) override;

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    DWORD GetDefID() const;

    // Runs DoModal on a template given as data instead of a registered one.
    BOOL InitModalIndirect(const AfxDialogTemplate* dialogTemplate, CWnd* parent = nullptr);

    UINT m_nIDHelp = 0;  // the template id
    const AfxDialogTemplate* m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    BOOL CreateFromTemplate(HWND parent, bool modal);

    DECLARE_MESSAGE_MAP()
};

// The procedure of the dialog window class (WC_DIALOG): WM_CLOSE becomes IDCANCEL.
PLATFORM_API LRESULT CALLBACK AfxDefDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
