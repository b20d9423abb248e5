// The pin base of the stand-in's filters (system filters and the simulated drivers' filters):
// direction, name, id, pin category, preferred media types and connection state, with
// negotiation through Connect, ReceiveConnection and QueryAccept, and the data path.
//
// Input pins answer IMemInputPin: samples, end of stream, flushes and new segments reach the
// filter's hooks (FilterBase::OnReceive and the rest). An output pin agrees on an allocator
// with its peer when it connects (the peer's GetAllocator, the pin's DecideBufferSize, the
// peer's NotifyAllocator) and drops it at Disconnect; its filter commits it while not stopped,
// and Deliver hands samples to the peer on the caller's thread.
//
// A pin belongs to its filter: its AddRef and Release go to the filter, so whoever holds a pin
// keeps the filter alive, and the filter destroys the pin. A connected pin holds its peer (and
// so the peer's filter) until it is disconnected.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/comobject.h"
#include "platform/comptr.h"
#include "platform/dshow/KsProperties.h"
#include "platform/dshow/MediaSample.h"
#include "platform/dshow/MediaType.h"

namespace platform::dshow {

class FilterBase;

struct PinDescription {
    PIN_DIRECTION direction = PINDIR_INPUT;
    std::wstring name;
    std::wstring id;                    // empty: the name
    GUID category = GUID_NULL;          // AMPROPERTY_PIN_CATEGORY; GUID_NULL: none
    std::vector<MediaType> mediaTypes;  // offered in this order; accepted with wildcards
};

class PLATFORM_API PinBase : public ComObject<IPin, IKsPropertySet, IMemInputPin> {
public:
    // `filter` must not be null. The new pin holds one reference (to its filter) for its maker,
    // as a new COM object does; the filter destroys the pin.
    PinBase(FilterBase* filter, PinDescription description);

    // IUnknown: IKsPropertySet only when the pin has a category or properties, IMemInputPin only
    // on an input pin; the reference count is the filter's.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pPin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* pInfo) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* pPinDir) override;
    STDMETHODIMP QueryId(LPWSTR* Id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    STDMETHODIMP QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

    // IMemInputPin (input pins). Receive fails with VFW_E_WRONG_STATE while the filter is
    // stopped, answers S_FALSE after end of stream or while flushing, refuses a sample whose
    // new media type the pin does not take (VFW_E_TYPE_NOT_ACCEPTED), and fails when a test
    // injected "IMemInputPin::Receive:<pin name>".
    STDMETHODIMP GetAllocator(IMemAllocator** ppAllocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    // IKsPropertySet: AMPROPSETID_Pin / AMPROPERTY_PIN_CATEGORY, then Properties().
    STDMETHODIMP Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData) override;
    STDMETHODIMP Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) override;
    STDMETHODIMP QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) override;

    // ---- for the owning filter, the drivers and tests ----
    // The filter, or null once the filter took the pin off its list.
    FilterBase* Filter() const;
    PIN_DIRECTION Direction() const { return m_direction; }
    const std::wstring& Name() const { return m_name; }
    const std::wstring& Id() const { return m_id; }
    const GUID& Category() const { return m_category; }
    std::vector<MediaType> MediaTypes() const;
    void SetMediaTypes(std::vector<MediaType> types);
    bool IsConnected() const;
    CComPtr<IPin> Peer() const;
    MediaType ConnectionType() const;
    KsPropertyTable& Properties() { return *m_properties; }

    // ---- output pins: the data path ----
    // A sample from the connection's allocator (VFW_E_NOT_CONNECTED, VFW_E_NOT_COMMITTED).
    HRESULT GetDeliveryBuffer(IMediaSample** sample);
    // Hands the sample to the peer's Receive; VFW_E_NOT_CONNECTED when there is none.
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
    CComPtr<IMemAllocator> Allocator() const;
    // The connection's type becomes `type`, which the next sample delivered carries (its
    // SetMediaType), when the peer takes it (QueryAccept); VFW_E_TYPE_NOT_ACCEPTED otherwise.
    HRESULT ChangeConnectionType(const MediaType& type);

protected:
    ~PinBase() override = default;
    // S_OK when the pin takes `mt`: one of its media types accepts it (a pin without media
    // types takes anything). Filters override it for types that follow another pin.
    virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) const;
    // After this end was connected (the type is set) and after it was disconnected.
    virtual void OnConnected() {}
    virtual void OnDisconnected() {}
    // Output pins: the buffers to ask of the connection's allocator (`request` holds the input
    // pin's requirements). The default: one buffer of the picture (VIDEOINFOHEADER), else of
    // the type's sample size, at least 64 KiB.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request);

private:
    friend class FilterBase;
    void Detach();  // the filter took the pin off its list or goes away: no filter, no peer
    bool FilterStopped() const;
    HRESULT Complete(IPin* peer, const AM_MEDIA_TYPE& mt);
    HRESULT NegotiateAllocator(IPin* receiver);
    // The filter leaves Stop (commit the output's allocator, open the input's stream) or stops.
    HRESULT StartStreaming();
    void StopStreaming();

    mutable std::mutex m_lock;
    FilterBase& m_owner;   // the reference count's and the pin's owner
    FilterBase* m_filter;  // the owner while the pin is listed
    const PIN_DIRECTION m_direction;
    const std::wstring m_name;
    const std::wstring m_id;
    const GUID m_category;
    std::vector<MediaType> m_mediaTypes;
    CComPtr<IPin> m_peer;
    MediaType m_connectionType;
    std::shared_ptr<KsPropertyTable> m_properties;
    CComPtr<IMemAllocator> m_allocator;  // the connection's (either end)
    CComPtr<IMemInputPin> m_peerInput;    // output pins: the peer's
    bool m_endOfStream = false;           // input pins: until the filter next leaves Stop
    bool m_flushing = false;
};

}  // namespace platform::dshow
