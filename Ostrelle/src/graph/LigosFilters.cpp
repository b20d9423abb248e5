// CLigosEncoderFilter and CLigosTranscodeFilter.
#include "graph/LigosFilters.h"

#include <cstring>

#include "graph/FileSinkName.h"
#include "graph/FilterWrapperClass.h"

const LigosPreset kLigosPresets[8] = {
    // name      word 0                 2  word 4   word 13 width height 56 argument
    {"defaults", 1, 6, 2520000, 44100, 720, 512, 1, false},
    {"preset 1", 12, 1, 4000000, 44100, 720, 480, 2, true},
    {"preset 2", 15, 0, 2000000, 44100, 720, 576, 2, true},
    {"preset 3", kLigosWord0ByArgument, 2, 1120000, 44100, 720, 480, 0, true},
    {"preset 4", kLigosWord0ByArgument, 4, 220000, 44100, 720, 480, 2, true},
    {"preset 5", 15, 7, 3000000, 44100, 0, 0, 2, true},
    {"preset 6", 6, 3, 4500000, 48000, 720, 480, 2, true},
    {"preset 7", 15, 3, 7200000, 48000, 720, 480, 2, true},
};

namespace {

BOOL FillSettings(LIGOS_SETTINGS* settings, const LigosPreset& preset, int argument) {
    if (settings == nullptr) return FALSE;
    std::memset(settings, 0, sizeof(*settings));
    DWORD* word = settings->dwWord;
    word[0] = preset.word0 == kLigosWord0ByArgument ? (argument == 1 ? 12 : 15) : preset.word0;
    word[2] = preset.word2;
    word[4] = preset.word4;
    if (preset.takesArgument) word[9] = DWORD(argument);
    word[13] = preset.word13;
    word[22] = kLigosWord22;
    word[31] = preset.width;
    word[32] = preset.height;
    std::memcpy(&word[39], &kLigosFrameRate, sizeof(kLigosFrameRate));
    word[55] = 0;
    word[56] = preset.word56;
    return TRUE;
}

// IFileSinkFilter::SetFileName through the sink that `iface` answers; TRUE exactly on S_OK.
BOOL SetSinkFile(IUnknown* iface, const char* path) {
    return SetFileSinkName(FileSinkOf(iface), path) == S_OK ? TRUE : FALSE;
}

}  // namespace

// ---- CLigosEncoderFilter ----

CFilterClassRecord CLigosEncoderFilter::s_classRecord = Record(&CLSID_LigosEncoder, nullptr,
                                                               "Ligos GoMotion Capture Encoder Filter (Vorlane)");

HRESULT CLigosEncoderFilter::SetSettings(LIGOS_SETTINGS* settings) {
    if (m_pInterface == nullptr) return E_POINTER;
    if (settings == nullptr) return E_POINTER;
    return m_pInterface->SetSettings(settings, &settings->dwWord[55], &settings->dwWord[56]);
}

HRESULT CLigosEncoderFilter::GetSettings(LIGOS_SETTINGS* settings) {
    if (m_pInterface == nullptr) return E_POINTER;
    if (settings == nullptr) return E_POINTER;
    return m_pInterface->GetSettings(settings, &settings->dwWord[55], &settings->dwWord[56]);
}

HRESULT CLigosEncoderFilter::Method5(DWORD param1, DWORD param2) {
    return m_pInterface == nullptr ? E_POINTER : m_pInterface->Method5(param1, param2);
}

HRESULT CLigosEncoderFilter::Method6(DWORD param) {
    return m_pInterface == nullptr ? E_POINTER : m_pInterface->Method6(param);
}

HRESULT CLigosEncoderFilter::Method7(const LigosTriple* values) {
    if (m_pInterface == nullptr || values == nullptr) return E_POINTER;
    return m_pInterface->Method7(values->dwValue[0], values->dwValue[1], values->dwValue[2]);
}

HRESULT CLigosEncoderFilter::Method8(DWORD param) {
    return m_pInterface == nullptr ? E_POINTER : m_pInterface->Method8(param);
}

HRESULT CLigosEncoderFilter::GetExtraValues(int* first, int* second) {
    if (m_pInterface == nullptr) return E_POINTER;
    LIGOS_SETTINGS settings = {};
    DWORD extra1 = 0, extra2 = 0;
    HRESULT hr = m_pInterface->GetSettings(&settings, &extra1, &extra2);
    if (FAILED(hr)) return hr;
    hr = m_pInterface->SetSettings(&settings, nullptr, nullptr);
    if (FAILED(hr)) return hr;
    hr = m_pInterface->GetSettings(&settings, &extra1, &extra2);
    if (FAILED(hr)) return hr;
    if (first) *first = int(extra1);
    if (second) *second = int(extra2);
    return hr;
}

