// The wrappers of the InterVideo stream filters built for the maker's cards, registered by CLSID.
#include "graph/IVStreamFilters.h"

#include <cstring>
#include <iterator>

#include "graph/BitmapFile.h"
#include "graph/FileSinkName.h"
#include "graph/FilterWrapperClass.h"

const IVParamField kIVMuxCallOrder[6] = {
    {4, 0x203}, {0, 0x201}, {1, 0x202}, {3, 0x205}, {2, 0x204}, {5, 0x206},
};

const int kIVMuxPresets[5][6] = {
    {2324, 1, 1, 1, 2, 0},
    {2048, 1, 1, 1, 4, 1},
    {2324, 1, 1, 1, 3, 1},
    {2048, 1, 1, 1, 0, 1},
    {2048, 1, 1, 1, 1, 1},
};

namespace {

constexpr DWORD kParam500 = 0x500;
constexpr DWORD kStillSize = 0x607;
constexpr DWORD kStillPicture = 0x608;
constexpr DWORD kDownScaleFirst = 0x700;
constexpr DWORD kDownScaleSecond = 0x701;

BOOL FillMuxPreset(IVMuxSettings* p, int preset) {
    if (p == nullptr) return FALSE;
    std::memcpy(p->field, kIVMuxPresets[preset], sizeof(p->field));
    return TRUE;
}

}  // namespace

// ---- CIVFileWriterFilter ----

CFilterClassRecord CIVFileWriterFilter::s_classRecord = Record(&CLSID_IVFileWriter, nullptr,
                                                               "InterVideo File Writer for vorlane");

CIVFileWriterFilter::~CIVFileWriterFilter() {
    m_pParams.Release();
}

BOOL CIVFileWriterFilter::Init() {
    m_pParams.Release();
    if (!IsValid()) return FALSE;
    return SUCCEEDED(m_pFilter->QueryInterface(IID_IIVFileWriterParams, reinterpret_cast<void**>(&m_pParams)))
               ? TRUE
               : FALSE;
}

BOOL CIVFileWriterFilter::SetFileName(const char* name) {
    if (m_pParams == nullptr) return FALSE;
    return SUCCEEDED(SetFileSinkName(FileSinkOf(m_pParams), name)) ? TRUE : FALSE;
}

BOOL CIVFileWriterFilter::SetParam500(DWORD low, DWORD high) {
    if (m_pParams == nullptr) return FALSE;
    ULONGLONG value = (ULONGLONG(high) << 32) | low;
    return SUCCEEDED(m_pParams->SetParam(kParam500, reinterpret_cast<LONG_PTR>(&value))) ? TRUE : FALSE;
}

BOOL CIVFileWriterFilter::GetParam500(void* pValue) {
    if (m_pParams == nullptr) return FALSE;
    return SUCCEEDED(m_pParams->GetParam(kParam500, pValue)) ? TRUE : FALSE;
}

// ---- CIVMuxFilter ----

CFilterClassRecord CIVMuxFilter::s_classRecord = Record(&CLSID_IVMultiplexer, nullptr,
                                                        "InterVideo Multiplexer for vorlane");

CIVMuxFilter::~CIVMuxFilter() = default;

BOOL CIVMuxFilter::Init() {
    m_bDyncPin = TRUE;
    return IsValid();
}

BOOL CIVMuxFilter::SetMuxSettings(const IVMuxSettings* p) {
    return WriteIVRecord<IIVMuxParams>(m_pFilter, IID_IIVMuxParams, p, kIVMuxCallOrder);
}

BOOL CIVMuxFilter::GetMuxSettings(IVMuxSettings* p) {
    return ReadIVRecord<IIVMuxParams>(m_pFilter, IID_IIVMuxParams, p, kIVMuxCallOrder);
}

BOOL CIVMuxFilter::GetMuxPreset1(IVMuxSettings* p) { return FillMuxPreset(p, 0); }
BOOL CIVMuxFilter::GetMuxPreset2(IVMuxSettings* p) { return FillMuxPreset(p, 1); }
BOOL CIVMuxFilter::GetMuxPreset3(IVMuxSettings* p) { return FillMuxPreset(p, 2); }
BOOL CIVMuxFilter::GetMuxPreset4(IVMuxSettings* p) { return FillMuxPreset(p, 3); }
BOOL CIVMuxFilter::GetMuxPreset5(IVMuxSettings* p) { return FillMuxPreset(p, 4); }

// ---- CIVStillCaptureFilter ----

