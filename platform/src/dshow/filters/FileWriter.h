// The writers: the file writer and the dump filter, each one input pin taking any type and
// IFileSinkFilter(2) for the file's name and mode. With a name, the file is opened when the
// filter leaves Stop (created or truncated with AM_FILE_OVERWRITE; otherwise created or opened
// and written from its start, cut at the end of what was written), every sample's bytes are
// written in arrival order, and the file is synced and closed at Stop (a file the writer made
// that took no byte is removed; a name that is a symbolic link is refused). A file that cannot
// be opened refuses the pause. A write error ends the writing: the sample fails with the error as an
// HRESULT, which ends the stream with EC_ERRORABORT. Without a name samples are dropped.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/dshow/FileSinkMixin.h"
#include "platform/dshow/RendererBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class FileWriterFilter : public With<RendererBase, FileSinkMixin> {
public:
    FileWriterFilter(REFCLSID clsid, const wchar_t* pinName);

protected:
    ~FileWriterFilter() override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    HRESULT Render(PinBase* pin, IMediaSample* sample) override;

private:
    void Close();

    std::mutex m_lock;  // the file, against writes from more than one thread
    HANDLE m_file = nullptr;
    std::string m_path;  // the file's name when this writer made it, to remove it when it took nothing
    uint64_t m_written = 0;
    bool m_failed = false;
};

}  // namespace platform::dshow
