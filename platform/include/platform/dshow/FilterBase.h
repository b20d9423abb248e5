// The filter base of the stand-in's filters (system filters and the simulated drivers'
// filters): class id, name and graph, run state, the pin list with pins added and removed as
// connections come and go, IKsPropertySet dispatch, and for driver filters a kernel handle
// (IKsObject) whose IOCTL_KS_PROPERTY requests reach the same property handlers.
//
// The filter owns its pins: a pin's AddRef and Release go to the filter, so a held pin keeps
// its filter alive, and every pin made for the filter is destroyed with it (a pin taken off the
// list stays valid, without a filter, until then). State changes run one at a time under the
// filter lock, with a hook before (which may refuse) and one after. Leaving Stop commits the
// allocators of the connected outputs (a refused commit refuses the change); Stop decommits them.
//
// Samples and stream events that reach the input pins come to the data hooks (OnReceive,
// OnEndOfStream, the flushes, OnNewSegment) on the thread that delivers them; stream events go
// on through every connected output unless a filter says otherwise. Run's start time and the
// clock SetSyncSource gave make the stream time.
//
//   class SimCapture : public platform::dshow::FilterBase {
//   public:
//       SimCapture() : FilterBase(CLSID_SimCapture) {
//           AddPin({PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {VideoInfoType(...)}});
//           Properties().AddSet(PROPSETID_Private, handler, support);
//           EnableKernelHandle();
//       }
//   };
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "ksproxy.h"
#include "platform/dshow/CriticalSection.h"
#include "platform/dshow/PinBase.h"
#include "platform/devicetree.h"

namespace platform::dshow {

class PLATFORM_API FilterBase : public ComObject<IBaseFilter, IKsPropertySet, IKsObject> {
public:
    explicit FilterBase(REFCLSID clsid);

    // IUnknown: IKsPropertySet only once the filter has properties, IKsObject only with a
    // kernel handle.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;

    // IPersist, IMediaFilter
    STDMETHODIMP GetClassID(CLSID* pClassID) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    STDMETHODIMP GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
    STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* pInfo) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* pVendorInfo) override;
    // IKsPropertySet over Properties()
    STDMETHODIMP Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData) override;
    STDMETHODIMP Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                     LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) override;
    STDMETHODIMP QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) override;
    // IKsObject
    STDMETHODIMP_(HANDLE) KsGetObjectHandle() override;

    // ---- for derived filters, the graph and tests ----
    // Adds a pin (of the base class) at the end of the list.
    PinBase* AddPin(PinDescription description);
    // Lists a pin made for this filter by a derived class.
    PinBase* AddPin(PinBase* pin);
    // Takes a pin off the list (it must be disconnected); false when it is not there or connected.
    // The pin is destroyed with the filter.
    bool RemovePin(PinBase* pin);
    std::vector<CComPtr<PinBase>> Pins() const;
    PinBase* FindPinByName(const std::wstring& name) const;
    size_t CountPins(PIN_DIRECTION direction, bool unconnectedOnly) const;

    FILTER_STATE State() const;
    std::wstring Name() const;
    // The graph the filter joined (not AddRef'd), or null.
    IFilterGraph* Graph() const;
    // Reports an event to the graph's event sink (IMediaEventSink); E_UNEXPECTED outside a graph
    // (and once a graph being destroyed has let the filter go).
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

    KsPropertyTable& Properties() { return *m_properties; }

    // The graph's clock (null when none was given), the start time Run gave, and the stream
    // time now (the clock's time less the start; 0 without a clock or before Run).
    CComPtr<IReferenceClock> Clock() const;
    REFERENCE_TIME StartTime() const;
    REFERENCE_TIME StreamTime() const;
    // Ends what the filter's own threads deliver (a source's streaming threads, joined), so
    // that every sample produced has gone through the synchronous chain. The graph calls it on
    // every filter before any filter pauses or stops; the filter stays in its state.
    virtual void EndStreaming() {}

    // Gives the filter a kernel handle (a driver's filter): KsGetObjectHandle answers it and
    // KsSynchronousDeviceControl on it reaches Properties(). Closed with the filter.
    void EnableKernelHandle();

    // The device of the device tree this filter was bound from (0 when none).
    DeviceId Device() const;
    void SetDevice(DeviceId device);

protected:
    ~FilterBase() override;
    // A pin of this filter was connected (either direction) or disconnected: filters with
    // dynamic pins add or remove pins here.
    virtual void OnPinConnected(PinBase* pin) {}
    virtual void OnPinDisconnected(PinBase* pin) {}
    // The run state is about to change (under the filter lock); a failure refuses the change.
    virtual HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) { return S_OK; }
    // The run state changed (under the filter lock).
    virtual void OnStateChanged(FILTER_STATE from, FILTER_STATE to) {}

    // The data hooks of the input pins. OnReceive's result is Receive's: S_OK when the sample
    // was taken (the default drops it), S_FALSE to take no more, a failure to end the stream.
    virtual HRESULT OnReceive(PinBase* pin, IMediaSample* sample) { return S_OK; }
    // The defaults pass the event on through every connected output pin.
    virtual HRESULT OnEndOfStream(PinBase* pin);
    virtual void OnBeginFlush(PinBase* pin);
    virtual void OnEndFlush(PinBase* pin);
    virtual void OnNewSegment(PinBase* pin, REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
    // Held while the state changes (recursive): what must not run in the middle of one.
    CriticalSection& StateLock() { return m_filterLock; }
    // The connected output pins, in order.
    std::vector<CComPtr<PinBase>> ConnectedOutputs() const;

private:
    friend class PinBase;
    HRESULT ChangeState(FILTER_STATE to, const char* call);
    void Adopt(PinBase* pin);  // a pin made for this filter

    const CLSID m_clsid;
    CriticalSection m_filterLock;  // one state change at a time
    mutable std::mutex m_lock;
    std::vector<PinBase*> m_pins;   // listed, in order
    std::vector<PinBase*> m_owned;  // every pin made for the filter, destroyed with it
    std::mutex m_sinkLock;          // held while an event is reported and while the sink changes
    IMediaEventSink* m_sink = nullptr;  // the graph's (not AddRef'd)
    FILTER_STATE m_state = State_Stopped;
    std::wstring m_name;
    IFilterGraph* m_graph = nullptr;
    CComPtr<IReferenceClock> m_clock;
    REFERENCE_TIME m_start = 0;
    std::shared_ptr<KsPropertyTable> m_properties;
    HANDLE m_kernelHandle = nullptr;
    DeviceId m_device = 0;
};

}  // namespace platform::dshow
