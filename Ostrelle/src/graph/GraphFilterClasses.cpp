// The graph library's wrapper classes in the registry, in their fixed order (the record linked
// last is tried first).
#include "graph/DumpFilter.h"
#include "graph/FilterClassRecord.h"
#include "graph/MpegEncoderFilter.h"

void RegisterGraphFilterClasses() {
    static CFilterClassRecord* const kRecords[] = {
        &CMpegEncoderFilter::s_classRecord,
        &CDumpFilter::s_classRecord,
    };
    for (CFilterClassRecord* record : kRecords) CFilterClassInit link(record);
}
