// The graph library's wrapper classes in the registry, in their fixed order (the record linked
// last is tried first).
#include "DumpFilter.h"
#include "FilterClassRecord.h"
#include "MpegEncoderFilter.h"

void RegisterGraphFilterClasses() {
    static CFilterClassRecord* const kRecords[] = {
        &CMpegEncoderFilter::s_classRecord,
        &CDumpFilter::s_classRecord,
    };
    for (CFilterClassRecord* record : kRecords) CFilterClassInit link(record);
}
