// The encoder settings record of the boxes.
#include "access/BoxEncoderSettings.h"

#include <cstdio>
#include <string>

namespace {

const char* ModeName(BYTE mode)
{
    switch (mode) {
    case 2: return "MPEG1";
    case 10: return "DVD";
    case 11: return "VCD";
    case 12: return "SVCD";
    }
    return "other";
}

// The pre-filter fields in record order, for the dump.
struct PreFilterField {
    const char* name;
    DWORD PREFILTERINFO::*field;
};
const PreFilterField kPreFilterFields[] = {
    {"dwDisableFilter", &PREFILTERINFO::dwDisableFilter},
    {"dwMedianFilter", &PREFILTERINFO::dwMedianFilter},
    {"dwMedianCoringLumaHi", &PREFILTERINFO::dwMedianCoringLumaHi},
    {"dwMedianCoringLumaLo", &PREFILTERINFO::dwMedianCoringLumaLo},
    {"dwMedianCoringChromaHi", &PREFILTERINFO::dwMedianCoringChromaHi},
    {"dwMedianCoringChromaLo", &PREFILTERINFO::dwMedianCoringChromaLo},
    {"dwLumaSpatialFlt", &PREFILTERINFO::dwLumaSpatialFlt},
    {"dwChromaSpatialFlt", &PREFILTERINFO::dwChromaSpatialFlt},
    {"dwDNRMode", &PREFILTERINFO::dwDNRMode},
    {"dwDNRSpatialFltLevel", &PREFILTERINFO::dwDNRSpatialFltLevel},
    {"dwDNRTemporalFltLevel", &PREFILTERINFO::dwDNRTemporalFltLevel},
    {"dwDNRSmoothFactor", &PREFILTERINFO::dwDNRSmoothFactor},
    {"dwDNR_Ntlf_Max_Y", &PREFILTERINFO::dwDNR_Ntlf_Max_Y},
    {"dwDNR_Ntlf_Max_UV", &PREFILTERINFO::dwDNR_Ntlf_Max_UV},
    {"dwDNRTemporalMultFactor", &PREFILTERINFO::dwDNRTemporalMultFactor},
    {"dwDNRTemporalAddFactor", &PREFILTERINFO::dwDNRTemporalAddFactor},
    {"dwDNRSpatialMultFactor", &PREFILTERINFO::dwDNRSpatialMultFactor},
    {"dwDNRSpatialSubFactor", &PREFILTERINFO::dwDNRSpatialSubFactor},
    {"dwLumaNLTFLevel", &PREFILTERINFO::dwLumaNLTFLevel},
    {"dwLumaNLTFCoEffIndex", &PREFILTERINFO::dwLumaNLTFCoEffIndex},
    {"dwLumaNLTFCoEffValue", &PREFILTERINFO::dwLumaNLTFCoEffValue},
    {"dwVIMZoneWidth", &PREFILTERINFO::dwVIMZoneWidth},
    {"dwVIMZoneHeight", &PREFILTERINFO::dwVIMZoneHeight},
    {"dwReserved1", &PREFILTERINFO::dwReserved1},
    {"dwReserved2", &PREFILTERINFO::dwReserved2},
    {"dwReserved3", &PREFILTERINFO::dwReserved3},
    {"dwReserved4", &PREFILTERINFO::dwReserved4},
};

// One dump line: `format` (ending in "\n") with its value, written with CR LF.
void AddLine(std::string& text, const char* format, long long value)
{
    char line[128];
    std::snprintf(line, sizeof(line), format, static_cast<int>(value));
    std::string entry(line);
    if (!entry.empty() && entry.back() == '\n') {
        entry.pop_back();
        entry += "\r\n";
    }
    text += entry;
}

}  // namespace

PREFILTERINFO DefaultPreFilterInfo()
{
    PREFILTERINFO info = {};
    info.dwMedianCoringLumaHi = 255;
    info.dwMedianCoringLumaLo = 0;
    info.dwMedianCoringChromaHi = 255;
    info.dwMedianCoringChromaLo = 3;
    info.dwLumaSpatialFlt = 1;
    info.dwDNRSmoothFactor = 200;
    info.dwDNR_Ntlf_Max_Y = 15;
    info.dwDNR_Ntlf_Max_UV = 15;
    info.dwDNRTemporalMultFactor = 48;
    info.dwDNRTemporalAddFactor = 4;
    info.dwDNRSpatialMultFactor = 21;
    info.dwDNRSpatialSubFactor = 2;
    info.dwVIMZoneWidth = 16;
    info.dwVIMZoneHeight = 2;
    return info;
}

BOOL DumpEncoderSettings(const BOX_ENCODER_SETTINGS& s, const char* path)
{
    if (!path) return FALSE;
    std::string text = std::string("Mode = ") + ModeName(s.bStreamOutputMode) + "\r\n";
    AddLine(text, "bVideoInMode = %d\n", s.bVideoInMode);
    AddLine(text, "bTVEncodeFormat = %d\n", s.bTVEncodeFormat);
    AddLine(text, "bTVDecodeFormat = %d\n", s.bTVDecodeFormat);
    AddLine(text, "dwStorageCap = %d\n", s.dwStorageCap);
    AddLine(text, "wVideoBitrate =%d\n", s.wVideoBitrate);
    AddLine(text, "bEncodingMode= %d\n", s.bEncodingMode);
    AddLine(text, "bVariance = %d\n", s.bVariance);
    AddLine(text, "dwMuxRate = %d\n", s.dwMuxRate);
    AddLine(text, "dwVBRPadding =%d\n", s.dwVBRPadding);
    AddLine(text, "bVideoResolution= %d\n", s.bVideoResolution);
    AddLine(text, "bStreamOutputMode= %d\n", s.bStreamOutputMode);
    AddLine(text, "bMPEGAudLayer =%d\n", s.bMPEGAudLayer);
    AddLine(text, "bAudioSamplingRate= %d\n", s.bAudioSamplingRate);
    AddLine(text, "bAudioDataRate =%d\n", s.bAudioDataRate);
    AddLine(text, "bAudioOutputMode= %d\n", s.bAudioOutputMode);
    AddLine(text, "bCRCState =%d\n", s.bCRCState);
    AddLine(text, "bGOPStructure= %d\n", s.bGOPStructure);
    AddLine(text, "bAudioEncodingMode =%d\n", s.bAudioEncodingMode);
    AddLine(text, "bClosedGOP= %d\n", s.bClosedGOP);
    AddLine(text, "bInverseTel =%d\n", s.bInverseTel);
    AddLine(text, "bTransportOutputMode= %d\n", s.bTransportOutputMode);
    AddLine(text, "nSharpness =%d\n", s.nSharpness);
    AddLine(text, "nBrightness= %d\n", s.nBrightness);
    AddLine(text, "nContrast =%d\n", s.nContrast);
    AddLine(text, "nSaturation= %d\n", s.nSaturation);
    AddLine(text, "nHue =%d\n", s.nHue);
    for (const PreFilterField& row : kPreFilterFields) {
        const std::string format = std::string("PreFilterInfo.") + row.name + " = %d\n";
        AddLine(text, format.c_str(), s.PreFilterInfo.*row.field);
    }

    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
}
