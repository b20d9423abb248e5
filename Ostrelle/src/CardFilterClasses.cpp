#include "CardFilterClasses.h"

#include "Kesh713xCardFilter.h"
#include "QelCardFilter.h"

void RegisterCardFilterClasses() {
    static CFilterClassRecord* const kRecords[] = {
        &CQelCrossbarFilter::s_classRecord,
        &CQelCardFilter::s_classRecord,
        &CKesh713xCrossbarFilter::s_classRecord,
        &CKesh713xCardFilter::s_classRecord,
    };
    for (CFilterClassRecord* record : kRecords) CFilterClassInit link(record);
}
