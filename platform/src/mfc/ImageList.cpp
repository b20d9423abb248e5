// Image lists: image size and count (these displays draw no pixels of them).
#include <map>
#include <mutex>

#include "mfc/Resources.h"
#include "platform/commctrl.h"

struct _IMAGELIST {
    int cx;
    int cy;
    UINT flags;
    int count;
};

namespace {

std::mutex& Lock() {
    static auto* lock = new std::mutex;
    return *lock;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
    if (cx <= 0 || cy <= 0) return nullptr;
    return new _IMAGELIST{cx, cy, flags, 0};
}

HIMAGELIST ImageList_LoadBitmapA(HINSTANCE instance, LPCSTR bitmap, int cx, int grow, COLORREF mask) {
    UINT id = UINT(reinterpret_cast<ULONG_PTR>(bitmap));
    int width = 0, height = 0;
    if (id > 0xFFFF || !AfxFindBitmapResource(id, &width, &height) || cx <= 0) return nullptr;
    return new _IMAGELIST{cx, height, ILC_MASK, width / cx};
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    if (!list) return FALSE;
    delete list;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
    if (!list) return 0;
    std::lock_guard<std::mutex> g(Lock());
    return list->count;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
    if (!list) return FALSE;
    if (cx) *cx = list->cx;
    if (cy) *cy = list->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
    if (!list) return -1;
    std::lock_guard<std::mutex> g(Lock());
    return list->count++;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask) { return ImageList_Add(list, image, nullptr); }

BOOL ImageList_Remove(HIMAGELIST list, int index) {
    if (!list) return FALSE;
    std::lock_guard<std::mutex> g(Lock());
    if (index == -1) {
        list->count = 0;
        return TRUE;
    }
    if (index < 0 || index >= list->count) return FALSE;
    --list->count;
    return TRUE;
}
