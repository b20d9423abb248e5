// The WIS card's encoder settings: the combinations the driver's profile allows, the choice of
// the file's settings for a request, and what the settings offer.
#include <cstring>

#include "cards/encoders/WisCapabilityMatch.h"
#include "cards/encoders/WisStreamHeaders.h"
#include "cards/encoders/WiseCaptureFilter.h"

BOOL CWiseCaptureFilter::RebuildCombinations(EncoderConfig* config) {
    if (!GetCurrentConfig(config)) return FALSE;
    m_combinations.clear();
    int profile = -1;
    for (DWORD i = 0; i < m_capabilities.profileCount && i < ENCODER_MAX_PROFILES; ++i) {
        if (std::strncmp(m_capabilities.profiles[i].name, config->profileName, sizeof config->profileName) == 0) {
            profile = static_cast<int>(i);
        }
    }
    if (profile < 0) return FALSE;
    BuildValidCombinations(&m_capabilities, profile, config->standard, m_combinations);
    return m_combinations.empty() ? FALSE : TRUE;
}

BOOL CWiseCaptureFilter::RefreshCombinations() {
    EncoderConfig config = {};
    return RebuildCombinations(&config);
}

BOOL CWiseCaptureFilter::HasCombination(DWORD stream, DWORD frameRate, const DWORD* resolution) const {
    for (const ValidCombination& c : m_combinations) {
        if (c.stream == stream && c.framerate == frameRate && (resolution == nullptr || c.resolution == *resolution)) {
            return TRUE;
        }
    }
    return FALSE;
}

namespace {

// An index of one of the file's settings: below the table's count, which never passes its array.
template <typename Table>
bool InTable(const Table& table, int index) {
    return index >= 0 && static_cast<DWORD>(index) < table.count && index < PROFILE_TABLE_SIZE;
}

}  // namespace

BOOL CWiseCaptureFilter::IsFrameRateValid(int stream, int frameRate) {
    if (!InTable(m_tables.stream, stream) || !InTable(m_tables.framerate, frameRate)) return FALSE;
    return HasCombination(m_tables.stream.capability[stream], m_tables.framerate.capability[frameRate], nullptr);
}

BOOL CWiseCaptureFilter::IsResolutionValid(int stream, int frameRate, int resolution) {
    if (!InTable(m_tables.resolution, resolution) || !IsFrameRateValid(stream, frameRate)) return FALSE;
    return HasCombination(m_tables.stream.capability[stream], m_tables.framerate.capability[frameRate],
                          &m_tables.resolution.capability[resolution]);
}

BOOL CWiseCaptureFilter::IsBitrateAllowed(int, int, int resolution, int bitrate) {
    if (!InTable(m_tables.resolution, resolution) || !InTable(m_tables.bitrate, bitrate)) return FALSE;
    const DWORD target = m_tables.bitrate.settings[bitrate].target_bitrate;
    if (target == 0) return TRUE;
    const DWORD capability = m_tables.resolution.capability[resolution];
    if (capability >= m_capabilities.resolutionCount || capability >= ENCODER_MAX_CAPABILITIES) return FALSE;
    const ResolutionSetting& r = m_capabilities.resolutions[capability];
    return target >= r.min_bitrate && target <= r.max_bitrate ? TRUE : FALSE;
}

