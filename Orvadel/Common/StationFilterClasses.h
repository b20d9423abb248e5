// Registers the station's own filter wrapper classes (the MPEG-2 demultiplexer). Called after the
// graph library's and the card classes' registration, so these records are tried first. A second
// call changes nothing.
#pragma once

void RegisterStationFilterClasses();
