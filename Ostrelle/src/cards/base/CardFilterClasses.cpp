// The card library's filter classes in the registry.
#include "cards/base/CardFilterClasses.h"

#include "cards/devices/1394DVFilter.h"
#include "cards/cx2388x/23881BootCardFilter.h"
#include "cards/cx2388x/23881CardFilter.h"
#include "cards/cx2388x/23881OgmundCardFilter.h"
#include "cards/filters/AcmWrapperFilter.h"
#include "cards/devices/CamCaptureFilter.h"
#include "cards/devices/DVBCCardFilter.h"
#include "cards/usb/EmpAudioFilter.h"
#include "cards/saa713x/CranlowCardFilter.h"
#include "cards/saa713x/DirirCardFilter.h"
#include "cards/saa713x/DolbrayCardFilter.h"
#include "cards/saa713x/EbrinCardFilter.h"
#include "cards/saa713x/FosbryCardFilter.h"
#include "cards/saa713x/GrelmoCardFilter.h"
#include "cards/filters/StreamFilters.h"
#include "cards/base/TVAudioFilter.h"
#include "cards/filters/TimeShiftFilter.h"
#include "cards/encoders/JorskFilters.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/MovrikCardFilter.h"
#include "cards/encoders/Mpeg2BoxFilter.h"
#include "cards/saa713x/OemCardFilter.h"
#include "cards/devices/PcieFilter.h"
#include "cards/saa713x/PipCardFilter.h"
#include "cards/encoders/PriskoCardFilter.h"
#include "cards/encoders/PriskoEncoderFilter.h"
#include "cards/saa713x/QelCardFilter.h"
#include "cards/encoders/RiveskCardFilter.h"
#include "cards/saa713x/SivrenCardFilter.h"
#include "cards/saa713x/TV713xCardFilter.h"
#include "cards/saa713x/TVAVCardFilter.h"
#include "cards/cx2388x/TV2388xCardFilter.h"
#include "cards/saa713x/TV_IOFilter.h"
#include "cards/trident/TridentFilter.h"
#include "cards/trident/TridentUsbFilter.h"
#include "cards/saa713x/VozeCardFilter.h"
#include "cards/saa713x/WadrelCardFilter.h"
#include "cards/cx2388x/YelvinCardFilter.h"
#include "cards/trident/YolmCardFilter.h"
#include "cards/usb/Em2800Filter.h"
#include "cards/usb/Em2820Filter.h"
#include "cards/usb/Em2821Filter.h"
#include "cards/usb/UsbCard2881Filter.h"
#include "cards/usb/UsbTVBoxFilter.h"
#include "cards/usb/WolbryCardFilter.h"
#include "cards/trident/ElgrinCardFilter.h"
#include "cards/trident/WandryCardFilter.h"
#include "cards/encoders/FimbrelCardFilter.h"
#include "cards/encoders/FimbrelEncoderFilter.h"

