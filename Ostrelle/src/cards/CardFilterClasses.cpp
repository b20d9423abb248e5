#include "cards/CardFilterClasses.h"

#include "cards/Kesh713xCardFilter.h"
#include "cards/QelCardFilter.h"

void RegisterCardFilterClasses() {
    static CFilterClassRecord* const kRecords[] = {
        &CQelCrossbarFilter::s_classRecord,
        &CQelCardFilter::s_classRecord,
        &CKesh713xCrossbarFilter::s_classRecord,
        &CKesh713xCardFilter::s_classRecord,
    };
    for (CFilterClassRecord* record : kRecords) CFilterClassInit link(record);
}
