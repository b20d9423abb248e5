// The card library's wrappers of the tee, colour converter, splitters and video decoder.
#include "cards/filters/StreamFilters.h"

#include "uuids.h"

CFilterClassRecord CInfTeeFilter::s_classRecord = Record(&CLSID_InfTee, nullptr, "Infinite Pin Tee Filter");
CFilterClassRecord CMpeg2SplitterFilter::s_classRecord = Record(&CLSID_VorlaneMpeg2Splitter, nullptr, "Mpeg2 Splitter");
CFilterClassRecord CIVVideoDecoderFilter::s_classRecord = Record(&CLSID_IVVideoDecoder, nullptr,
                                                                 "InterVideo Video Decoder");
CFilterClassRecord CMpeg1SplitterFilter::s_classRecord = Record(&CLSID_MPEG1Splitter, nullptr, "Mpeg1 Splitter");

CFilterClassRecord CColorConvertFilter::s_classRecord = Record(&CLSID_VorlaneColorConvert, nullptr, "Color Convert");

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
