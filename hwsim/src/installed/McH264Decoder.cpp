// The MainConcept H.264 video decoder (package "mainconcept"), with IMCH264DecoderOutput.
#include "hwsim/installed/McH264Decoder.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinDescription;

namespace {
const GUID kH264Subtype = {0x34363248, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const wchar_t kOutputPin[] = L"XForm Out";
}  // namespace

HRESULT McH264OutputControl::Pair(int slot, DWORD dwParam1, DWORD dwParam2) {
    HRESULT hr = Behaviour().Enter("IMCH264DecoderOutput", slot, {dwParam1, dwParam2});
    if (hr == S_OK) Behaviour().Store(static_cast<DWORD>(slot), std::pair<DWORD, DWORD>(dwParam1, dwParam2));
    return hr;
}

STDMETHODIMP McH264OutputControl::Output3(DWORD dwParam1, DWORD dwParam2) { return Pair(3, dwParam1, dwParam2); }
STDMETHODIMP McH264OutputControl::Output4(DWORD dwParam1, DWORD dwParam2) { return Pair(4, dwParam1, dwParam2); }
STDMETHODIMP McH264OutputControl::Output5(DWORD dwParam1, DWORD dwParam2) { return Pair(5, dwParam1, dwParam2); }

STDMETHODIMP McH264OutputControl::GetOutputRecord(MCH264_OUTPUT_RECORD* pRecord) {
    HRESULT hr = Behaviour().Enter("IMCH264DecoderOutput", 6, {ULONGLONG(reinterpret_cast<uintptr_t>(pRecord))});
    if (hr != S_OK) return hr;
    if (!pRecord) return E_POINTER;
    MCH264_OUTPUT_RECORD record = {};
    Behaviour().Load(kRecordParam, &record);
    *pRecord = record;
    return S_OK;
}

STDMETHODIMP McH264OutputControl::SetOutputRecord(MCH264_OUTPUT_RECORD record) {
    HRESULT hr = Behaviour().Enter("IMCH264DecoderOutput", 7, {}, {FilterBehaviour::Bytes(record)});
    if (hr == S_OK) Behaviour().Store(kRecordParam, record);
    return hr;
}

McH264DecoderFilter::McH264DecoderFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : InstalledFilterOf(CLSID_MCH264VideoDecoder, std::move(behaviour)) {
    AddPin(PinDescription{PINDIR_INPUT, L"XForm In", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, kH264Subtype)}});
}

HRESULT McH264DecoderFilter::Make(const InstalledFilterRow&, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                   void** ppv) {
    return platform::CreateComObject<McH264DecoderFilter>(riid, ppv, behaviour);
}

void McH264DecoderFilter::OnPinConnected(platform::dshow::PinBase* pin) {
    if (pin->Direction() != PINDIR_INPUT || FindPinByName(kOutputPin)) return;
    AddPin(PinDescription{PINDIR_OUTPUT, kOutputPin, L"", GUID_NULL,
                          {platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 576, 16)}});
}

void McH264DecoderFilter::OnPinDisconnected(platform::dshow::PinBase* pin) {
    if (pin->Direction() != PINDIR_INPUT) return;
    platform::dshow::PinBase* output = FindPinByName(kOutputPin);
    if (output && !output->IsConnected()) RemovePin(output);
}

}  // namespace hwsim
