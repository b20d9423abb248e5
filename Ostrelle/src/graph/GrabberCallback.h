// CGrabberCallback: the station's receiver of grabbed frames (ISampleGrabberCB, buffer method).
// It keeps the current video format and, when a snapshot was asked for, writes the next whole
// frame to the snapshot's path as a BMP file. Reference counted: a new object holds one
// reference for its maker, the grabber holds its own, and the last Release deletes it.
//
// RequestSnapshot runs on the station's thread and BufferCB on the grabber's streaming thread;
// the state is locked between them.
#pragma once

#include <amvideo.h>
#include <qedit.h>
#include <windows.h>

#include <atomic>
#include <mutex>

class CGrabberCallback : public ISampleGrabberCB {
public:
    CGrabberCallback();
    CGrabberCallback(const CGrabberCallback&) = delete;
    CGrabberCallback& operator=(const CGrabberCallback&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // Not used: the grabber calls the buffer method.
    STDMETHODIMP SampleCB(double SampleTime, IMediaSample* pSample) override;
    // With a snapshot pending, writes the frame as a BMP file and clears the request; a frame
    // shorter than the format's image is not written (the request stays), and a failed write
    // keeps the file that was there (the request is dropped).
    STDMETHODIMP BufferCB(double SampleTime, BYTE* pBuffer, long BufferLen) override;

    // Copies the video format's 40-byte header.
    void SetVideoFormat(const BITMAPINFOHEADER* bih);
    // Asks for a snapshot to `path`: FALSE (nothing changes) while one is pending, for a NULL
    // path or one of MAX_PATH characters or more; else TRUE.
    BOOL RequestSnapshot(const char* path);

    BOOL IsSnapshotPending() const;
    BITMAPINFOHEADER GetVideoFormat() const;

private:
    virtual ~CGrabberCallback() = default;
    BOOL WriteBitmap(const char* path, const BYTE* image, DWORD imageSize, const BITMAPINFOHEADER& format);

    std::atomic<ULONG> m_nRefs{1};
    mutable std::mutex m_lock;
    BITMAPINFOHEADER m_bih;
    char m_szSnapshotPath[MAX_PATH];
    BOOL m_bSnapshotPending = FALSE;
};
