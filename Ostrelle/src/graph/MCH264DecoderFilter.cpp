#include "graph/MCH264DecoderFilter.h"

#include "graph/FilterWrapperClass.h"
#include "graph/MCForward.h"

FILTER_WRAPPER_CLSID_CLASS(CMCH264DecoderFilter, CLSID_MCH264VideoDecoder, "MainConcept H.264 Video Decoder")

FILTER_WRAPPER_INTERFACE(CMCH264DecoderFilter, IID_IMCH264DecoderOutput, m_pDecoderOutput, AnySuccess)

BOOL CMCH264DecoderFilter::Output3(DWORD dwParam1, DWORD dwParam2) {
    return MCForward(m_pDecoderOutput.p, &IMCH264DecoderOutput::Output3, dwParam1, dwParam2);
}
BOOL CMCH264DecoderFilter::Output4(DWORD dwParam1, DWORD dwParam2) {
    return MCForward(m_pDecoderOutput.p, &IMCH264DecoderOutput::Output4, dwParam1, dwParam2);
}
BOOL CMCH264DecoderFilter::Output5(DWORD dwParam1, DWORD dwParam2) {
    return MCForward(m_pDecoderOutput.p, &IMCH264DecoderOutput::Output5, dwParam1, dwParam2);
}
BOOL CMCH264DecoderFilter::GetOutputRecord(MCH264_OUTPUT_RECORD* pRecord) {
    return MCForward(m_pDecoderOutput.p, &IMCH264DecoderOutput::GetOutputRecord, pRecord);
}
BOOL CMCH264DecoderFilter::SetOutputRecord(MCH264_OUTPUT_RECORD record) {
    return MCForward(m_pDecoderOutput.p, &IMCH264DecoderOutput::SetOutputRecord, record);
}
