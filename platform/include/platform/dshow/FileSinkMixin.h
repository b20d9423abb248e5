// IFileSinkFilter2 for writers: the output file's name and media type, and the write mode.
#pragma once

#include <mutex>
#include <string>

#include "platform/dshow/MediaType.h"

namespace platform::dshow {

class PLATFORM_API FileSinkMixin : public IFileSinkFilter2 {
public:
    using Interface = IFileSinkFilter2;

    std::wstring FileName() const;

    // A NULL name clears the file name.
    STDMETHODIMP SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
    // S_OK with a NULL name when none is set.
    STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP SetMode(DWORD dwFlags) override;
    STDMETHODIMP GetMode(DWORD* pdwFlags) override;

protected:
    virtual ~FileSinkMixin() = default;

private:
    mutable std::mutex m_lock;
    bool m_hasName = false;
    std::wstring m_name;
    MediaType m_type;
    DWORD m_mode = 0;
};

}  // namespace platform::dshow
