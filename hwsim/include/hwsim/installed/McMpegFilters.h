// The MainConcept MPEG and H.264 encoder family (package "mainconcept"): the MPEG encoder, the
// multiplexer, the audio and video encoders and decoders, the splitter and the H.264 encoder.
// Each private interface logs every call into the class's FilterBehaviour and keeps what it was
// given in the behaviour's store, under its interface's base (kStore...) plus the slot (or, for
// the parameter-by-id interfaces, plus the id). A null record or value pointer answers E_POINTER.
//
// The filters are rows of kInstalledFilters (PinnedFilter): the MPEG encoder, multiplexer,
// splitter and H.264 encoder add a pin once one of theirs is connected, as those filters do.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "hwsim/installed/InstalledFilter.h"
#include "makers/mainconcept.h"

namespace hwsim {

constexpr DWORD kStoreVideoSettings = 0x01000000;
constexpr DWORD kStoreAudioSettings = 0x02000000;
constexpr DWORD kStoreMuxSettings = 0x03000000;
constexpr DWORD kStoreVideoParams = 0x04000000;
constexpr DWORD kStoreAudioParams = 0x05000000;
constexpr DWORD kStoreMuxParams = 0x06000000;
constexpr DWORD kStoreSplitterParams = 0x07000000;
constexpr DWORD kStoreDecoderParams = 0x08000000;
constexpr DWORD kStoreDecoderOutput = 0x09000000;
constexpr DWORD kStoreH264Settings = 0x0A000000;
constexpr DWORD kStoreH264Params = 0x0B000000;
// The one output FourCC the video decoder refuses (a DWORD stored here by a test).
constexpr DWORD kStoreRefusedFourCC = kStoreDecoderOutput + 0xFF;

// The filters' own defaults, recognisable by a test: every byte 0xA5 but the integer at 0x30,
// which is 0x100 + 0x10 * stream type + (pal ? 1 : 0).
void McVideoDefaults(DWORD streamType, DWORD pal, MC_VIDEO_SETTINGS* settings);
// Field i is 0x200 + 0x10 * stream type + i.
void McAudioDefaults(DWORD streamType, MC_AUDIO_SETTINGS* settings);

class McVideoSettingsControl : public PrivateInterface<IMCVideoSettings> {
public:
    STDMETHODIMP Settings3(DWORD v) override;
    STDMETHODIMP Settings4(DWORD v) override;
    STDMETHODIMP Settings5(DWORD v) override;
    STDMETHODIMP Settings6(DWORD v) override;
    STDMETHODIMP Settings7(DWORD v1, DWORD v2, DWORD v3) override;
    STDMETHODIMP Settings8(DWORD v1, DWORD v2, DWORD v3) override;
    STDMETHODIMP Settings9(DWORD v) override;
    STDMETHODIMP Settings10(DWORD v) override;
    STDMETHODIMP Settings11(DWORD v1, DWORD v2, DWORD v3, DWORD v4) override;
    // Reads what slot 13 stored, else the defaults of stream type 0 without PAL.
    STDMETHODIMP GetSettings(MC_VIDEO_SETTINGS* pSettings) override;
    STDMETHODIMP SetSettings(MC_VIDEO_SETTINGS* pSettings) override;
    STDMETHODIMP GetDefaults(DWORD dwStreamType, DWORD dwPal, MC_VIDEO_SETTINGS* pSettings) override;
    STDMETHODIMP Settings15(DWORD v1, DWORD v2) override;
};

class McAudioSettingsControl : public PrivateInterface<IMCAudioSettings> {
public:
    STDMETHODIMP Settings3(DWORD v) override;
    STDMETHODIMP Settings4(DWORD v) override;
    STDMETHODIMP Settings5(DWORD v) override;
    STDMETHODIMP Settings6(DWORD v) override;
    STDMETHODIMP Settings7(DWORD v) override;
    STDMETHODIMP Settings8(DWORD v) override;
    STDMETHODIMP Settings9(DWORD v) override;
    STDMETHODIMP Settings10(DWORD v) override;
    STDMETHODIMP Settings11(DWORD v) override;
    STDMETHODIMP SetSettings(MC_AUDIO_SETTINGS* pSettings) override;
    STDMETHODIMP GetDefaults(DWORD dwStreamType, MC_AUDIO_SETTINGS* pSettings) override;
    STDMETHODIMP Settings14(DWORD v) override;
};

class McMuxSettingsControl : public PrivateInterface<IMCMuxSettings> {
public:
    STDMETHODIMP Settings3(DWORD v) override;
    STDMETHODIMP Settings4(DWORD v) override;
    STDMETHODIMP Settings5(DWORD v) override;
    STDMETHODIMP SetSettings(MC_MUX_SETTINGS* pSettings) override;
    STDMETHODIMP Settings7(DWORD v1, DWORD v2) override;
    STDMETHODIMP SetStreamType(DWORD dwStreamType) override;
};

// A parameter-by-id interface; a parameter never set reads 0.
template <class I, DWORD kStore>
class McParamsControl : public PrivateInterface<I> {
public:
    STDMETHODIMP GetParam(DWORD dwId, DWORD* pdwValue) override {
        HRESULT hr = this->Behaviour().Enter(platform::InterfaceTraits<I>::kName, 3, {dwId});
        if (hr != S_OK) return hr;
        if (!pdwValue) return E_POINTER;
        DWORD value = 0;
        this->Behaviour().Load(kStore + dwId, &value);
        *pdwValue = value;
        return S_OK;
    }
    STDMETHODIMP SetParam(DWORD dwId, DWORD dwValue) override {
        HRESULT hr = this->Behaviour().Enter(platform::InterfaceTraits<I>::kName, 4, {dwId, dwValue});
        if (hr == S_OK) this->Behaviour().Store(kStore + dwId, dwValue);
        return hr;
    }
};
using McVideoParamsControl = McParamsControl<IMCVideoParams, kStoreVideoParams>;
using McAudioParamsControl = McParamsControl<IMCAudioParams, kStoreAudioParams>;
using McMuxParamsControl = McParamsControl<IMCMuxParams, kStoreMuxParams>;
using McSplitterParamsControl = McParamsControl<IMCSplitterParams, kStoreSplitterParams>;
using McDecoderParamsControl = McParamsControl<IMCDecoderParams, kStoreDecoderParams>;
using McH264ParamsControl = McParamsControl<IMCH264Params, kStoreH264Params>;

// The output file: slot 3 logs 1 for a name and 0 for a null name.
class McFileSinkControl : public PrivateInterface<IFileSinkFilter> {
public:
    STDMETHODIMP SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) override;

private:
    std::mutex m_lock;
    bool m_hasName = false;
    std::wstring m_name;
};

