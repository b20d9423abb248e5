#include "cards/filters/StreamFilters.h"

#include "uuids.h"

// The wrappers whose filters make pins on connection: valid with their filter, pins re-read.
#define DYNAMIC_PIN_WRAPPER(Class, clsid, name) \
    FILTER_WRAPPER_CLSID_CLASS(Class, clsid, name) \
    Class::~Class() = default;                     \
    BOOL Class::Init() {                           \
        m_bDyncPin = TRUE;                         \
        return IsValid();                          \
    }

DYNAMIC_PIN_WRAPPER(CInfTeeFilter, CLSID_InfTee, "Infinite Pin Tee Filter")
DYNAMIC_PIN_WRAPPER(CMpeg2SplitterFilter, CLSID_VorlaneMpeg2Splitter, "Mpeg2 Splitter")
DYNAMIC_PIN_WRAPPER(CIVVideoDecoderFilter, CLSID_IVVideoDecoder, "InterVideo Video Decoder")
DYNAMIC_PIN_WRAPPER(CMpeg1SplitterFilter, CLSID_MPEG1Splitter, "Mpeg1 Splitter")

FILTER_WRAPPER_CLSID_CLASS(CColorConvertFilter, CLSID_VorlaneColorConvert, "Color Convert")

CColorConvertFilter::~CColorConvertFilter() = default;

BOOL CColorConvertFilter::Init() { return IsValid(); }

HRESULT CColorConvertFilter::SetParameter(bool first, DWORD value) {
    if (m_pFilter == nullptr) return E_FAIL;
    CComPtr<IVorlaneColorConvert> convert;
    const HRESULT hr = m_pFilter->QueryInterface(IID_IVorlaneColorConvert, reinterpret_cast<void**>(&convert));
    if (FAILED(hr)) return hr;
    if (convert == nullptr) return E_NOINTERFACE;
    return first ? convert->SetParameterA(value) : convert->SetParameterB(value);
}

HRESULT CColorConvertFilter::SetParameterA(DWORD value) { return SetParameter(true, value); }

HRESULT CColorConvertFilter::SetParameterB(DWORD value) { return SetParameter(false, value); }
