#include "cards/CardFilterClasses.h"

#include "cards/1394DVFilter.h"
#include "cards/23881BootCardFilter.h"
#include "cards/23881CardFilter.h"
#include "cards/23881OgmundCardFilter.h"
#include "cards/AcmWrapperFilter.h"
#include "cards/CamCaptureFilter.h"
#include "cards/DVBCCardFilter.h"
#include "cards/EmpAudioFilter.h"
#include "cards/CranlowCardFilter.h"
#include "cards/DirirCardFilter.h"
#include "cards/DolbrayCardFilter.h"
#include "cards/EbrinCardFilter.h"
#include "cards/FosbryCardFilter.h"
#include "cards/GrelmoCardFilter.h"
#include "cards/Inifinit.h"
#include "cards/InifinitTVAudio.h"
#include "cards/InifinitTimeShift.h"
#include "cards/JorskFilters.h"
#include "cards/Kesh713xCardFilter.h"
#include "cards/MovrikCardFilter.h"
#include "cards/Mpeg2BoxFilter.h"
#include "cards/OemCardFilter.h"
#include "cards/PcieFilter.h"
#include "cards/PipCardFilter.h"
#include "cards/PriskoCardFilter.h"
#include "cards/PriskoEncoderFilter.h"
#include "cards/QelCardFilter.h"
#include "cards/RiveskCardFilter.h"
#include "cards/SivrenCardFilter.h"
#include "cards/TV713xCardFilter.h"
#include "cards/TVAVCardFilter.h"
#include "cards/TV2388xCardFilter.h"
#include "cards/TV_IOFilter.h"
#include "cards/TridentFilter.h"
#include "cards/TridentUsbFilter.h"
#include "cards/VozeCardFilter.h"
#include "cards/WadrelCardFilter.h"
#include "cards/YelvinCardFilter.h"
#include "cards/YolmCardFilter.h"
#include "cards/Em2800Filter.h"
#include "cards/Em2820Filter.h"
#include "cards/Em2821Filter.h"
#include "cards/UsbCard2881Filter.h"
#include "cards/UsbTVBoxFilter.h"
#include "cards/WolbryCardFilter.h"
#include "cards/ElgrinCardFilter.h"
#include "cards/WandryCardFilter.h"
#include "cards/FimbrelCardFilter.h"
#include "cards/FimbrelEncoderFilter.h"

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
