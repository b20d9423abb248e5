// The application's resources kept as data: string table and dialog templates. The
// application registers its tables once at start (or through AfxResourceRegistrar objects).
#pragma once

#include <vector>

#include "platform/winbase.h"

#define IDC_STATIC (-1)

// One control of a dialog template. Position and size are in dialog units (a quarter of the
// average character width, an eighth of the character height); style holds the WS_ and the
// class's own style bits, WS_VISIBLE and WS_DISABLED giving the initial state.
struct AfxControlTemplate {
    int id;
    LPCSTR className;  // "Button", "Static", "Edit", "ListBox", "msctls_progress32", "SysListView32", ...
    LPCSTR text;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
};

struct AfxDialogTemplate {
    UINT id;
    LPCSTR caption;
    int x, y, cx, cy;  // dialog units
    DWORD style;       // WS_CHILD for a page laid into another dialog, WS_POPUP | WS_CAPTION for a top-level one
    std::vector<AfxControlTemplate> controls;
};

PLATFORM_API void AfxRegisterStringResource(UINT id, LPCSTR text);
PLATFORM_API LPCSTR AfxFindStringResource(UINT id);  // null when not registered
PLATFORM_API void AfxRegisterDialogTemplate(const AfxDialogTemplate& dialogTemplate);
PLATFORM_API const AfxDialogTemplate* AfxFindDialogTemplate(UINT id);

// Registers a table of dialog templates and strings when constructed (a static object of the
// application's resource file).
struct AfxStringResource {
    UINT id;
    LPCSTR text;
};
class PLATFORM_API AfxResourceRegistrar {
public:
    AfxResourceRegistrar(std::vector<AfxDialogTemplate> dialogs, std::vector<AfxStringResource> strings = {});
};
