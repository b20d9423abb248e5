// The writers: the file writer and the dump filter, each one input pin taking any type and
// IFileSinkFilter(2) for the file's name. The stand-in writes no data.
#pragma once

#include "platform/dshow/FileSinkMixin.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class FileWriterFilter : public With<FilterBase, FileSinkMixin> {
public:
    FileWriterFilter(REFCLSID clsid, const wchar_t* pinName);
};

}  // namespace platform::dshow
