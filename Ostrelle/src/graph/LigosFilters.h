// CLigosEncoderFilter and CLigosTranscodeFilter: the wrappers of the Ligos GoMotion capture
// encoder and transcoder, registered by CLSID. Each holds its filter's private interface and
// forwards the settings record (words 55 and 56 also passed by address) and the output file; the
// encoder fills records from its defaults and seven presets.
#pragma once

#include <makers/ligos.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

// Three values handed to the encoder's method 7 one by one.
struct LigosTriple {
    DWORD dwValue[3];
};

// A settings preset's telling words; every other word is 0 but word 9 (the preset's argument),
// word 22 (kLigosWord22) and word 39 (the frame rate 30.0 as a float's bits).
struct LigosPreset {
    const char* name;
    DWORD word0;           // kLigosWord0ByArgument: 12 for argument 1, else 15
    DWORD word2;
    DWORD word4;           // video bit rate, bit/s
    DWORD word13;          // audio sampling rate, Hz
    DWORD width;           // word 31
    DWORD height;          // word 32
    DWORD word56;
    bool takesArgument;    // word 9 holds the argument (not for the defaults)
};
constexpr DWORD kLigosWord0ByArgument = 0xFFFFFFFF;
constexpr DWORD kLigosWord22 = 999999999;
constexpr float kLigosFrameRate = 30.0f;
// The defaults first, then presets 1 to 7.
extern const LigosPreset kLigosPresets[8];

class CLigosEncoderFilter : public CInterfaceWrapper<CLigosEncoderFilter, ILigosEncoder, IID_ILigosEncoder, TakenAnswer::ExactlyOk> {
public:
    // Init opens the encoder interface; TRUE only for S_OK.
    using CInterfaceWrapper::CInterfaceWrapper;
    static CFilterClassRecord s_classRecord;

    // The forwards answer the filter's HRESULT, E_POINTER without the interface.
    HRESULT SetSettings(LIGOS_SETTINGS* settings);
    HRESULT GetSettings(LIGOS_SETTINGS* settings);
    HRESULT Method5(DWORD param1, DWORD param2);
    HRESULT Method6(DWORD param);
    HRESULT Method7(const LigosTriple* values);
    HRESULT Method8(DWORD param);
    // Reads the two extra words: get, set back with no extras, get again; stores them on success.
    HRESULT GetExtraValues(int* first, int* second);

    // Through IFileSinkFilter, asked of the encoder interface; TRUE exactly on S_OK. A path of
    // 260 characters or more is refused without a call.
    BOOL SetOutputFile(const char* path);
    // The current file name in ANSI into a buffer of `size` bytes; a name that does not fit
    // answers FALSE with an empty buffer.
    BOOL GetOutputFile(char* path, int size = MAX_PATH);

    // Zero-fill the record and write the defaults or a preset; FALSE for a null record.
    static BOOL SetDefaultSettings(LIGOS_SETTINGS* settings);
    static BOOL SetPreset1(LIGOS_SETTINGS* settings, int argument);
    static BOOL SetPreset2(LIGOS_SETTINGS* settings, int argument);
    static BOOL SetPreset3(LIGOS_SETTINGS* settings, int argument);
    static BOOL SetPreset4(LIGOS_SETTINGS* settings, int argument);
    static BOOL SetPreset5(LIGOS_SETTINGS* settings, int argument);
    static BOOL SetPreset6(LIGOS_SETTINGS* settings, int argument);
    static BOOL SetPreset7(LIGOS_SETTINGS* settings, int argument);
};

class CLigosTranscodeFilter : public CInterfaceWrapper<CLigosTranscodeFilter, ILigosTranscoder, IID_ILigosTranscoder, TakenAnswer::ExactlyOk> {
public:
    // Init opens the transcoder interface; TRUE only for S_OK.
    using CInterfaceWrapper::CInterfaceWrapper;
    static CFilterClassRecord s_classRecord;

    HRESULT SetSettings(LIGOS_SETTINGS* settings);
    HRESULT GetSettings(LIGOS_SETTINGS* settings);
    // TRUE when the filter's method 6 succeeded.
    BOOL Method6(DWORD param);
    // Through RIzizirar, asked of the transcoder interface each time: method 4 with a value
    // (traced when RIzizirar is missing), and method 3's two values widened with sign.
    BOOL SetRIzizirar4(DWORD param);
    BOOL GetRIzizirar3(LONGLONG* first, LONGLONG* second);
    BOOL SetOutputFile(const char* path);
    // Does nothing.
    HRESULT NotImplemented();
};
