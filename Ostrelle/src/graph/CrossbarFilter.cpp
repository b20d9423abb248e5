// CCrossbarFilter: the wrapper of an analog video crossbar (IAMCrossbar).
#include "graph/CrossbarFilter.h"

CCrossbarFilter::~CCrossbarFilter() = default;

BOOL CCrossbarFilter::Init() {
    BOOL valid = CRootFilter::Init();
    if (valid) InitRouteTable();
    return valid;
}

BOOL CCrossbarFilter::SetVideoInput(int source) {
    return Route(m_nVideoRoute[SourceIndex(source)], kVideoOutputPin);
}

BOOL CCrossbarFilter::SetAudioInput(int source) {
    return Route(m_nAudioRoute[SourceIndex(source)], kAudioOutputPin);
}

void CCrossbarFilter::InitRouteTable() {
    for (int source = 0; source < kSources; ++source) {
        m_nVideoRoute[source] = source;
        m_nAudioRoute[source] = kSources + source;
    }
}

void CCrossbarFilter::SetRouteTable(const int (&video)[kSources], const int (&audio)[kSources]) {
    for (int source = 0; source < kSources; ++source) {
        m_nVideoRoute[source] = video[source];
        m_nAudioRoute[source] = audio[source];
    }
}

BOOL CCrossbarFilter::Route(int inputPin, int outputPin) {
    if (m_pFilter == nullptr) return FALSE;
    CComPtr<IAMCrossbar> crossbar;
    if (FAILED(m_pFilter->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&crossbar)))) return FALSE;
    long outputs = 0;
    long inputs = 0;
    if (crossbar->get_PinCounts(&outputs, &inputs) != S_OK) return FALSE;
    if (inputPin < 0 || inputPin >= inputs || outputPin < 0 || outputPin >= outputs) return FALSE;
    return crossbar->Route(outputPin, inputPin) == S_OK ? TRUE : FALSE;
}