BOOL CLigosEncoderFilter::SetOutputFile(const char* path) {
    return SetSinkFile(m_pInterface, path);
}

BOOL CLigosEncoderFilter::GetOutputFile(char* path, int size) {
    if (m_pInterface == nullptr || path == nullptr || size <= 0) return FALSE;
    return GetFileSinkName(FileSinkOf(m_pInterface), path, size, TakenAnswer::ExactlyOk);
}

BOOL CLigosEncoderFilter::SetDefaultSettings(LIGOS_SETTINGS* settings) { return FillSettings(settings, kLigosPresets[0], 0); }
BOOL CLigosEncoderFilter::SetPreset1(LIGOS_SETTINGS* s, int argument) { return FillSettings(s, kLigosPresets[1], argument); }
BOOL CLigosEncoderFilter::SetPreset2(LIGOS_SETTINGS* s, int argument) { return FillSettings(s, kLigosPresets[2], argument); }
BOOL CLigosEncoderFilter::SetPreset3(LIGOS_SETTINGS* s, int argument) { return FillSettings(s, kLigosPresets[3], argument); }
BOOL CLigosEncoderFilter::SetPreset4(LIGOS_SETTINGS* s, int argument) { return FillSettings(s, kLigosPresets[4], argument); }
BOOL CLigosEncoderFilter::SetPreset5(LIGOS_SETTINGS* s, int argument) { return FillSettings(s, kLigosPresets[5], argument); }
BOOL CLigosEncoderFilter::SetPreset6(LIGOS_SETTINGS* s, int argument) { return FillSettings(s, kLigosPresets[6], argument); }
BOOL CLigosEncoderFilter::SetPreset7(LIGOS_SETTINGS* s, int argument) { return FillSettings(s, kLigosPresets[7], argument); }

// ---- CLigosTranscodeFilter ----

CFilterClassRecord CLigosTranscodeFilter::s_classRecord = Record(&CLSID_LigosTranscoder, nullptr,
                                                                 "Ligos GoMotion.MPG SDK Transcode Sample");

HRESULT CLigosTranscodeFilter::SetSettings(LIGOS_SETTINGS* settings) {
    if (m_pInterface == nullptr || settings == nullptr) return E_POINTER;
    return m_pInterface->SetSettings(settings, nullptr, &settings->dwWord[55], &settings->dwWord[56]);
}

HRESULT CLigosTranscodeFilter::GetSettings(LIGOS_SETTINGS* settings) {
    if (m_pInterface == nullptr || settings == nullptr) return E_POINTER;
    return m_pInterface->GetSettings(settings, nullptr, &settings->dwWord[55], &settings->dwWord[56]);
}

BOOL CLigosTranscodeFilter::Method6(DWORD param) {
    if (m_pInterface == nullptr) return FALSE;
    return SUCCEEDED(m_pInterface->Method6(param)) ? TRUE : FALSE;
}

BOOL CLigosTranscodeFilter::SetRIzizirar4(DWORD param) {
    if (m_pInterface == nullptr) return FALSE;
    CComPtr<RIzizirar> rizizirar;
    if (FAILED(m_pInterface->QueryInterface(IID_RIzizirar, reinterpret_cast<void**>(&rizizirar))) ||
        rizizirar == nullptr) {
        TRACE("TransCoderFilter doesn't support interface RIzizirar\n");
        return FALSE;
    }
    return SUCCEEDED(rizizirar->Method4(param)) ? TRUE : FALSE;
}

BOOL CLigosTranscodeFilter::GetRIzizirar3(LONGLONG* first, LONGLONG* second) {
    if (m_pInterface == nullptr) return FALSE;
    CComPtr<RIzizirar> rizizirar;
    if (FAILED(m_pInterface->QueryInterface(IID_RIzizirar, reinterpret_cast<void**>(&rizizirar))) ||
        rizizirar == nullptr)
        return FALSE;
    LONG a = 0, b = 0;
    if (FAILED(rizizirar->Method3(&a, &b))) return FALSE;
    if (first) *first = LONGLONG(a);
    if (second) *second = LONGLONG(b);
    return TRUE;
}

BOOL CLigosTranscodeFilter::SetOutputFile(const char* path) {
    return SetSinkFile(m_pInterface, path);
}

HRESULT CLigosTranscodeFilter::NotImplemented() {
    return E_NOTIMPL;
}
