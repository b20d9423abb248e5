// The filters the makers' packages install: one row each, the pins of those that are pins and
// private interfaces only.
#include "hwsim/installed/InstalledFilterRow.h"

#include "hwsim/installed/CardGraphFilters.h"
#include "hwsim/installed/InterVideoFilters.h"
#include "hwsim/installed/LigosFilters.h"
#include "hwsim/installed/McH264Decoder.h"
#include "hwsim/installed/McMpegFilters.h"
#include "hwsim/installed/MpegDecoders.h"
#include "hwsim/installed/PinnedFilter.h"
#include "hwsim/installed/VorlaneFilters.h"
#include "uuids.h"

namespace hwsim {

namespace {

using platform::dshow::FileSinkMixin;

constexpr PIN_DIRECTION In = PINDIR_INPUT;
constexpr PIN_DIRECTION Out = PINDIR_OUTPUT;

const InstalledPin kAvSwitchPins[] = {{In, L"Video In", &MEDIATYPE_Video},
                                      {In, L"Audio In", &MEDIATYPE_Audio},
                                      {Out, L"Video Out", &MEDIATYPE_Video},
                                      {Out, L"Audio Out", &MEDIATYPE_Audio}};
const InstalledPin kVideoThrough[] = {{In, L"Input", &MEDIATYPE_Video}, {Out, L"Output", &MEDIATYPE_Video}};
const InstalledPin kAudioEncoderPins[] = {{In, L"Input", &MEDIATYPE_Audio}, {Out, L"Output", &MEDIATYPE_Stream}};
const InstalledPin kVideoEncoderPins[] = {{In, L"Input", &MEDIATYPE_Video}, {Out, L"Output", &MEDIATYPE_Stream}};
const InstalledPin kStreamIn[] = {{In, L"Input", &MEDIATYPE_Stream}};
const InstalledPin kStreamThrough[] = {{In, L"Input", &MEDIATYPE_Stream}, {Out, L"Output", &MEDIATYPE_Stream}};
const InstalledPin kLigosEncoderPins[] = {
    {In, L"Video", &MEDIATYPE_Video}, {In, L"Audio", &MEDIATYPE_Audio}, {Out, L"Output", &MEDIATYPE_Stream}};
const InstalledPin kTimeShiftPins[] = {{In, L"Input", &MEDIATYPE_Stream},
                                       {Out, L"Output", &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM}};

// The MainConcept family's pins: YUY2 video, PCM audio, an MPEG-2 program stream.
const InstalledPin kMcEncoderPins[] = {{In, L"Video In", &MEDIATYPE_Video, &MEDIASUBTYPE_YUY2},
                                       {In, L"Audio In", &MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const InstalledPin kMcStreamOut[] = {{Out, L"Output", &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM}};
const InstalledPin kMcMuxPins[] = {{In, L"Input 01", &GUID_NULL},
                                   {Out, L"Output", &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM}};
const InstalledPin kMcMuxAdded[] = {{In, L"Input 02", &GUID_NULL}};
const InstalledPin kMcAudioDecoderPins[] = {{In, L"In", &MEDIATYPE_Audio},
                                            {Out, L"Out", &MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const InstalledPin kMcAudioEncoderPins[] = {{In, L"In", &MEDIATYPE_Audio, &MEDIASUBTYPE_PCM},
                                            {Out, L"Out", &MEDIATYPE_Audio}};
const InstalledPin kMcSplitterPins[] = {{In, L"Input", &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM}};
const InstalledPin kMcSplitterAdded[] = {{Out, L"Video", &MEDIATYPE_Video}, {Out, L"Audio", &MEDIATYPE_Audio}};
const InstalledPin kMcVideoDecoderPins[] = {{In, L"In", &MEDIATYPE_Video},
                                            {Out, L"Out", &MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}};
const InstalledPin kMcVideoEncoderPins[] = {{In, L"In", &MEDIATYPE_Video, &MEDIASUBTYPE_YUY2},
                                            {Out, L"Out", &MEDIATYPE_Video}};
const InstalledPin kMcH264EncoderPins[] = {{In, L"Video In", &MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}};
const InstalledPin kMcH264EncoderAdded[] = {{In, L"Audio In", &MEDIATYPE_Audio, &MEDIASUBTYPE_PCM},
                                            {Out, L"Output", &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_PROGRAM}};

}  // namespace

const InstalledFilterRow kInstalledFilters[] = {
    {.package = "vorlane", .clsid = &CLSID_VorlaneAVSwitch, .name = L"Vorlane AV Switch",
     .make = &PinnedFilter<AvSwitchControl>::Make, .pins = kAvSwitchPins},
    {.package = "vorlane", .clsid = &CLSID_VorlaneTimeDelay, .name = L"Time Delay", .make = &PinnedFilter<>::Make,
     .pins = kVideoThrough},
    {.package = "vorlane", .clsid = &CLSID_VorlaneDeinterlace, .name = L"Vorlane Deinterlace Filter",
     .make = &PinnedFilter<DeinterlaceControl>::Make, .pins = kVideoThrough},
    {.package = "vorlane", .clsid = &CLSID_VorlaneSnapPicture, .name = L"Vorlane Snap Picture Filter",
     .make = &PinnedFilter<SnapPictureControl>::Make, .pins = kVideoThrough},
    {.package = "mainconcept", .clsid = &CLSID_MCH264VideoDecoder, .name = L"MainConcept H.264 Video Decoder",
     .make = &McH264DecoderFilter::Make},
    {.package = "intervideo", .clsid = &CLSID_IVAudioEncoder, .name = L"InterVideo Audio Encoder for vorlane",
     .make = &PinnedFilter<IvParams<IIVAudioParams>>::Make, .pins = kAudioEncoderPins},
    {.package = "intervideo", .clsid = &CLSID_IVVideoEncoder, .name = L"InterVideo Video Encoder for vorlane",
     .make = &PinnedFilter<IvParams<IIVVideoParams>>::Make, .pins = kVideoEncoderPins},
    {.package = "intervideo", .clsid = &CLSID_IVFileWriter, .name = L"InterVideo File Writer for vorlane",
     .make = &PinnedFilter<IvFileWriterParams, FileSinkMixin>::Make, .pins = kStreamIn},
    {.package = "intervideo", .clsid = &CLSID_IVMultiplexer, .name = L"InterVideo Multiplexer for vorlane",
     .make = &IvMultiplexerFilter::Make},
    {.package = "intervideo", .clsid = &CLSID_IVStillCapture, .name = L"InterVideo Still Capture for vorlane",
     .make = &IvStillCaptureFilter::Make},
    {.package = "intervideo", .clsid = &CLSID_IVDownScale, .name = L"InterVideo Down Scale Filter for vorlane",
     .make = &PinnedFilter<IvParams<IIVDownScaleParams>>::Make, .pins = kVideoThrough},
    {.package = "ligos", .clsid = &CLSID_LigosEncoder, .name = L"Ligos GoMotion Capture Encoder Filter (Vorlane)",
     .make = &PinnedFilter<LigosEncoderControl, FileSinkMixin>::Make, .pins = kLigosEncoderPins},
    {.package = "ligos", .clsid = &CLSID_LigosTranscoder, .name = L"Ligos GoMotion.MPG SDK Transcode Sample",
     .make = &PinnedFilter<LigosTranscoderControl, RIzizirarControl, FileSinkMixin>::Make, .pins = kStreamThrough},
    {.package = "intervideo", .clsid = &kMpegVideoDecoderClsid, .name = L"InterVideo Video Decoder",
     .make = &MpegVideoDecoderFilter::Make},
    {.package = "intervideo", .clsid = &kMpegAudioDecoderClsid, .name = L"InterVideo Audio Decoder",
     .make = &MpegAudioDecoderFilter::Make},
    {.package = "mainconcept", .clsid = &CLSID_MCMpegEncoder, .name = L"MainConcept Demo MPEG Encoder",
     .make = &PinnedFilter<McAudioSettingsControl, McAudioParamsControl, McMuxSettingsControl, McFileSinkControl,
                           McVideoSettingsControl, McVideoParamsControl>::Make,
     .pins = kMcEncoderPins, .addedOnConnection = kMcStreamOut},
    {.package = "mainconcept", .clsid = &CLSID_MCMpegMultiplexer, .name = L"MainConcept Demo MPEG Multiplexer",
     .make = &PinnedFilter<McMuxSettingsControl, McMuxParamsControl, McFileSinkControl>::Make, .pins = kMcMuxPins,
     .addedOnConnection = kMcMuxAdded},
    {.package = "mainconcept", .clsid = &CLSID_MCMpegAudioDecoder, .name = L"MainConcept Demo MPEG Audio Decoder",
     .make = &PinnedFilter<>::Make, .pins = kMcAudioDecoderPins},
    {.package = "mainconcept", .clsid = &CLSID_MCMpegAudioEncoder, .name = L"MainConcept Demo MPEG Audio Encoder",
     .make = &PinnedFilter<McAudioSettingsControl, McAudioParamsControl>::Make, .pins = kMcAudioEncoderPins},
    {.package = "mainconcept", .clsid = &CLSID_MCMpegSplitter, .name = L"MainConcept Demo MPEG Splitter",
     .make = &PinnedFilter<McSplitterParamsControl>::Make, .pins = kMcSplitterPins,
     .addedOnConnection = kMcSplitterAdded},
    {.package = "mainconcept", .clsid = &CLSID_MCMpegVideoDecoder, .name = L"MainConcept Demo MPEG Video Decoder",
     .make = &PinnedFilter<McDecoderParamsControl, McDecoderOutputControl>::Make, .pins = kMcVideoDecoderPins},
    {.package = "mainconcept", .clsid = &CLSID_MCMpegVideoEncoder, .name = L"MainConcept Demo MPEG Video Encoder",
     .make = &PinnedFilter<McVideoSettingsControl, McVideoParamsControl>::Make, .pins = kMcVideoEncoderPins},
    {.package = "mainconcept", .clsid = &CLSID_MCH264Encoder, .name = L"MainConcept Demo H.264 Encoder",
     .make = &PinnedFilter<McAudioSettingsControl, McAudioParamsControl, McMuxSettingsControl, McMuxParamsControl,
                           McFileSinkControl, McH264SettingsControl, McH264ParamsControl>::Make,
     .pins = kMcH264EncoderPins, .addedOnConnection = kMcH264EncoderAdded},
    {.package = "vorlane", .clsid = &CLSID_VorlaneColorConvert, .name = L"Color Convert",
     .make = &PinnedFilter<ColorConvertControl>::Make, .pins = kVideoThrough},
    {.package = "vorlane", .clsid = &CLSID_VorlaneMpeg2Splitter, .name = L"Mpeg2 Splitter",
     .make = &Mpeg2SplitterFilter::Make},
    {.package = "intervideo", .clsid = &CLSID_IVTimeShift, .name = L"InterVideo Time Shift Filter for vorlane",
     .make = &PinnedFilter<TimeShiftControl>::Make, .pins = kTimeShiftPins},
};
const size_t kInstalledFilterCount = sizeof(kInstalledFilters) / sizeof(kInstalledFilters[0]);

}  // namespace hwsim
