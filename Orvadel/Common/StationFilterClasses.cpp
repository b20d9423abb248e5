#include "StationFilterClasses.h"

#include "MPEG2Demultiplexer.h"

void RegisterStationFilterClasses() {
    CFilterClassInit demux(&CMPEG2Demultiplexer::s_classRecord);
}
