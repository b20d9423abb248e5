// Media samples and their allocator.
#include "platform/dshow/MediaSample.h"

#include "Inject.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {
std::atomic<long> g_samplesAlive{0};
}

MediaSample::MediaSample(MemAllocator* allocator, std::vector<BYTE> buffer)
    : m_allocator(allocator), m_buffer(std::move(buffer)), m_length(long(m_buffer.size())) {
    ++g_samplesAlive;
}

MediaSample::~MediaSample() { --g_samplesAlive; }

STDMETHODIMP_(ULONG) MediaSample::AddRef() { return m_count.fetch_add(1, std::memory_order_relaxed) + 1; }

// The allocator may go with the reference the sample held: nothing of the sample is touched
// after it.
STDMETHODIMP_(ULONG) MediaSample::Release() {
    const ULONG left = m_count.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
        CComPtr<MemAllocator> allocator = std::move(m_allocator);
        allocator->Return(this);
    }
    return left;
}

void MediaSample::Clear() {
    m_length = long(m_buffer.size());
    m_hasStart = m_hasStop = m_hasMediaTime = false;
    m_sync = m_discontinuity = m_preroll = false;
    m_type.reset();
}

bool MediaSample::From(IMemAllocator* allocator) const {
    return allocator && static_cast<IMemAllocator*>(m_allocator.p) == allocator;
}

long MediaSample::Alive() { return g_samplesAlive.load(); }

STDMETHODIMP MediaSample::GetPointer(BYTE** ppBuffer) {
    if (!ppBuffer) return E_POINTER;
    *ppBuffer = m_buffer.data();
    return S_OK;
}

STDMETHODIMP_(long) MediaSample::GetSize() { return long(m_buffer.size()); }

STDMETHODIMP MediaSample::GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
    if (!pTimeStart || !pTimeEnd) return E_POINTER;
    if (!m_hasStart) return VFW_E_SAMPLE_TIME_NOT_SET;
    *pTimeStart = m_start;
    *pTimeEnd = m_hasStop ? m_stop : m_start + 1;
    return m_hasStop ? S_OK : VFW_S_NO_STOP_TIME;
}

STDMETHODIMP MediaSample::SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
    m_hasStart = pTimeStart != nullptr;
    m_hasStop = pTimeStart && pTimeEnd;
    if (pTimeStart) m_start = *pTimeStart;
    if (m_hasStop) m_stop = *pTimeEnd;
    return S_OK;
}

STDMETHODIMP MediaSample::IsSyncPoint() { return m_sync ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetSyncPoint(BOOL bIsSyncPoint) {
    m_sync = bIsSyncPoint;
    return S_OK;
}
STDMETHODIMP MediaSample::IsPreroll() { return m_preroll ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetPreroll(BOOL bIsPreroll) {
    m_preroll = bIsPreroll;
    return S_OK;
}
STDMETHODIMP_(long) MediaSample::GetActualDataLength() { return m_length; }
STDMETHODIMP MediaSample::SetActualDataLength(long length) {
    if (length < 0 || size_t(length) > m_buffer.size()) return VFW_E_BUFFER_OVERFLOW;
    m_length = length;
    return S_OK;
}

STDMETHODIMP MediaSample::GetMediaType(AM_MEDIA_TYPE** ppMediaType) {
    if (!ppMediaType) return E_POINTER;
    *ppMediaType = m_type ? CreateMediaType(&m_type->Get()) : nullptr;
    if (!m_type) return S_FALSE;
    return *ppMediaType ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP MediaSample::SetMediaType(AM_MEDIA_TYPE* pMediaType) {
    if (pMediaType)
        m_type = std::make_unique<MediaType>(*pMediaType);
    else
        m_type.reset();
    return S_OK;
}

STDMETHODIMP MediaSample::IsDiscontinuity() { return m_discontinuity ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetDiscontinuity(BOOL bDiscontinuity) {
    m_discontinuity = bDiscontinuity;
    return S_OK;
}

STDMETHODIMP MediaSample::GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) {
    if (!pTimeStart || !pTimeEnd) return E_POINTER;
    if (!m_hasMediaTime) return VFW_E_MEDIA_TIME_NOT_SET;
    *pTimeStart = m_mediaStart;
    *pTimeEnd = m_mediaStop;
    return S_OK;
}

STDMETHODIMP MediaSample::SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) {
    m_hasMediaTime = pTimeStart && pTimeEnd;
    if (m_hasMediaTime) {
        m_mediaStart = *pTimeStart;
        m_mediaStop = *pTimeEnd;
    }
    return S_OK;
}

// ---- the allocator ----

STDMETHODIMP MemAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) {
    if (!pRequest || !pActual) return E_POINTER;
    if (pRequest->cBuffers <= 0 || pRequest->cbBuffer <= 0 || pRequest->cbPrefix < 0) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_committed) return VFW_E_ALREADY_COMMITTED;
    if (m_outstanding) return VFW_E_BUFFERS_OUTSTANDING;
    m_props = *pRequest;
    if (m_props.cbAlign <= 0) m_props.cbAlign = 1;
    DropFree();
    *pActual = m_props;
    return S_OK;
}

STDMETHODIMP MemAllocator::GetProperties(ALLOCATOR_PROPERTIES* pProps) {
    if (!pProps) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pProps = m_props;
    return S_OK;
}

STDMETHODIMP MemAllocator::Commit() {
    HRESULT hr;
    if (Injected("IMemAllocator::Commit", E_OUTOFMEMORY, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_props.cbBuffer <= 0) return VFW_E_SIZENOTSET;
    m_committed = true;
    return S_OK;
}

STDMETHODIMP MemAllocator::Decommit() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_committed = false;
        DropFree();
    }
    m_returned.notify_all();
    return S_OK;
}

MemAllocator::~MemAllocator() { DropFree(); }

void MemAllocator::DropFree() {
    for (MediaSample* sample : m_free) delete sample;
    m_free.clear();
}

STDMETHODIMP MemAllocator::GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME*, REFERENCE_TIME*, DWORD dwFlags) {
    if (!ppBuffer) return E_POINTER;
    *ppBuffer = nullptr;
    MediaSample* sample = nullptr;
    size_t size;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        while (m_committed && m_outstanding >= m_props.cBuffers) {
            if (dwFlags & AM_GBF_NOWAIT) return VFW_E_TIMEOUT;
            m_returned.wait(lock);
        }
        if (!m_committed) return VFW_E_NOT_COMMITTED;
        ++m_outstanding;
        size = size_t(m_props.cbBuffer);
        if (!m_free.empty()) {
            sample = m_free.back();
            m_free.pop_back();
        }
    }
    if (sample) {
        sample->m_allocator = this;
        sample->m_count.store(1, std::memory_order_relaxed);
    } else {
        sample = new MediaSample(this, std::vector<BYTE>(size));
    }
    *ppBuffer = sample;
    return S_OK;
}

STDMETHODIMP MemAllocator::ReleaseBuffer(IMediaSample*) { return S_OK; }

void MemAllocator::Return(MediaSample* sample) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        --m_outstanding;
        if (m_committed && sample->m_buffer.size() == size_t(m_props.cbBuffer) &&
            m_free.size() < size_t(m_props.cBuffers)) {
            sample->Clear();
            m_free.push_back(sample);
            sample = nullptr;
        }
    }
    m_returned.notify_all();
    delete sample;
}

}  // namespace platform::dshow
