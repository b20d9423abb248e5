// The card library's filter classes in the registry.
#pragma once

// Links the records of the card and crossbar classes, in their fixed order (the record linked
// last is tried first). Called once at start, after RegisterGraphFilterClasses and before the
// station's own records; a second call changes nothing.
void RegisterCardFilterClasses();
