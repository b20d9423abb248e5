// The other makers' packages installed on the simulated PC, and the filters each brings.
#include "hwsim/installed/InstalledPackages.h"

#include <stdexcept>

#include "hwsim/installed/CardGraphFilters.h"
#include "hwsim/installed/InterVideoFilters.h"
#include "hwsim/installed/LigosFilters.h"
#include "hwsim/installed/McH264Decoder.h"
#include "hwsim/installed/McMpegFilters.h"
#include "hwsim/installed/MpegDecoders.h"
#include "hwsim/installed/VorlaneFilters.h"

namespace hwsim {

const InstalledFilterRow kInstalledFilters[] = {
    {"vorlane", &CLSID_VorlaneAVSwitch, L"Vorlane AV Switch", &AvSwitchFilter::Make},
    {"vorlane", &CLSID_VorlaneTimeDelay, L"Time Delay", &TimeDelayFilter::Make},
    {"vorlane", &CLSID_VorlaneDeinterlace, L"Vorlane Deinterlace Filter", &DeinterlaceFilter::Make},
    {"vorlane", &CLSID_VorlaneSnapPicture, L"Vorlane Snap Picture Filter", &SnapPictureFilter::Make},
    {"mainconcept", &CLSID_MCH264VideoDecoder, L"MainConcept H.264 Video Decoder", &McH264DecoderFilter::Make},
    {"intervideo", &CLSID_IVAudioEncoder, L"InterVideo Audio Encoder for vorlane", &IvAudioEncoderFilter::Make},
    {"intervideo", &CLSID_IVVideoEncoder, L"InterVideo Video Encoder for vorlane", &IvVideoEncoderFilter::Make},
    {"intervideo", &CLSID_IVFileWriter, L"InterVideo File Writer for vorlane", &IvFileWriterFilter::Make},
    {"intervideo", &CLSID_IVMultiplexer, L"InterVideo Multiplexer for vorlane", &IvMultiplexerFilter::Make},
    {"intervideo", &CLSID_IVStillCapture, L"InterVideo Still Capture for vorlane", &IvStillCaptureFilter::Make},
    {"intervideo", &CLSID_IVDownScale, L"InterVideo Down Scale Filter for vorlane", &IvDownScaleFilter::Make},
    {"ligos", &CLSID_LigosEncoder, L"Ligos GoMotion Capture Encoder Filter (Vorlane)", &LigosEncoderFilter::Make},
    {"ligos", &CLSID_LigosTranscoder, L"Ligos GoMotion.MPG SDK Transcode Sample", &LigosTranscoderFilter::Make},
    {"intervideo", &kMpegVideoDecoderClsid, L"InterVideo Video Decoder", &MpegVideoDecoderFilter::Make},
    {"intervideo", &kMpegAudioDecoderClsid, L"InterVideo Audio Decoder", &MpegAudioDecoderFilter::Make},
    {"mainconcept", &CLSID_MCMpegEncoder, L"MainConcept Demo MPEG Encoder", &MakeMcMpegEncoder},
    {"mainconcept", &CLSID_MCMpegMultiplexer, L"MainConcept Demo MPEG Multiplexer", &MakeMcMpegMux},
    {"mainconcept", &CLSID_MCMpegAudioDecoder, L"MainConcept Demo MPEG Audio Decoder", &MakeMcMpegAudioDecoder},
    {"mainconcept", &CLSID_MCMpegAudioEncoder, L"MainConcept Demo MPEG Audio Encoder", &MakeMcMpegAudioEncoder},
    {"mainconcept", &CLSID_MCMpegSplitter, L"MainConcept Demo MPEG Splitter", &MakeMcMpegSplitter},
    {"mainconcept", &CLSID_MCMpegVideoDecoder, L"MainConcept Demo MPEG Video Decoder", &MakeMcMpegVideoDecoder},
    {"mainconcept", &CLSID_MCMpegVideoEncoder, L"MainConcept Demo MPEG Video Encoder", &MakeMcMpegVideoEncoder},
    {"mainconcept", &CLSID_MCH264Encoder, L"MainConcept Demo H.264 Encoder", &MakeMcH264Encoder},
    {"vorlane", &CLSID_VorlaneColorConvert, L"Color Convert", &ColorConvertFilter::Make},
    {"vorlane", &CLSID_VorlaneMpeg2Splitter, L"Mpeg2 Splitter", &Mpeg2SplitterFilter::Make},
    {"intervideo", &CLSID_IVTimeShift, L"InterVideo Time Shift Filter for vorlane", &TimeShiftFilter::Make},
};
const size_t kInstalledFilterCount = sizeof(kInstalledFilters) / sizeof(kInstalledFilters[0]);

const char* const kKnownPackages[] = {"vorlane", "mainconcept", "ligos", "intervideo"};
const size_t kKnownPackageCount = sizeof(kKnownPackages) / sizeof(kKnownPackages[0]);

bool IsKnownPackage(const std::string& package) {
    for (size_t i = 0; i < kKnownPackageCount; ++i) {
        if (package == kKnownPackages[i]) return true;
    }
    return false;
}

InstalledPackages::InstalledPackages(const std::vector<std::string>& packages) {
    for (size_t i = 0; i < kInstalledFilterCount; ++i) {
        const InstalledFilterRow& row = kInstalledFilters[i];
        bool wanted = false;
        for (const std::string& package : packages) wanted = wanted || package == row.package;
        if (!wanted) continue;
        auto behaviour = std::make_shared<FilterBehaviour>();
        const InstalledFilterMaker make = row.make;
        const DWORD cookie = platform::RegisterComClass(
            *row.clsid, [behaviour, make](IUnknown* outer, REFIID riid, void** ppv) -> HRESULT {
                if (outer) {
                    if (ppv) *ppv = nullptr;
                    return CLASS_E_NOAGGREGATION;
                }
                return make(behaviour, riid, ppv);
            });
        m_installed.push_back(Installed{&row, std::move(behaviour), cookie});
    }
}

InstalledPackages::~InstalledPackages() {
    for (const Installed& installed : m_installed) {
        if (installed.cookie) platform::UnregisterComClass(installed.cookie);
    }
}

const InstalledPackages::Installed* InstalledPackages::Find(REFCLSID clsid) const {
    for (const Installed& installed : m_installed) {
        if (IsEqualGUID(*installed.row->clsid, clsid)) return &installed;
    }
    return nullptr;
}

bool InstalledPackages::IsInstalled(REFCLSID clsid) const {
    const Installed* installed = Find(clsid);
    return installed && installed->cookie != 0;
}

bool InstalledPackages::Uninstall(REFCLSID clsid) {
    auto* installed = const_cast<Installed*>(Find(clsid));
    if (!installed || installed->cookie == 0) return false;
    platform::UnregisterComClass(installed->cookie);
    installed->cookie = 0;
    return true;
}

FilterBehaviour& InstalledPackages::Behaviour(REFCLSID clsid) const {
    const Installed* installed = Find(clsid);
    if (!installed) throw std::out_of_range("no installed filter of that class");
    return *installed->behaviour;
}

}  // namespace hwsim