void RegisterCardFilterClasses() {
    // By key, each group in its registration order: the capture filters, the crossbars, the TV
    // audio devices, the encoders, the wrappers by CLSID and the EMP audio input.
    static CFilterClassRecord* const kRecords[] = {
        // Video input devices (42).
        &CTV713xCardFilter::s_classRecord,
        &CTV_IOFilter::s_classRecord,
        &CDirirCardFilter::s_classRecord,
        &CPipCardFilter::s_classRecord,
        &CWadrelCardFilter::s_classRecord,
        &C23881CardFilter::s_classRecord,
        &C23881BootCardFilter::s_classRecord,
        &C23881OgmundCardFilter::s_classRecord,
        &CCranlowCardFilter::s_classRecord,
        &CEm2800Filter::s_classRecord,
        &CUsbTVBoxFilter::s_classRecord,
        &CEm2820Filter::s_classRecord,
        &CEm2821Filter::s_classRecord,
        &C1394DVFilter::s_classRecord,
        &CUsbCamFilter::s_classRecord,
        &CTVAVCardFilter::s_classRecord,
        &CEbrinCardFilter::s_classRecord,
        &COemCardFilter::s_classRecord,
        &CGrelmoCardFilter::s_classRecord,
        &CMpeg2BoxFilter::s_classRecord,
        &CFosbryCardFilter::s_classRecord,
        &CRiveskCardFilter::s_classRecord,
        &CPriskoCardFilter::s_classRecord,
        &CPcieFilter::s_classRecord,
        &CTridentFilter::s_classRecord,
        &CTridentUsbFilter::s_classRecord,
        &CJorskCaptureFilter::s_classRecord,
        &CUsbCard2881Filter::s_classRecord,
        &CDolbrayCardFilter::s_classRecord,
        &CYelvinCardFilter::s_classRecord,
        &CTV2388xCardFilter::s_classRecord,
        &CSivrenCardFilter::s_classRecord,
        &CMovrikCardFilter::s_classRecord,
        &CWolbryCardFilter::s_classRecord,
        &CElgrinCardFilter::s_classRecord,
        &CWandryCardFilter::s_classRecord,
        &CFimbrelCardFilter::s_classRecord,
        &CDVBCCardFilter::s_classRecord,
        &CTridentYolmCardFilter::s_classRecord,
        &CVozeCardFilter::s_classRecord,
        &CQelCardFilter::s_classRecord,
        &CKesh713xCardFilter::s_classRecord,
        // Crossbars (39).
        &C713xCrossbarFilter::s_classRecord,
        &CTV_IOCrossbarFilter::s_classRecord,
        &CDirirCrossbarFilter::s_classRecord,
        &CPipCrossbarFilter::s_classRecord,
        &CWadrelCrossbarFilter::s_classRecord,
        &C23881CrossbarFilter::s_classRecord,
        &C23881BootCrossbarFilter::s_classRecord,
        &C23881OgmundCrossbarFilter::s_classRecord,
        &CCranlowCrossbarFilter::s_classRecord,
        &CEm2800CrossbarFilter::s_classRecord,
        &CUsbTVBoxCrossbarFilter::s_classRecord,
        &CEm2820CrossbarFilter::s_classRecord,
        &CEm2821CrossbarFilter::s_classRecord,
        &CTVAVCrossbarFilter::s_classRecord,
        &CEbrinCrossbarFilter::s_classRecord,
        &COemCrossbarFilter::s_classRecord,
        &CGrelmoCrossbarFilter::s_classRecord,
        &CMpeg2BoxCrossbarFilter::s_classRecord,
        &CFosbryCrossbarFilter::s_classRecord,
        &CRiveskCrossbarFilter::s_classRecord,
        &CPriskoCrossbarFilter::s_classRecord,
        &CPcieCrossbarFilter::s_classRecord,
        &CTridentCrossbarFilter::s_classRecord,
        &CTridentUsbCrossbarFilter::s_classRecord,
        &CJorskCrossbarFilter::s_classRecord,
        &CUsbCard2881CrossbarFilter::s_classRecord,
        &CDolbrayCrossbarFilter::s_classRecord,
        &CYelvinCrossbarFilter::s_classRecord,
        &CTV2388xCrossbarFilter::s_classRecord,
        &CSivrenCrossbarFilter::s_classRecord,
        &CMovrikCrossbarFilter::s_classRecord,
        &CWolbryCrossbarFilter::s_classRecord,
        &CElgrinCrossbarFilter::s_classRecord,
        &CWandryCrossbarFilter::s_classRecord,
        &CFimbrelCrossbarFilter::s_classRecord,
        &CTridentYolmCrossbarFilter::s_classRecord,
        &CVozeCrossbarFilter::s_classRecord,
        &CQelCrossbarFilter::s_classRecord,
        &CKesh713xCrossbarFilter::s_classRecord,
        // TV audio devices.
        &C713xTVAudioFilter::s_classRecord,
        &C713x3TVAudioFilter::s_classRecord,
        &CPcieAudioDecoderFilter::s_classRecord,
        &CTridentUsbTvAudioFilter::s_classRecord,
        &CTridentYolmTvAudioFilter::s_classRecord,
        // Encoders.
        &CPriskoEncoderFilter::s_classRecord,
        &CFimbrelEncoderFilter::s_classRecord,
        // By CLSID.
        &CInfTeeFilter::s_classRecord,
        &CColorConvertFilter::s_classRecord,
        &CMpeg2SplitterFilter::s_classRecord,
        &CIVVideoDecoderFilter::s_classRecord,
        &CTimeShiftFilter::s_classRecord,
        &CMpeg1SplitterFilter::s_classRecord,
        &CAcmWrapperFilter::s_classRecord,
        // Audio input: after the graph library's wildcard row, so it takes its device first.
        &CEmpAudioFilter::s_classRecord,
    };
    for (CFilterClassRecord* record : kRecords) CFilterClassInit link(record);
}
