// The writers.
#include "FileWriter.h"

#include "evcode.h"
#include "platform/winfile.h"
#include "platform/winnls.h"

namespace platform::dshow {

FileWriterFilter::FileWriterFilter(REFCLSID clsid, const wchar_t* pinName) : With(clsid) {
    AddPin(PinDescription{PINDIR_INPUT, pinName});
}

FileWriterFilter::~FileWriterFilter() { Close(); }

HRESULT FileWriterFilter::OnStateChange(FILTER_STATE from, FILTER_STATE to) {
    if (from == State_Stopped) {
        std::wstring name = FileName();
        DWORD mode = 0;
        GetMode(&mode);
        if (!name.empty()) {
            // A name that is a symbolic link is refused, never written through.
            const std::string path = WideToUtf8(name);
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      (mode & AM_FILE_OVERWRITE) ? CREATE_ALWAYS : OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
            const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
            std::lock_guard<std::mutex> lock(m_lock);
            m_file = file;
            m_path = created ? path : std::string();
            m_written = 0;
            m_failed = false;
        }
    }
    if (to == State_Stopped) Close();
    return RendererBase::OnStateChange(from, to);
}

void FileWriterFilter::Close() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_file) return;
    if (!m_failed) SetEndOfFile(m_file);  // nothing of an older file stays behind what was written
    // What was written is on the disk when the file is closed; a file made here that never took
    // a byte is not left behind.
    if (m_written > 0 && !FlushFileBuffers(m_file)) {
        const unsigned long error = GetLastError();
        PlatformTrace("File writer: the file cannot be synced (error %lu)\n", error);
    }
    CloseHandle(m_file);
    m_file = nullptr;
    if (m_written == 0 && !m_path.empty()) DeleteFileA(m_path.c_str());
}

HRESULT FileWriterFilter::Render(PinBase*, IMediaSample* sample) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    DWORD length = DWORD(sample->GetActualDataLength());
    HRESULT hr = S_OK;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_file) return S_OK;
        if (m_failed) return S_FALSE;
        DWORD written = 0;
        const BOOL whole = WriteFile(m_file, data, length, &written, nullptr) && written == length;
        m_written += written;
        if (whole) return S_OK;
        DWORD error = GetLastError();
        m_failed = true;
        hr = HRESULT_FROM_WIN32(error ? error : ERROR_WRITE_FAULT);
    }
    // The writer itself reports the failed write, once, and takes nothing more: its upstream
    // may feed other branches that go on.
    NotifyEvent(EC_ERRORABORT, hr, 0);
    return S_FALSE;
}

}  // namespace platform::dshow
