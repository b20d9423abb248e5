// The MainConcept MPEG and H.264 encoder family (package "mainconcept").
#include "hwsim/installed/McMpegFilters.h"

#include <cstring>

namespace hwsim {

namespace {

// Logs a slot of plain values and keeps them under the interface's store.
HRESULT Values(FilterBehaviour& behaviour, const char* iface, DWORD store, int slot,
               std::initializer_list<DWORD> values) {
    std::vector<ULONGLONG> args(values.begin(), values.end());
    HRESULT hr = behaviour.Enter(iface, slot, args);
    if (hr == S_OK) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(values.begin());
        behaviour.SetParam(store + static_cast<DWORD>(slot), std::vector<BYTE>(bytes, bytes + values.size() * sizeof(DWORD)));
    }
    return hr;
}

// Logs a record handed to a slot (nothing for a null one) and keeps it.
template <class R>
HRESULT Record(FilterBehaviour& behaviour, const char* iface, DWORD store, int slot, const R* record) {
    std::vector<std::vector<BYTE>> records;
    if (record) records.push_back(FilterBehaviour::Bytes(*record));
    HRESULT hr = behaviour.Enter(iface, slot, {}, std::move(records));
    if (hr != S_OK) return hr;
    if (!record) return E_POINTER;
    behaviour.Store(store + static_cast<DWORD>(slot), *record);
    return S_OK;
}

}  // namespace

void McVideoDefaults(DWORD streamType, DWORD pal, MC_VIDEO_SETTINGS* settings) {
    std::memset(settings->bytes, 0xA5, sizeof(settings->bytes));
    const DWORD mode = 0x100 + 0x10 * streamType + (pal ? 1 : 0);
    std::memcpy(settings->bytes + 0x30, &mode, sizeof(mode));
}

void McAudioDefaults(DWORD streamType, MC_AUDIO_SETTINGS* settings) {
    for (DWORD i = 0; i < 9; ++i) settings->dwField[i] = 0x200 + 0x10 * streamType + i;
}

// ---- IMCVideoSettings ----
#define MC_VIDEO "IMCVideoSettings"
STDMETHODIMP McVideoSettingsControl::Settings3(DWORD v) { return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 3, {v}); }
STDMETHODIMP McVideoSettingsControl::Settings4(DWORD v) { return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 4, {v}); }
STDMETHODIMP McVideoSettingsControl::Settings5(DWORD v) { return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 5, {v}); }
STDMETHODIMP McVideoSettingsControl::Settings6(DWORD v) { return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 6, {v}); }
STDMETHODIMP McVideoSettingsControl::Settings7(DWORD v1, DWORD v2, DWORD v3) {
    return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 7, {v1, v2, v3});
}
STDMETHODIMP McVideoSettingsControl::Settings8(DWORD v1, DWORD v2, DWORD v3) {
    return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 8, {v1, v2, v3});
}
STDMETHODIMP McVideoSettingsControl::Settings9(DWORD v) { return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 9, {v}); }
STDMETHODIMP McVideoSettingsControl::Settings10(DWORD v) { return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 10, {v}); }
STDMETHODIMP McVideoSettingsControl::Settings11(DWORD v1, DWORD v2, DWORD v3, DWORD v4) {
    return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 11, {v1, v2, v3, v4});
}
STDMETHODIMP McVideoSettingsControl::GetSettings(MC_VIDEO_SETTINGS* pSettings) {
    HRESULT hr = Behaviour().Enter(MC_VIDEO, 12, {});
    if (hr != S_OK) return hr;
    if (!pSettings) return E_POINTER;
    MC_VIDEO_SETTINGS settings;
    if (!Behaviour().Load(kStoreVideoSettings + 13, &settings)) McVideoDefaults(0, 0, &settings);
    *pSettings = settings;
    return S_OK;
}
STDMETHODIMP McVideoSettingsControl::SetSettings(MC_VIDEO_SETTINGS* pSettings) {
    return Record(Behaviour(), MC_VIDEO, kStoreVideoSettings, 13, pSettings);
}
STDMETHODIMP McVideoSettingsControl::GetDefaults(DWORD dwStreamType, DWORD dwPal, MC_VIDEO_SETTINGS* pSettings) {
    HRESULT hr = Behaviour().Enter(MC_VIDEO, 14, {dwStreamType, dwPal});
    if (hr != S_OK) return hr;
    if (!pSettings) return E_POINTER;
    McVideoDefaults(dwStreamType, dwPal, pSettings);
    return S_OK;
}
STDMETHODIMP McVideoSettingsControl::Settings15(DWORD v1, DWORD v2) {
    return Values(Behaviour(), MC_VIDEO, kStoreVideoSettings, 15, {v1, v2});
}
#undef MC_VIDEO

