// The wrappers of the MainConcept MPEG multiplexer, audio decoder and encoder, splitter, video
// decoder and encoder, each registered by its filter's CLSID. The multiplexer and the two
// encoders offer the forwarding groups of the MPEG encoder; the splitter and the video decoder
// have interfaces of their own; the audio decoder has none. Only the video decoder configures
// its filter while it is created: YUY2 output only, and its parameter 0x20 cleared.
#pragma once

#include <makers/mainconcept.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/MCInterfaceGroups.h"
#include "graph/RootFilter.h"

// Init opens the multiplexer settings, parameters and file sink, every one even after a failure.
// The filter adds inputs as they are connected.
class CMCMuxFilter : public CFilterWrapper<CMCMuxFilter>, public CMCMuxGroup, public CMCMuxParamGroup {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CMCMuxFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;
    BOOL SetMuxParam25(DWORD value);
};

// Valid whenever its filter is: it has no interface of its own.
class CMCAudioDecoderFilter : public CFilterWrapper<CMCAudioDecoderFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CMCAudioDecoderFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;
};

// Init opens the audio settings and parameters, both always.
class CMCAudioEncoderFilter : public CFilterWrapper<CMCAudioEncoderFilter>, public CMCAudioGroup {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CMCAudioEncoderFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;
};

// Init opens the splitter's parameters. The filter adds its outputs once its input is connected.
class CMCSplitterFilter : public CFilterWrapper<CMCSplitterFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CMCSplitterFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;
    BOOL GetSplitterParam(DWORD id, DWORD* value);
    BOOL SetSplitterParam(DWORD id, DWORD value);

private:
    CComPtr<IMCSplitterParams> m_pSplitterParams;
};

// Init stops at its first failure: the parameters, the output interface, the default output
// formats, then parameter 0x20 set to 0, whose answer is Init's.
class CMCVideoDecoderFilter : public CFilterWrapper<CMCVideoDecoderFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CMCVideoDecoderFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;
    BOOL SetDecoderParam(DWORD id, DWORD value);
    BOOL GetDecoderParam(DWORD id, DWORD* value);
    BOOL DecoderOutput3(DWORD value1, DWORD value2);
    BOOL DecoderOutput4(DWORD value1, DWORD value2);
    BOOL SetOutputFormat(DWORD fourCC, DWORD enable);
    // Field 0 of the record is set to the record's size before the read; a null record reaches
    // the filter as null.
    BOOL GetDecoderRecord(MC_DECODER_RECORD* record);
    // The filter gets a copy whose field 0 is the record's size.
    BOOL SetDecoderRecord(MC_DECODER_RECORD record);
    // Read-modify-write of field 4; nothing is written after a failed read.
    BOOL SetDecoderField4(DWORD value);
    // *out means something only when the answer is TRUE; FALSE without a read for a null out.
    BOOL GetDecoderField4(int* out);
    // YUY2 enabled, then BGR4, BGR3, R555, R565, UYVY and YV12 disabled; stops at the first
    // format the filter refuses.
    BOOL SetDefaultOutputFormats();

private:
    CComPtr<IMCDecoderParams> m_pDecoderParams;
    CComPtr<IMCDecoderOutput> m_pDecoderOutput;
};

// Init opens the video settings and parameters, both always.
class CMCVideoEncoderFilter : public CFilterWrapper<CMCVideoEncoderFilter>, public CMCVideoGroup {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CMCVideoEncoderFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;
};

