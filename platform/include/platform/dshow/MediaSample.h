// Media samples and the allocator they come from. A sample carries a buffer, its length, time
// stamps, the sync-point, discontinuity and preroll flags and, when the stream's type changes
// with it, the new media type. Its last Release gives it (and its buffer) back to its
// allocator, which the sample keeps alive meanwhile and which hands it out again, cleared: a
// stream takes no allocation per sample. A decommitted allocator lets the samples go.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/comobject.h"
#include "platform/comptr.h"
#include "platform/dshow/MediaType.h"
#include "strmif.h"

namespace platform::dshow {

class MemAllocator;

class PLATFORM_API MediaSample : public ComObject<IMediaSample> {
public:
    MediaSample(MemAllocator* allocator, std::vector<BYTE> buffer);

    // The last Release returns the sample to its allocator.
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetPointer(BYTE** ppBuffer) override;
    STDMETHODIMP_(long) GetSize() override;
    STDMETHODIMP GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    STDMETHODIMP SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    STDMETHODIMP IsSyncPoint() override;
    STDMETHODIMP SetSyncPoint(BOOL bIsSyncPoint) override;
    STDMETHODIMP IsPreroll() override;
    STDMETHODIMP SetPreroll(BOOL bIsPreroll) override;
    STDMETHODIMP_(long) GetActualDataLength() override;
    STDMETHODIMP SetActualDataLength(long length) override;
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** ppMediaType) override;
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* pMediaType) override;
    STDMETHODIMP IsDiscontinuity() override;
    STDMETHODIMP SetDiscontinuity(BOOL bDiscontinuity) override;
    STDMETHODIMP GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;
    STDMETHODIMP SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;

    // Whether the sample, while out, is one of `allocator`'s.
    bool From(IMemAllocator* allocator) const;
    // Samples alive in the process (leak checks).
    static long Alive();

protected:
    ~MediaSample() override;

private:
    friend class MemAllocator;
    void Clear();  // as a new sample: no length, stamps, flags or type

    std::atomic<ULONG> m_count{1};
    CComPtr<MemAllocator> m_allocator;  // while out
    std::vector<BYTE> m_buffer;
    long m_length = 0;
    bool m_hasStart = false, m_hasStop = false;
    REFERENCE_TIME m_start = 0, m_stop = 0;
    bool m_hasMediaTime = false;
    LONGLONG m_mediaStart = 0, m_mediaStop = 0;
    bool m_sync = false, m_discontinuity = false, m_preroll = false;
    std::unique_ptr<MediaType> m_type;
};

class PLATFORM_API MemAllocator : public ComObject<IMemAllocator> {
public:
    MemAllocator() = default;

    // VFW_E_ALREADY_COMMITTED while committed, VFW_E_BUFFERS_OUTSTANDING while a sample it gave
    // is still held.
    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* pProps) override;
    // Fails when a test injected "IMemAllocator::Commit".
    STDMETHODIMP Commit() override;
    STDMETHODIMP Decommit() override;
    // A sample of cbBuffer bytes whose data length is the whole buffer and whose flags and
    // time stamps are clear. At most cBuffers are out at once: with all out it waits until one
    // comes back or the allocator is decommitted (VFW_E_NOT_COMMITTED), or with AM_GBF_NOWAIT
    // fails with VFW_E_TIMEOUT. A filter that keeps a sample raises the count by one.
    STDMETHODIMP GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                           DWORD dwFlags) override;
    STDMETHODIMP ReleaseBuffer(IMediaSample* pBuffer) override;

protected:
    ~MemAllocator() override;

private:
    friend class MediaSample;
    // A sample's last reference went: kept for the next GetBuffer, or destroyed.
    void Return(MediaSample* sample);
    void DropFree();  // under m_lock

    std::mutex m_lock;
    std::condition_variable m_returned;  // a sample came back, or decommitted
    ALLOCATOR_PROPERTIES m_props{0, 0, 1, 0};
    bool m_committed = false;
    long m_outstanding = 0;  // samples given and not yet back
    std::vector<MediaSample*> m_free;  // back, with buffers of the properties' size
};

}  // namespace platform::dshow