BOOL CWiseCaptureFilter::SetEncoderProfile(long standard, int stream, int frameRate, int width, int height,
                                           int bitrate, BOOL highestBitrate, BOOL fixedQuality, int peakBitrate,
                                           BYTE quantiser) {
    EncoderConfig config = {};
    if (!RebuildCombinations(&config)) return FALSE;
    if (stream < 0 || static_cast<DWORD>(stream) >= m_tables.stream.count) return FALSE;

    int f = -1;
    for (DWORD i = 0; i < m_tables.framerate.count && f < 0; ++i) {
        const FrameRateSetting& s = m_tables.framerate.settings[i];
        if (s.frame_rate == static_cast<DWORD>(frameRate) && (s.tv_standard & static_cast<DWORD>(standard)) != 0 &&
            IsFrameRateValid(stream, static_cast<int>(i))) {
            f = static_cast<int>(i);
        }
    }
    if (f < 0) return FALSE;

    int r = -1;
    for (DWORD i = 0; i < m_tables.resolution.count && r < 0; ++i) {
        const ResolutionSetting& s = m_tables.resolution.settings[i];
        if (s.tv_standard == static_cast<DWORD>(standard) && s.width == static_cast<DWORD>(width) &&
            s.height == static_cast<DWORD>(height) && IsResolutionValid(stream, f, static_cast<int>(i))) {
            r = static_cast<int>(i);
        }
    }
    if (r < 0) return FALSE;

    int b = -1;
    DWORD highest = 0;
    for (DWORD i = 0; i < m_tables.bitrate.count; ++i) {
        const DWORD target = m_tables.bitrate.settings[i].target_bitrate;
        if (!IsBitrateAllowed(stream, f, r, static_cast<int>(i))) continue;
        if (!highestBitrate) {
            if (target == static_cast<DWORD>(bitrate)) {
                b = static_cast<int>(i);
                break;
            }
        } else if (target > highest) {
            highest = target;
            b = static_cast<int>(i);
        }
    }
    if (b < 0) return FALSE;

    config.stream = m_tables.stream.settings[stream];
    config.resolution = m_tables.resolution.settings[r];
    config.framerate = m_tables.framerate.settings[f];
    config.bitrate = m_tables.bitrate.settings[b];
    if ((stream == 0 || stream == 1) && fixedQuality) {
        config.bitrate.target_bitrate = 0;
        config.bitrate.peak_bitrate = static_cast<DWORD>(peakBitrate);
        config.bitrate.Q = 0;
        config.bitrate.lambda = 100;
        config.bitrate.IQ = config.bitrate.PQ = config.bitrate.BQ = quantiser;
    }

    if (FindPin("Video Capture") == nullptr || FindPin("Video Preview") == nullptr) return FALSE;
    CComPtr<IAMStreamConfig> capture = PinStreamConfig("Video Capture");
    CComPtr<IAMStreamConfig> preview = PinStreamConfig("Video Preview");
    BOOL result = FALSE;
    if (capture != nullptr) result = ApplyPinFormat(capture, &config);
    if (preview != nullptr) result = (ApplyPinFormat(preview, &config) && result) ? TRUE : FALSE;
    return result;
}

BOOL CWiseCaptureFilter::GetBitrateRange(long standardMask, int width, int height, DWORD* min, DWORD* max) {
    if (min == nullptr || max == nullptr) return FALSE;
    if (m_combinations.empty() && !RefreshCombinations()) return FALSE;
    for (DWORD i = 0; i < m_tables.resolution.count; ++i) {
        const ResolutionSetting& s = m_tables.resolution.settings[i];
        if ((s.tv_standard & static_cast<DWORD>(standardMask)) == 0 || s.width != static_cast<DWORD>(width) ||
            s.height != static_cast<DWORD>(height)) {
            continue;
        }
        const DWORD capability = m_tables.resolution.capability[i];
        if (capability >= m_capabilities.resolutionCount || capability >= ENCODER_MAX_CAPABILITIES) return FALSE;
        *min = m_capabilities.resolutions[capability].min_bitrate;
        *max = m_capabilities.resolutions[capability].max_bitrate;
        return TRUE;
    }
    return FALSE;
}

BOOL CWiseCaptureFilter::ListFrameRateNames(long standard, CStringArray& names) {
    names.RemoveAll();
    for (DWORD i = 0; i < m_capabilities.framerateCount && i < ENCODER_MAX_CAPABILITIES; ++i) {
        const FrameRateSetting& s = m_capabilities.framerates[i];
        if (s.tv_standard != static_cast<DWORD>(standard)) continue;
        // The driver's name field need not be terminated: at most its 64 bytes.
        names.Add(CString(s.head.name, static_cast<int>(strnlen(s.head.name, sizeof s.head.name))));
    }
    return names.GetSize() > 0 ? TRUE : FALSE;
}

int CWiseCaptureFilter::BuildVolHeader(LONG_PTR, TCFG_FORMAT_EXTENSION* extension, BYTE** out) {
    return BuildMpeg4VolHeader(extension, out);
}
