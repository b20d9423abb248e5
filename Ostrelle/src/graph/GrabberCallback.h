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
#include <vector>

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
    // keeps the file that was there (the request is dropped). A format whose colour table or
    // bit masks the format block did not give is refused: the frame is not written, a trace
    // says why, and the request is dropped.
    STDMETHODIMP BufferCB(double SampleTime, BYTE* pBuffer, long BufferLen) override;

    // Copies the video format: its header and, from the `size` bytes of the format block that
    // start at the header (a VIDEOINFOHEADER's bmiHeader, then bmiColors or dwBitMasks), the
    // colour table (biClrUsed entries, else 2^biBitCount up to 8 bits) or the BI_BITFIELDS
    // masks that the frames are written with. A block shorter than the header changes nothing.
    void SetVideoFormat(const BITMAPINFOHEADER* bih, DWORD size = sizeof(BITMAPINFOHEADER));
    // Asks for a snapshot to `path`: FALSE (nothing changes) while one is pending, for a NULL
    // path or one of MAX_PATH characters or more; else TRUE.
    BOOL RequestSnapshot(const char* path);

    BOOL IsSnapshotPending() const;
    BITMAPINFOHEADER GetVideoFormat() const;

private:
    virtual ~CGrabberCallback() = default;
    BOOL WriteBitmap(const char* path, const BYTE* image, DWORD imageSize, std::vector<BYTE> info);

    std::atomic<ULONG> m_nRefs{1};
    mutable std::mutex m_lock;
    BITMAPINFOHEADER m_bih;
    std::vector<BYTE> m_info;  // the header with its table or masks; empty: frames cannot be written
    char m_szSnapshotPath[MAX_PATH];
    BOOL m_bSnapshotPending = FALSE;
};
