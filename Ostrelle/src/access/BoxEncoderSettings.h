// The encoder settings record of the boxes (the settings stream), its pre-filter block, and
// the text dump of both. Offsets are those of the driver's record; the fields not named are
// kept as they are.
#pragma once

#include <cstddef>

#include <windows.h>

struct PREFILTERINFO {
    DWORD dwDisableFilter;
    DWORD dwMedianFilter;
    DWORD dwMedianCoringLumaHi;
    DWORD dwMedianCoringLumaLo;
    DWORD dwMedianCoringChromaHi;
    DWORD dwMedianCoringChromaLo;
    DWORD dwLumaSpatialFlt;
    DWORD dwChromaSpatialFlt;
    DWORD dwDNRMode;
    DWORD dwDNRSpatialFltLevel;
    DWORD dwDNRTemporalFltLevel;
    DWORD dwDNRSmoothFactor;
    DWORD dwDNR_Ntlf_Max_Y;
    DWORD dwDNR_Ntlf_Max_UV;
    DWORD dwDNRTemporalMultFactor;
    DWORD dwDNRTemporalAddFactor;
    DWORD dwDNRSpatialMultFactor;
    DWORD dwDNRSpatialSubFactor;
    DWORD dwLumaNLTFLevel;
    DWORD dwLumaNLTFCoEffIndex;
    DWORD dwLumaNLTFCoEffValue;
    DWORD dwVIMZoneWidth;
    DWORD dwVIMZoneHeight;
    DWORD dwReserved1;
    DWORD dwReserved2;
    DWORD dwReserved3;
    DWORD dwReserved4;
};
static_assert(sizeof(PREFILTERINFO) == 108);

struct BOX_ENCODER_SETTINGS {
    BYTE bStreamOutputMode;  // 2 MPEG1, 10 DVD, 11 VCD, 12 SVCD
    BYTE bVideoResolution;
    BYTE bEncodingMode;
    BYTE byReserved3;
    WORD wVideoBitrate;
    WORD wReserved6;
    DWORD bVariance;
    DWORD dwMuxRate;
    DWORD dwVBRPadding;
    WORD wStream20;  // the two words of property 6
    WORD wStream22;
    BYTE bMPEGAudLayer;
    BYTE bAudioSamplingRate;
    BYTE bAudioDataRate;
    BYTE bAudioOutputMode;
    BYTE bCRCState;
    BYTE bGOPStructure;
    BYTE bAudioEncodingMode;
    BYTE byReserved31;
    DWORD bClosedGOP;
    DWORD dwStorageCap;  // MB
    BYTE byReserved40[28];
    PREFILTERINFO PreFilterInfo;
    BYTE bVideoInMode;
    BYTE bTVEncodeFormat;
    BYTE bTVDecodeFormat;
    BYTE byReserved179;
    int nSharpness;
    int nBrightness;
    int nContrast;
    int nSaturation;
    int nHue;
    DWORD bInverseTel;
    BYTE bTransportOutputMode;
};
static_assert(offsetof(BOX_ENCODER_SETTINGS, wVideoBitrate) == 4 && offsetof(BOX_ENCODER_SETTINGS, bVariance) == 8 &&
              offsetof(BOX_ENCODER_SETTINGS, wStream20) == 20 && offsetof(BOX_ENCODER_SETTINGS, bMPEGAudLayer) == 24 &&
              offsetof(BOX_ENCODER_SETTINGS, bClosedGOP) == 32 && offsetof(BOX_ENCODER_SETTINGS, dwStorageCap) == 36 &&
              offsetof(BOX_ENCODER_SETTINGS, PreFilterInfo) == 68 && offsetof(BOX_ENCODER_SETTINGS, bVideoInMode) == 176 &&
              offsetof(BOX_ENCODER_SETTINGS, nSharpness) == 180 && offsetof(BOX_ENCODER_SETTINGS, bInverseTel) == 200 &&
              offsetof(BOX_ENCODER_SETTINGS, bTransportOutputMode) == 204);

// The pre-filter's defaults: the coring and filter levels the driver starts from, the rest 0.
PREFILTERINFO DefaultPreFilterInfo();

// Writes the settings, one "name = value" line each (CR LF), to the file at `path`; FALSE when
// the file cannot be written.
BOOL DumpEncoderSettings(const BOX_ENCODER_SETTINGS& settings, const char* path);
