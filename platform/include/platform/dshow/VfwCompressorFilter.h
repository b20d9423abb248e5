// A video compressor of the video-compressor device category, as the system's codec manager
// offers it: a video input pin, an output pin whose IAMStreamConfig holds the compressed
// format (FORMAT_VideoInfo), and IAMVfwCompressDialogs over the codec's state blob. It compresses
// nothing; dialogs are recorded, not shown.
#pragma once

#include <mutex>
#include <vector>

#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class PLATFORM_API VfwCompressDialogsMixin : public IAMVfwCompressDialogs {
public:
    using Interface = IAMVfwCompressDialogs;

    struct DialogShown {
        int dialog;
        HWND owner;
    };

    // VfwCompressDialog_Config or _About; others E_INVALIDARG.
    STDMETHODIMP ShowDialog(int iDialog, HWND hwnd) override;
    // A null pState answers the blob's size; a buffer smaller than the blob E_INVALIDARG.
    STDMETHODIMP GetState(LPVOID pState, int* pcbState) override;
    STDMETHODIMP SetState(LPVOID pState, int cbState) override;
    STDMETHODIMP SendDriverMessage(int uMsg, long dw1, long dw2) override;

    std::vector<BYTE> StateBlob() const;
    std::vector<DialogShown> DialogsShown() const;

protected:
    virtual ~VfwCompressDialogsMixin() = default;

private:
    mutable std::mutex m_lock;
    std::vector<BYTE> m_state = std::vector<BYTE>(16, 0);
    std::vector<DialogShown> m_shown;
};

class PLATFORM_API VfwCompressorFilter : public With<FilterBase, VfwCompressDialogsMixin> {
public:
    // `fourcc` names the compressed subtype (a FOURCC media subtype).
    explicit VfwCompressorFilter(DWORD fourcc);
};

// The FOURCC media subtype of `fourcc`.
PLATFORM_API GUID FourccSubtype(DWORD fourcc);

}  // namespace platform::dshow
