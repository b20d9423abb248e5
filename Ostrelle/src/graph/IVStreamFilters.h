// The wrappers of the InterVideo stream filters built for the maker's cards, registered by
// CLSID: CIVFileWriterFilter (file writer), CIVMuxFilter (program-stream multiplexer),
// CIVStillCaptureFilter (still pictures) and CIVDownScaleFilter (down-scaler). Each talks to the
// filter's parameter interface (slot 3 reads a parameter by id, slot 4 writes one).
#pragma once

#include <makers/intervideo.h>

#include "graph/FilterClassRecord.h"
#include "graph/IVParamCalls.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

// The multiplexer's settings record; the ids the fields carry are kIVMuxCallOrder's.
struct IVMuxSettings {
    int field[6];
};

// Written and read in this order (field -> id).
extern const IVParamField kIVMuxCallOrder[6];
// The five presets' fields, preset 1 first.
extern const int kIVMuxPresets[5][6];

class CIVFileWriterFilter : public CFilterWrapper<CIVFileWriterFilter> {
public:
    // Init opens IIVFileWriterParams; TRUE when the query succeeded.
    using CFilterWrapper::CFilterWrapper;
    ~CIVFileWriterFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;

    // Through IFileSinkFilter, asked of the parameter interface; a null name passes none, one of
    // 260 characters or more is refused without a call.
    BOOL SetFileName(const char* name);
    // Parameter 0x500, a 64-bit value (low and high halves).
    BOOL SetParam500(DWORD low, DWORD high);
    // Reads the 64-bit parameter 0x500 into 8 bytes at pValue.
    BOOL GetParam500(void* pValue);

private:
    CComPtr<IIVFileWriterParams> m_pParams;
};

class CIVMuxFilter : public CFilterWrapper<CIVMuxFilter> {
public:
    // Init: the multiplexer adds input pins as they are connected.
    using CFilterWrapper::CFilterWrapper;
    ~CIVMuxFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;

    // Every field is sent (or read) even when one fails; TRUE only when each call succeeded. A
    // field whose read failed keeps its value. FALSE without a call when IIVMuxParams is not
    // given with S_OK or the record is null.
    BOOL SetMuxSettings(const IVMuxSettings* p);
    BOOL GetMuxSettings(IVMuxSettings* p);

    // Fill all six fields; FALSE for a null record.
    static BOOL GetMuxPreset1(IVMuxSettings* p);
    static BOOL GetMuxPreset2(IVMuxSettings* p);
    static BOOL GetMuxPreset3(IVMuxSettings* p);
    static BOOL GetMuxPreset4(IVMuxSettings* p);
    static BOOL GetMuxPreset5(IVMuxSettings* p);
};

class CIVStillCaptureFilter : public CFilterWrapper<CIVStillCaptureFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CIVStillCaptureFilter() override;
    static CFilterClassRecord s_classRecord;

    // One parameter each, the argument passed through; TRUE when the call succeeded.
    BOOL GetStill601(LONG* pValue);
    BOOL SetStill601(LONG value);
    BOOL GetStill602(LONG* pValue);
    BOOL SetStill602(LONG value);
    BOOL GetStill603(LONG* pValue);
    BOOL SetStill603(LONG value);
    BOOL GetStill604(LONG* pValue);
    BOOL SetStill604(LONG value);
    BOOL GetStill605(LONG* pValue);
    BOOL SetStill605(LONG value);
    // The current picture's size in bytes.
    BOOL GetStill607(LONG* pSize);
    // The current picture (a packed DIB) into a block of GetStill607's size.
    BOOL GetStill608(void* pPicture);

    // Writes the current picture to path as a BMP file. FALSE, keeping the file that was there,
    // when there is no picture, its colour table or masks do not lie inside it, memory runs out,
    // or a write fails.
    BOOL SaveSnapshot(const char* path);

private:
    BOOL Read(DWORD id, void* pValue);
    BOOL Write(DWORD id, LONG value);
};

class CIVDownScaleFilter : public CInterfaceWrapper<CIVDownScaleFilter, IIVDownScaleParams, IID_IIVDownScaleParams, TakenAnswer::ExactlyOk> {
public:
    // Init opens IIVDownScaleParams; TRUE only for S_OK.
    using CInterfaceWrapper::CInterfaceWrapper;
    static CFilterClassRecord s_classRecord;

    // Writes 0x700 and, when that took, 0x701 (1 or 0 each); TRUE when both took. A failed second
    // write keeps the first.
    BOOL SetDownScale(BOOL first, BOOL second);
    // Both outputs untouched unless both reads succeed.
    BOOL GetDownScale(BOOL* pFirst, BOOL* pSecond);
};