// ---- IMCAudioSettings ----
#define MC_AUDIO "IMCAudioSettings"
STDMETHODIMP McAudioSettingsControl::Settings3(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 3, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings4(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 4, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings5(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 5, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings6(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 6, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings7(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 7, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings8(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 8, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings9(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 9, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings10(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 10, {v}); }
STDMETHODIMP McAudioSettingsControl::Settings11(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 11, {v}); }
STDMETHODIMP McAudioSettingsControl::SetSettings(MC_AUDIO_SETTINGS* pSettings) {
    return Record(Behaviour(), MC_AUDIO, kStoreAudioSettings, 12, pSettings);
}
STDMETHODIMP McAudioSettingsControl::GetDefaults(DWORD dwStreamType, MC_AUDIO_SETTINGS* pSettings) {
    HRESULT hr = Behaviour().Enter(MC_AUDIO, 13, {dwStreamType});
    if (hr != S_OK) return hr;
    if (!pSettings) return E_POINTER;
    McAudioDefaults(dwStreamType, pSettings);
    return S_OK;
}
STDMETHODIMP McAudioSettingsControl::Settings14(DWORD v) { return Values(Behaviour(), MC_AUDIO, kStoreAudioSettings, 14, {v}); }
#undef MC_AUDIO

// ---- IMCMuxSettings ----
#define MC_MUX "IMCMuxSettings"
STDMETHODIMP McMuxSettingsControl::Settings3(DWORD v) { return Values(Behaviour(), MC_MUX, kStoreMuxSettings, 3, {v}); }
STDMETHODIMP McMuxSettingsControl::Settings4(DWORD v) { return Values(Behaviour(), MC_MUX, kStoreMuxSettings, 4, {v}); }
STDMETHODIMP McMuxSettingsControl::Settings5(DWORD v) { return Values(Behaviour(), MC_MUX, kStoreMuxSettings, 5, {v}); }
STDMETHODIMP McMuxSettingsControl::SetSettings(MC_MUX_SETTINGS* pSettings) {
    return Record(Behaviour(), MC_MUX, kStoreMuxSettings, 6, pSettings);
}
STDMETHODIMP McMuxSettingsControl::Settings7(DWORD v1, DWORD v2) { return Values(Behaviour(), MC_MUX, kStoreMuxSettings, 7, {v1, v2}); }
STDMETHODIMP McMuxSettingsControl::SetStreamType(DWORD dwStreamType) {
    return Values(Behaviour(), MC_MUX, kStoreMuxSettings, 8, {dwStreamType});
}
#undef MC_MUX

// ---- IFileSinkFilter ----
STDMETHODIMP McFileSinkControl::SetFileName(LPCOLESTR pszFileName, const AM_MEDIA_TYPE*) {
    HRESULT hr = Behaviour().Enter("IFileSinkFilter", 3, {pszFileName ? 1ull : 0ull});
    if (hr != S_OK) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    m_hasName = pszFileName != nullptr;
    m_name = pszFileName ? pszFileName : L"";
    return S_OK;
}

STDMETHODIMP McFileSinkControl::GetCurFile(LPOLESTR* ppszFileName, AM_MEDIA_TYPE*) {
    HRESULT hr = Behaviour().Enter("IFileSinkFilter", 4, {});
    if (hr != S_OK) return hr;
    if (!ppszFileName) return E_POINTER;
    *ppszFileName = nullptr;
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_hasName) return S_OK;
    const size_t bytes = (m_name.size() + 1) * sizeof(WCHAR);
    *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*ppszFileName) return E_OUTOFMEMORY;
    std::memcpy(*ppszFileName, m_name.c_str(), bytes);
    return S_OK;
}

// ---- IMCDecoderOutput ----
#define MC_OUTPUT "IMCDecoderOutput"
STDMETHODIMP McDecoderOutputControl::Output3(DWORD v1, DWORD v2) { return Values(Behaviour(), MC_OUTPUT, kStoreDecoderOutput, 3, {v1, v2}); }
STDMETHODIMP McDecoderOutputControl::Output4(DWORD v1, DWORD v2) { return Values(Behaviour(), MC_OUTPUT, kStoreDecoderOutput, 4, {v1, v2}); }
STDMETHODIMP McDecoderOutputControl::SetOutputFormat(DWORD dwFourCC, DWORD dwEnable) {
    HRESULT hr = Behaviour().Enter(MC_OUTPUT, 5, {dwFourCC, dwEnable});
    if (hr != S_OK) return hr;
    DWORD refused = 0;
    if (Behaviour().Load(kStoreRefusedFourCC, &refused) && refused == dwFourCC) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(m_lock);
    m_enabled[dwFourCC] = dwEnable;
    return S_OK;
}
// Field 0 of the record must hold the record's size, for a read as for a write.
STDMETHODIMP McDecoderOutputControl::GetRecord(MC_DECODER_RECORD* pRecord) {
    HRESULT hr = Behaviour().Enter(MC_OUTPUT, 6, {pRecord ? pRecord->dwField[0] : 0u});
    if (hr != S_OK) return hr;
    if (!pRecord) return E_POINTER;
    if (pRecord->dwField[0] != sizeof(MC_DECODER_RECORD)) return E_INVALIDARG;
    MC_DECODER_RECORD record = {};
    record.dwField[0] = sizeof(record);
    Behaviour().Load(kStoreDecoderOutput + 7, &record);
    *pRecord = record;
    return S_OK;
}
STDMETHODIMP McDecoderOutputControl::SetRecord(MC_DECODER_RECORD* pRecord) {
    if (pRecord && pRecord->dwField[0] != sizeof(MC_DECODER_RECORD)) {
        Behaviour().Enter(MC_OUTPUT, 7, {}, {FilterBehaviour::Bytes(*pRecord)});
        return E_INVALIDARG;
    }
    return Record(Behaviour(), MC_OUTPUT, kStoreDecoderOutput, 7, pRecord);
}
#undef MC_OUTPUT

int McDecoderOutputControl::OutputEnabled(DWORD fourCC) const {
    std::lock_guard<std::mutex> lock(m_lock);
    auto found = m_enabled.find(fourCC);
    return found == m_enabled.end() ? -1 : static_cast<int>(found->second);
}

// ---- IMCH264Settings ----
#define MC_H264 "IMCH264Settings"
STDMETHODIMP McH264SettingsControl::Settings3(DWORD v1, DWORD v2, DWORD v3) {
    return Values(Behaviour(), MC_H264, kStoreH264Settings, 3, {v1, v2, v3});
}
STDMETHODIMP McH264SettingsControl::Settings4(DWORD v1, DWORD v2, DWORD v3) {
    return Values(Behaviour(), MC_H264, kStoreH264Settings, 4, {v1, v2, v3});
}
STDMETHODIMP McH264SettingsControl::Settings5(DWORD v) { return Values(Behaviour(), MC_H264, kStoreH264Settings, 5, {v}); }
STDMETHODIMP McH264SettingsControl::SetSettings(MC_H264_SETTINGS* pSettings) {
    return Record(Behaviour(), MC_H264, kStoreH264Settings, 6, pSettings);
}
STDMETHODIMP McH264SettingsControl::Settings7(DWORD v1, DWORD v2, DWORD v3) {
    return Values(Behaviour(), MC_H264, kStoreH264Settings, 7, {v1, v2, v3});
}
STDMETHODIMP McH264SettingsControl::Settings8(DWORD v1, DWORD v2) { return Values(Behaviour(), MC_H264, kStoreH264Settings, 8, {v1, v2}); }
#undef MC_H264

}  // namespace hwsim
