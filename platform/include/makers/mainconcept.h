// The private interfaces of the MainConcept filters, as that maker's development kit declares
// them, slot by slot.
#pragma once

#include "strmif.h"

// ---- H.264 video decoder ----
DEFINE_GUID(CLSID_MCH264VideoDecoder, 0x7C0D0340, 0x71D5, 0x4E7E, 0xA7, 0x7F, 0x20, 0x59, 0xA2, 0xE5, 0xAF, 0x57);
DEFINE_GUID(IID_IMCH264DecoderOutput, 0x7C0D0341, 0x71D5, 0x4E7E, 0xA7, 0x7F, 0x20, 0x59, 0xA2, 0xE5, 0xAF, 0x57);

// The decoder's output record: ten 32-bit fields.
typedef struct tagMCH264_OUTPUT_RECORD {
    DWORD dwField[10];
} MCH264_OUTPUT_RECORD;
static_assert(sizeof(MCH264_OUTPUT_RECORD) == 40);

struct IMCH264DecoderOutput : public IUnknown {
    STDMETHOD(Output3)(DWORD dwParam1, DWORD dwParam2) PURE;  // slot 3
    STDMETHOD(Output4)(DWORD dwParam1, DWORD dwParam2) PURE;  // slot 4
    STDMETHOD(Output5)(DWORD dwParam1, DWORD dwParam2) PURE;  // slot 5
    STDMETHOD(GetOutputRecord)(MCH264_OUTPUT_RECORD* pRecord) PURE;  // slot 6
    STDMETHOD(SetOutputRecord)(MCH264_OUTPUT_RECORD record) PURE;    // slot 7
};
PLATFORM_INTERFACE_TRAITS(IMCH264DecoderOutput, IUnknown);

// ---- MPEG encoder, multiplexer, codecs and splitter ----
#define MC_MPEG_GUID(name, d1) DEFINE_GUID(name, d1, 0x6F2E, 0x4B3A, 0xB0, 0xBD, 0xE8, 0x80, 0x91, 0x72, 0x38, 0xDC)
MC_MPEG_GUID(CLSID_MCMpegSplitter, 0x2BE4D120);
MC_MPEG_GUID(CLSID_MCMpegAudioDecoder, 0x2BE4D130);
MC_MPEG_GUID(CLSID_MCMpegVideoDecoder, 0x2BE4D140);
MC_MPEG_GUID(CLSID_MCMpegEncoder, 0x2BE4D150);
MC_MPEG_GUID(CLSID_MCMpegVideoEncoder, 0x2BE4D160);
MC_MPEG_GUID(CLSID_MCMpegAudioEncoder, 0x2BE4D170);
MC_MPEG_GUID(CLSID_MCMpegMultiplexer, 0x2BE4D180);
MC_MPEG_GUID(IID_IMCSplitterParams, 0x2BE4D121);
MC_MPEG_GUID(IID_IMCDecoderOutput, 0x2BE4D141);
MC_MPEG_GUID(IID_IMCDecoderParams, 0x2BE4D142);
MC_MPEG_GUID(IID_IMCVideoSettings, 0x2BE4D151);
MC_MPEG_GUID(IID_IMCAudioSettings, 0x2BE4D152);
MC_MPEG_GUID(IID_IMCMuxSettings, 0x2BE4D153);
MC_MPEG_GUID(IID_IMCVideoParams, 0x2BE4D154);
MC_MPEG_GUID(IID_IMCAudioParams, 0x2BE4D155);
MC_MPEG_GUID(IID_IMCMuxParams, 0x2BE4D156);
#undef MC_MPEG_GUID

// ---- H.264 encoder ----
DEFINE_GUID(CLSID_MCH264Encoder, 0x7C0D0350, 0x71D5, 0x4E7E, 0xA7, 0x7F, 0x20, 0x59, 0xA2, 0xE5, 0xAF, 0x57);
DEFINE_GUID(IID_IMCH264Settings, 0x7C0D0351, 0x71D5, 0x4E7E, 0xA7, 0x7F, 0x20, 0x59, 0xA2, 0xE5, 0xAF, 0x57);
DEFINE_GUID(IID_IMCH264Params, 0x7C0D0354, 0x71D5, 0x4E7E, 0xA7, 0x7F, 0x20, 0x59, 0xA2, 0xE5, 0xAF, 0x57);

