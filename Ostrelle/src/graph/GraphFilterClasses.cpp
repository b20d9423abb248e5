// The graph library's wrapper classes in the registry, in their fixed order (the record linked
// last is tried first). The audio-input wildcard comes first, so it is tried after every other
// record of its category.
#include "graph/AVSwitchFilter.h"
#include "graph/AudioCaptureFilter.h"
#include "graph/DeinterlaceSnapFilters.h"
#include "graph/DumpFilter.h"
#include "graph/FileWriteFilter.h"
#include "graph/FilterClassRecord.h"
#include "graph/IVEncoderFilter.h"
#include "graph/IVStreamFilters.h"
#include "graph/LigosFilters.h"
#include "graph/MCH264DecoderFilter.h"
#include "graph/MCH264EncoderFilter.h"
#include "graph/MCMpegCodecFilters.h"
#include "graph/MCMpegEncoderFilter.h"
#include "graph/Mpeg4VkiFilter.h"
#include "graph/MpegEncoderFilter.h"
#include "graph/MuxFilter.h"
#include "graph/OverlayFilter.h"
#include "graph/SampleGrabberFilter.h"
#include "graph/TimeDelayFilter.h"

void RegisterGraphFilterClasses() {
    static CFilterClassRecord* const kRecords[] = {
        &CAudioCaptureFilter::s_classRecord,
        &CMpegEncoderFilter::s_classRecord,
        &CMpeg4VkiV1Filter::s_classRecord,
        &CMpeg4VkiV2Filter::s_classRecord,
        &CMpeg4VkiV3Filter::s_classRecord,
        &CLigosEncoderFilter::s_classRecord,
        &CLigosTranscodeFilter::s_classRecord,
        &CDeinterlaceFilter::s_classRecord,
        &CSnapPictureFilter::s_classRecord,
        &CMCMuxFilter::s_classRecord,
        &CMCAudioDecoderFilter::s_classRecord,
        &CMCAudioEncoderFilter::s_classRecord,
        &CMCMpegEncoderFilter::s_classRecord,
        &CMCSplitterFilter::s_classRecord,
        &CMCVideoDecoderFilter::s_classRecord,
        &CMCVideoEncoderFilter::s_classRecord,
        &COverlayFilter::s_classRecord,
        &CIVAudioEncoderFilter::s_classRecord,
        &CIVVideoEncoderFilter::s_classRecord,
        &CIVFileWriterFilter::s_classRecord,
        &CIVMuxFilter::s_classRecord,
        &CIVStillCaptureFilter::s_classRecord,
        &CIVDownScaleFilter::s_classRecord,
        &CFileWriteFilter::s_classRecord,
        &CMuxFilter::s_classRecord,
        &CAVSwitchFilter::s_classRecord,
        &CSampleGrabberFilter::s_classRecord,
        &CDumpFilter::s_classRecord,
        &CTimeDelayFilter::s_classRecord,
        &CMCH264DecoderFilter::s_classRecord,
        &CMCH264EncoderFilter::s_classRecord,
    };
    for (CFilterClassRecord* record : kRecords) CFilterClassInit link(record);
}