CFilterClassRecord CIVStillCaptureFilter::s_classRecord = Record(&CLSID_IVStillCapture, nullptr,
                                                                 "InterVideo Still Capture for vorlane");

CIVStillCaptureFilter::~CIVStillCaptureFilter() = default;

BOOL CIVStillCaptureFilter::Read(DWORD id, void* pValue) {
    CComPtr<IIVStillParams> params = QueryIVParams<IIVStillParams>(m_pFilter, IID_IIVStillParams);
    if (params == nullptr) return FALSE;
    return SUCCEEDED(params->GetParam(id, pValue)) ? TRUE : FALSE;
}

BOOL CIVStillCaptureFilter::Write(DWORD id, LONG value) {
    CComPtr<IIVStillParams> params = QueryIVParams<IIVStillParams>(m_pFilter, IID_IIVStillParams);
    if (params == nullptr) return FALSE;
    return SUCCEEDED(params->SetParam(id, value)) ? TRUE : FALSE;
}

BOOL CIVStillCaptureFilter::GetStill601(LONG* pValue) { return Read(0x601, pValue); }
BOOL CIVStillCaptureFilter::SetStill601(LONG value) { return Write(0x601, value); }
BOOL CIVStillCaptureFilter::GetStill602(LONG* pValue) { return Read(0x602, pValue); }
BOOL CIVStillCaptureFilter::SetStill602(LONG value) { return Write(0x602, value); }
BOOL CIVStillCaptureFilter::GetStill603(LONG* pValue) { return Read(0x603, pValue); }
BOOL CIVStillCaptureFilter::SetStill603(LONG value) { return Write(0x603, value); }
BOOL CIVStillCaptureFilter::GetStill604(LONG* pValue) { return Read(0x604, pValue); }
BOOL CIVStillCaptureFilter::SetStill604(LONG value) { return Write(0x604, value); }
BOOL CIVStillCaptureFilter::GetStill605(LONG* pValue) { return Read(0x605, pValue); }
BOOL CIVStillCaptureFilter::SetStill605(LONG value) { return Write(0x605, value); }
BOOL CIVStillCaptureFilter::GetStill607(LONG* pSize) { return Read(kStillSize, pSize); }
BOOL CIVStillCaptureFilter::GetStill608(void* pPicture) { return Read(kStillPicture, pPicture); }

BOOL CIVStillCaptureFilter::SaveSnapshot(const char* path) {
    CComPtr<IIVStillParams> params = QueryIVParams<IIVStillParams>(m_pFilter, IID_IIVStillParams);
    if (params == nullptr) return FALSE;
    LONG size = 0;
    if (params->GetParam(kStillSize, &size) != S_OK || size <= 0) return FALSE;
    HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, SIZE_T(size));
    if (block == nullptr) return FALSE;
    BYTE* dib = static_cast<BYTE*>(GlobalLock(block));
    BOOL result = FALSE;
    if (dib != nullptr && SUCCEEDED(params->GetParam(kStillPicture, dib)))
        result = WriteBitmapFile(path, dib, DWORD(size));
    if (dib != nullptr) GlobalUnlock(block);
    GlobalFree(block);
    return result;
}

// ---- CIVDownScaleFilter ----

CFilterClassRecord CIVDownScaleFilter::s_classRecord = Record(&CLSID_IVDownScale, nullptr,
                                                              "InterVideo Down Scale Filter for vorlane");

BOOL CIVDownScaleFilter::SetDownScale(BOOL first, BOOL second) {
    if (m_pInterface == nullptr) return FALSE;
    if (m_pInterface->SetParam(kDownScaleFirst, first ? 1 : 0) != S_OK) return FALSE;
    return m_pInterface->SetParam(kDownScaleSecond, second ? 1 : 0) == S_OK ? TRUE : FALSE;
}

BOOL CIVDownScaleFilter::GetDownScale(BOOL* pFirst, BOOL* pSecond) {
    if (m_pInterface == nullptr) return FALSE;
    LONG first = 0, second = 0;
    // Both are read before either is judged.
    const HRESULT firstRead = m_pInterface->GetParam(kDownScaleFirst, &first);
    const HRESULT secondRead = m_pInterface->GetParam(kDownScaleSecond, &second);
    if (firstRead != S_OK || secondRead != S_OK) return FALSE;
    if (pFirst) *pFirst = first > 0 ? TRUE : FALSE;
    if (pSecond) *pSecond = second > 0 ? TRUE : FALSE;
    return TRUE;
}