// The records the filters exchange. Their layout is the filters' own: packed bytes, read and
// written at fixed offsets.
typedef struct tagMC_VIDEO_SETTINGS {
    BYTE bytes[877];
} MC_VIDEO_SETTINGS;
static_assert(sizeof(MC_VIDEO_SETTINGS) == 877);

typedef struct tagMC_AUDIO_SETTINGS {
    DWORD dwField[9];
} MC_AUDIO_SETTINGS;
static_assert(sizeof(MC_AUDIO_SETTINGS) == 36);

typedef struct tagMC_MUX_SETTINGS {
    BYTE bytes[108];
} MC_MUX_SETTINGS;
static_assert(sizeof(MC_MUX_SETTINGS) == 108);

typedef struct tagMC_H264_SETTINGS {
    BYTE bytes[8320];
} MC_H264_SETTINGS;
static_assert(sizeof(MC_H264_SETTINGS) == 8320);

// The video decoder's record: field 0 is the record's size.
typedef struct tagMC_DECODER_RECORD {
    DWORD dwField[10];
} MC_DECODER_RECORD;
static_assert(sizeof(MC_DECODER_RECORD) == 40);

struct IMCVideoSettings : public IUnknown {
    STDMETHOD(Settings3)(DWORD dwValue) PURE;                                                   // slot 3
    STDMETHOD(Settings4)(DWORD dwValue) PURE;                                                   // slot 4
    STDMETHOD(Settings5)(DWORD dwValue) PURE;                                                   // slot 5
    STDMETHOD(Settings6)(DWORD dwValue) PURE;                                                   // slot 6
    STDMETHOD(Settings7)(DWORD dwValue1, DWORD dwValue2, DWORD dwValue3) PURE;                  // slot 7
    STDMETHOD(Settings8)(DWORD dwValue1, DWORD dwValue2, DWORD dwValue3) PURE;                  // slot 8
    STDMETHOD(Settings9)(DWORD dwValue) PURE;                                                   // slot 9
    STDMETHOD(Settings10)(DWORD dwValue) PURE;                                                  // slot 10
    STDMETHOD(Settings11)(DWORD dwValue1, DWORD dwValue2, DWORD dwValue3, DWORD dwValue4) PURE;  // slot 11
    STDMETHOD(GetSettings)(MC_VIDEO_SETTINGS* pSettings) PURE;                                  // slot 12
    STDMETHOD(SetSettings)(MC_VIDEO_SETTINGS* pSettings) PURE;                                  // slot 13
    STDMETHOD(GetDefaults)(DWORD dwStreamType, DWORD dwPal, MC_VIDEO_SETTINGS* pSettings) PURE;  // slot 14
    STDMETHOD(Settings15)(DWORD dwValue1, DWORD dwValue2) PURE;                                 // slot 15
};
PLATFORM_INTERFACE_TRAITS(IMCVideoSettings, IUnknown);

struct IMCAudioSettings : public IUnknown {
    STDMETHOD(Settings3)(DWORD dwValue) PURE;                                     // slot 3
    STDMETHOD(Settings4)(DWORD dwValue) PURE;                                     // slot 4
    STDMETHOD(Settings5)(DWORD dwValue) PURE;                                     // slot 5
    STDMETHOD(Settings6)(DWORD dwValue) PURE;                                     // slot 6
    STDMETHOD(Settings7)(DWORD dwValue) PURE;                                     // slot 7
    STDMETHOD(Settings8)(DWORD dwValue) PURE;                                     // slot 8
    STDMETHOD(Settings9)(DWORD dwValue) PURE;                                     // slot 9
    STDMETHOD(Settings10)(DWORD dwValue) PURE;                                    // slot 10
    STDMETHOD(Settings11)(DWORD dwValue) PURE;                                    // slot 11
    STDMETHOD(SetSettings)(MC_AUDIO_SETTINGS* pSettings) PURE;                    // slot 12
    STDMETHOD(GetDefaults)(DWORD dwStreamType, MC_AUDIO_SETTINGS* pSettings) PURE;  // slot 13
    STDMETHOD(Settings14)(DWORD dwValue) PURE;                                    // slot 14
};
PLATFORM_INTERFACE_TRAITS(IMCAudioSettings, IUnknown);

