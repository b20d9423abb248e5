// The writers.
#include "FileWriter.h"

namespace platform::dshow {

FileWriterFilter::FileWriterFilter(REFCLSID clsid, const wchar_t* pinName) : With(clsid) {
    AddPin(PinDescription{PINDIR_INPUT, pinName});
}

}  // namespace platform::dshow