// Slots 6 and 7 refuse (E_INVALIDARG) a decoder record whose field 0 is not its size, 40.
class McDecoderOutputControl : public PrivateInterface<IMCDecoderOutput> {
public:
    STDMETHODIMP Output3(DWORD v1, DWORD v2) override;
    STDMETHODIMP Output4(DWORD v1, DWORD v2) override;
    // Answers E_INVALIDARG for the FourCC stored under kStoreRefusedFourCC.
    STDMETHODIMP SetOutputFormat(DWORD dwFourCC, DWORD dwEnable) override;
    STDMETHODIMP GetRecord(MC_DECODER_RECORD* pRecord) override;
    STDMETHODIMP SetRecord(MC_DECODER_RECORD* pRecord) override;

    // The enable flag of an output format; -1 when it was never set.
    int OutputEnabled(DWORD fourCC) const;

private:
    mutable std::mutex m_lock;
    std::map<DWORD, DWORD> m_enabled;
};

class McH264SettingsControl : public PrivateInterface<IMCH264Settings> {
public:
    STDMETHODIMP Settings3(DWORD v1, DWORD v2, DWORD v3) override;
    STDMETHODIMP Settings4(DWORD v1, DWORD v2, DWORD v3) override;
    STDMETHODIMP Settings5(DWORD v) override;
    STDMETHODIMP SetSettings(MC_H264_SETTINGS* pSettings) override;
    STDMETHODIMP Settings7(DWORD v1, DWORD v2, DWORD v3) override;
    STDMETHODIMP Settings8(DWORD v1, DWORD v2) override;
};

}  // namespace hwsim