struct IMCMuxSettings : public IUnknown {
    STDMETHOD(Settings3)(DWORD dwValue) PURE;                   // slot 3
    STDMETHOD(Settings4)(DWORD dwValue) PURE;                   // slot 4
    STDMETHOD(Settings5)(DWORD dwValue) PURE;                   // slot 5
    STDMETHOD(SetSettings)(MC_MUX_SETTINGS* pSettings) PURE;    // slot 6
    STDMETHOD(Settings7)(DWORD dwValue1, DWORD dwValue2) PURE;  // slot 7
    STDMETHOD(SetStreamType)(DWORD dwStreamType) PURE;          // slot 8
};
PLATFORM_INTERFACE_TRAITS(IMCMuxSettings, IUnknown);

// The parameter-by-id interfaces all have one shape: GetParam (slot 3) and SetParam (slot 4).
#define MC_PARAMS_INTERFACE(I)                                      \
    struct I : public IUnknown {                                    \
        STDMETHOD(GetParam)(DWORD dwId, DWORD* pdwValue) PURE; /* slot 3 */ \
        STDMETHOD(SetParam)(DWORD dwId, DWORD dwValue) PURE;   /* slot 4 */ \
    };                                                              \
    PLATFORM_INTERFACE_TRAITS(I, IUnknown)
// struct IMCVideoParams: the video encoder's parameters.
MC_PARAMS_INTERFACE(IMCVideoParams);
// struct IMCAudioParams: the audio encoder's parameters.
MC_PARAMS_INTERFACE(IMCAudioParams);
// struct IMCMuxParams: the multiplexer's parameters.
MC_PARAMS_INTERFACE(IMCMuxParams);
// struct IMCSplitterParams: the splitter's parameters.
MC_PARAMS_INTERFACE(IMCSplitterParams);
// struct IMCDecoderParams: the video decoder's parameters.
MC_PARAMS_INTERFACE(IMCDecoderParams);
// struct IMCH264Params: the H.264 encoder's parameters.
MC_PARAMS_INTERFACE(IMCH264Params);
#undef MC_PARAMS_INTERFACE

struct IMCDecoderOutput : public IUnknown {
    STDMETHOD(Output3)(DWORD dwValue1, DWORD dwValue2) PURE;        // slot 3
    STDMETHOD(Output4)(DWORD dwValue1, DWORD dwValue2) PURE;        // slot 4
    STDMETHOD(SetOutputFormat)(DWORD dwFourCC, DWORD dwEnable) PURE;  // slot 5
    STDMETHOD(GetRecord)(MC_DECODER_RECORD* pRecord) PURE;          // slot 6
    STDMETHOD(SetRecord)(MC_DECODER_RECORD* pRecord) PURE;          // slot 7
};
PLATFORM_INTERFACE_TRAITS(IMCDecoderOutput, IUnknown);

struct IMCH264Settings : public IUnknown {
    STDMETHOD(Settings3)(DWORD dwValue1, DWORD dwValue2, DWORD dwValue3) PURE;  // slot 3
    STDMETHOD(Settings4)(DWORD dwValue1, DWORD dwValue2, DWORD dwValue3) PURE;  // slot 4
    STDMETHOD(Settings5)(DWORD dwValue) PURE;                                   // slot 5
    STDMETHOD(SetSettings)(MC_H264_SETTINGS* pSettings) PURE;                   // slot 6
    STDMETHOD(Settings7)(DWORD dwValue1, DWORD dwValue2, DWORD dwValue3) PURE;  // slot 7
    STDMETHOD(Settings8)(DWORD dwValue1, DWORD dwValue2) PURE;                  // slot 8
};
PLATFORM_INTERFACE_TRAITS(IMCH264Settings, IUnknown);
