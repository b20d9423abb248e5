// CMuxFilter: the wrapper of the system AVI multiplexer, registered by its CLSID. Its input pins
// come and go with connections; its set-up configures the index and interleaving.
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CMuxFilter : public CFilterWrapper<CMuxFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CMuxFilter() override;

    // Marks the pins dynamic and configures the multiplexer with master stream 0.
    BOOL Init() override;

    // Old-style index and the master stream (IConfigAviMux), then an interleave of 1000 and a
    // preroll of 750 (100-ns units) and no interleaving (IConfigInterleaving). FALSE when the
    // index could not be set or the interleaving interface is missing.
    BOOL ConfigureMux(LONG masterStream);

    static CFilterClassRecord s_classRecord;
};
