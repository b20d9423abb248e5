#include "cards/CardFilterClasses.h"

#include "cards/1394DVFilter.h"
#include "cards/AcmWrapperFilter.h"
#include "cards/CamCaptureFilter.h"
#include "cards/DVBCCardFilter.h"
#include "cards/EmpAudioFilter.h"
#include "cards/Kesh713xCardFilter.h"
#include "cards/QelCardFilter.h"

void RegisterCardFilterClasses() {
    static CFilterClassRecord* const kRecords[] = {
        &CQelCrossbarFilter::s_classRecord,
        &CQelCardFilter::s_classRecord,
        &CKesh713xCrossbarFilter::s_classRecord,
        &CKesh713xCardFilter::s_classRecord,
        &CDVBCCardFilter::s_classRecord,
        &C1394DVFilter::s_classRecord,
        &CUsbCamFilter::s_classRecord,
        &CEmpAudioFilter::s_classRecord,
        &CAcmWrapperFilter::s_classRecord,
    };
    for (CFilterClassRecord* record : kRecords) CFilterClassInit link(record);
}
