// CTimeShiftFilter: the wrapper of the InterVideo time-shift filter, registered by its CLSID.
#include "cards/filters/TimeShiftFilter.h"

#include <cstdint>
#include <cstring>

#include "graph/StrA2W.h"

namespace {

constexpr LONG kDefaultBufferKB = 512;
constexpr LONG kDefaultFourthWord = 128;

BOOL Succeeded(HRESULT hr) { return SUCCEEDED(hr) ? TRUE : FALSE; }

bool FitsLong(long long value) { return value >= INT32_MIN && value <= INT32_MAX; }

void Replace(BSTR* text, const WCHAR* value) {
    SysFreeString(*text);
    *text = SysAllocString(value);
}

}  // namespace

TimeShiftSettings::TimeShiftSettings()
    : IVTimeShiftRecord{nullptr, nullptr, kDefaultBufferKB, kDefaultFourthWord, kDefaultBufferKB << 10, 0} {}

TimeShiftSettings::~TimeShiftSettings() {
    SysFreeString(directory);
    SysFreeString(fileName);
    directory = nullptr;
    fileName = nullptr;
    bufferKB = 0;
    sixth = 0;
}

void TimeShiftSettings::SetDirectory(const WCHAR* text) { Replace(&directory, text); }

void TimeShiftSettings::SetFileName(const WCHAR* text) { Replace(&fileName, text); }

CFilterClassRecord CTimeShiftFilter::s_classRecord = Record(&CLSID_IVTimeShift, nullptr,
                                                            "InterVideo Time Shift Filter for vorlane");

CTimeShiftFilter::~CTimeShiftFilter() { m_pTimeShift.Release(); }

BOOL CTimeShiftFilter::Init() {
    m_pTimeShift.Release();
    if (!IsValid()) return FALSE;
    if (FAILED(m_pFilter->QueryInterface(IID_IIVTimeShift, reinterpret_cast<void**>(&m_pTimeShift)))) {
        m_pTimeShift.Release();
    }
    return m_pTimeShift != nullptr ? TRUE : FALSE;
}

BOOL CTimeShiftFilter::SetStorage(TimeShiftRequest request) {
    if (m_pTimeShift == nullptr) return FALSE;
    if (memchr(request.path, '\0', sizeof(request.path)) == nullptr) return FALSE;
    const long long bufferKB = static_cast<long long>(request.second) * request.third / 8;
    const long long bufferBytes = bufferKB * 1024;
    if (!FitsLong(bufferKB) || !FitsLong(bufferBytes)) return FALSE;

    TimeShiftSettings settings;
    const HRESULT read = m_pTimeShift->GetStorage(&settings);
    char path[MAX_PATH];
    memcpy(path, request.path, sizeof(path));
    char* slash = strrchr(path, '\\');
    if (slash == nullptr || FAILED(read)) return FALSE;

    *slash = '\0';
    CStrA2W name(slash + 1);
    CStrA2W directory(path);
    // The strings the filter handed over in its record are the caller's: freed when replaced.
    settings.SetFileName(name.Convert());
    settings.SetDirectory(directory.Convert());
    settings.sixth = request.first;
    settings.bufferKB = static_cast<LONG>(bufferKB);
    settings.bufferBytes = static_cast<LONG>(bufferBytes);
    const BOOL sent = Succeeded(m_pTimeShift->SetStorage(settings));
    const BOOL valueSent = Succeeded(m_pTimeShift->SetBufferValue(request.second));
    return sent && valueSent ? TRUE : FALSE;
}

BOOL CTimeShiftFilter::SetWordA(DWORD value) {
    return m_pTimeShift != nullptr ? Succeeded(m_pTimeShift->SetWordA(value)) : FALSE;
}

BOOL CTimeShiftFilter::SetLongWord(const ULONGLONG* value) {
    if (m_pTimeShift == nullptr || value == nullptr) return FALSE;
    return Succeeded(m_pTimeShift->SetLongWord(static_cast<DWORD>(*value), static_cast<DWORD>(*value >> 32)));
}

BOOL CTimeShiftFilter::SetWordB(DWORD value) {
    return m_pTimeShift != nullptr ? Succeeded(m_pTimeShift->SetWordB(value)) : FALSE;
}

BOOL CTimeShiftFilter::SetWordC(DWORD value) {
    return m_pTimeShift != nullptr ? Succeeded(m_pTimeShift->SetWordC(value)) : FALSE;
}

BOOL CTimeShiftFilter::SetWordD(DWORD value) {
    return m_pTimeShift != nullptr ? Succeeded(m_pTimeShift->SetWordD(value)) : FALSE;
}

BOOL CTimeShiftFilter::CommandA() { return m_pTimeShift != nullptr ? Succeeded(m_pTimeShift->CommandA()) : FALSE; }

BOOL CTimeShiftFilter::CommandB() { return m_pTimeShift != nullptr ? Succeeded(m_pTimeShift->CommandB()) : FALSE; }

BOOL CTimeShiftFilter::SetFileName(const char* name) {
    if (m_pTimeShift == nullptr || name == nullptr) return FALSE;
    if (strnlen(name, MAX_PATH) >= MAX_PATH) return FALSE;
    char copy[MAX_PATH];
    strcpy(copy, name);
    return Succeeded(m_pTimeShift->SetFileName(copy));
}
