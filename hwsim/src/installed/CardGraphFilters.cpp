// The filters the card library's graph wrappers open, from the maker's packages.
#include "hwsim/installed/CardGraphFilters.h"

#include <cwchar>
#include <string>

#include "uuids.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinBase;
using platform::dshow::PinDescription;

namespace {

constexpr const char kColorConvert[] = "IVorlaneColorConvert";
constexpr const char kTimeShift[] = "IIVTimeShift";

// Where the time-shift filter keeps its storage record.
constexpr DWORD kStorageWords = 4;
constexpr DWORD kStorageDirectory = 0x10;
constexpr DWORD kStorageFileName = 0x11;

struct StorageWords {
    LONG bufferKB = 512;
    LONG fourth = TimeShiftControl::kDefaultFourth;
    LONG bufferBytes = 512 << 10;
    LONG sixth = 0;
};

std::vector<BYTE> WideBytes(const wchar_t* text) {
    if (text == nullptr) return {};
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text);
    return std::vector<BYTE>(bytes, bytes + std::wcslen(text) * sizeof(wchar_t));
}

BSTR StoredText(const FilterBehaviour& behaviour, DWORD id, const wchar_t* fallback) {
    std::vector<BYTE> bytes;
    if (!behaviour.GetParam(id, &bytes)) return SysAllocString(fallback);
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!bytes.empty()) std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    return SysAllocString(text.c_str());
}

PinDescription VideoPin(PIN_DIRECTION direction, const wchar_t* name, REFGUID subtype = GUID_NULL) {
    return PinDescription{direction, name, L"", GUID_NULL, {MediaType(MEDIATYPE_Video, subtype)}};
}

}  // namespace

// ---- colour converter ----

STDMETHODIMP ColorConvertControl::SetParameterA(DWORD value) {
    HRESULT hr = Behaviour().Enter(kColorConvert, 3, {value});
    if (hr == S_OK) Behaviour().Store(3, value);
    return hr;
}

STDMETHODIMP ColorConvertControl::SetParameterB(DWORD value) {
    HRESULT hr = Behaviour().Enter(kColorConvert, 4, {value});
    if (hr == S_OK) Behaviour().Store(4, value);
    return hr;
}



// ---- MPEG-2 splitter ----

Mpeg2SplitterFilter::Mpeg2SplitterFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : InstalledFilterOf(CLSID_VorlaneMpeg2Splitter, std::move(behaviour)),
      m_outputs({VideoPin(PINDIR_OUTPUT, L"Video", MEDIASUBTYPE_MPEG2_VIDEO),
                 PinDescription{PINDIR_OUTPUT, L"Audio", L"", GUID_NULL,
                                {MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO)}}}) {
    AddPin(PinDescription{PINDIR_INPUT, L"Input", L"", GUID_NULL, {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM)}});
}

HRESULT Mpeg2SplitterFilter::Make(const InstalledFilterRow&, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                   void** ppv) {
    return platform::CreateComObject<Mpeg2SplitterFilter>(riid, ppv, behaviour);
}

void Mpeg2SplitterFilter::OnPinConnected(PinBase* pin) { m_outputs.Connected(this, pin); }

void Mpeg2SplitterFilter::OnPinDisconnected(PinBase* pin) { m_outputs.Disconnected(this, pin); }

// ---- time-shift filter ----

STDMETHODIMP TimeShiftControl::GetStorage(IVTimeShiftRecord* pRecord) {
    HRESULT hr = Behaviour().Enter(kTimeShift, 3, {ULONGLONG(reinterpret_cast<uintptr_t>(pRecord))});
    if (hr != S_OK) return hr;
    if (!pRecord) return E_POINTER;
    StorageWords words;
    Behaviour().Load(kStorageWords, &words);
    pRecord->directory = StoredText(Behaviour(), kStorageDirectory, kDefaultDirectory);
    pRecord->fileName = StoredText(Behaviour(), kStorageFileName, kDefaultFileName);
    pRecord->bufferKB = words.bufferKB;
    pRecord->fourth = words.fourth;
    pRecord->bufferBytes = words.bufferBytes;
    pRecord->sixth = words.sixth;
    return S_OK;
}

STDMETHODIMP TimeShiftControl::SetStorage(IVTimeShiftRecord record) {
    std::vector<BYTE> directory = WideBytes(record.directory);
    std::vector<BYTE> fileName = WideBytes(record.fileName);
    HRESULT hr = Behaviour().Enter(kTimeShift, 4,
                                   {ULONGLONG(ULONG(record.bufferKB)), ULONGLONG(ULONG(record.fourth)),
                                    ULONGLONG(ULONG(record.bufferBytes)), ULONGLONG(ULONG(record.sixth))},
                                   {directory, fileName});
    if (hr != S_OK) return hr;
    Behaviour().Store(kStorageWords, StorageWords{record.bufferKB, record.fourth, record.bufferBytes, record.sixth});
    Behaviour().SetParam(kStorageDirectory, std::move(directory));
    Behaviour().SetParam(kStorageFileName, std::move(fileName));
    return S_OK;
}

STDMETHODIMP TimeShiftControl::SetBufferValue(LONG value) { return Behaviour().Enter(kTimeShift, 9, {ULONGLONG(ULONG(value))}); }

STDMETHODIMP TimeShiftControl::SetLongWord(DWORD low, DWORD high) { return Behaviour().Enter(kTimeShift, 14, {low, high}); }

STDMETHODIMP TimeShiftControl::CommandA() { return Behaviour().Enter(kTimeShift, 19, {}); }

STDMETHODIMP TimeShiftControl::CommandB() { return Behaviour().Enter(kTimeShift, 20, {}); }

STDMETHODIMP TimeShiftControl::SetFileName(LPCSTR name) {
    std::vector<BYTE> text;
    if (name != nullptr) text.assign(name, name + std::strlen(name));
    HRESULT hr = Behaviour().Enter(kTimeShift, 21, {}, {text});
    return hr != S_OK ? hr : name != nullptr ? S_OK : E_POINTER;
}

HRESULT TimeShiftControl::Word(int slot, DWORD value) { return Behaviour().Enter(kTimeShift, slot, {value}); }

HRESULT TimeShiftControl::Unnamed(int slot) {
    HRESULT hr = Behaviour().Enter(kTimeShift, slot, {});
    return hr != S_OK ? hr : E_NOTIMPL;
}



}  // namespace hwsim
