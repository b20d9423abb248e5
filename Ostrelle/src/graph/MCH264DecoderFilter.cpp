// CMCH264DecoderFilter: the wrapper of the MainConcept H.264 video decoder.
#include "graph/MCH264DecoderFilter.h"

#include "graph/FilterWrapperClass.h"
#include "graph/MCForward.h"

CFilterClassRecord CMCH264DecoderFilter::s_classRecord = Record(&CLSID_MCH264VideoDecoder, nullptr,
                                                                "MainConcept H.264 Video Decoder");

BOOL CMCH264DecoderFilter::Output3(DWORD dwParam1, DWORD dwParam2) {
    return MCForward(m_pInterface.p, &IMCH264DecoderOutput::Output3, dwParam1, dwParam2);
}
BOOL CMCH264DecoderFilter::Output4(DWORD dwParam1, DWORD dwParam2) {
    return MCForward(m_pInterface.p, &IMCH264DecoderOutput::Output4, dwParam1, dwParam2);
}
BOOL CMCH264DecoderFilter::Output5(DWORD dwParam1, DWORD dwParam2) {
    return MCForward(m_pInterface.p, &IMCH264DecoderOutput::Output5, dwParam1, dwParam2);
}
BOOL CMCH264DecoderFilter::GetOutputRecord(MCH264_OUTPUT_RECORD* pRecord) {
    return MCForward(m_pInterface.p, &IMCH264DecoderOutput::GetOutputRecord, pRecord);
}
BOOL CMCH264DecoderFilter::SetOutputRecord(MCH264_OUTPUT_RECORD record) {
    return MCForward(m_pInterface.p, &IMCH264DecoderOutput::SetOutputRecord, record);
}
