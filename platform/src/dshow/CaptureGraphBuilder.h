// The capture graph builder.
#pragma once

#include <vector>

#include "platform/comobject.h"
#include "platform/comptr.h"
#include "platform/devicetree.h"
#include "strmif.h"

namespace platform::dshow {

class CaptureGraphBuilder : public ComObject<ICaptureGraphBuilder2> {
public:
    STDMETHODIMP SetFiltergraph(IGraphBuilder* pfg) override;
    STDMETHODIMP GetFiltergraph(IGraphBuilder** ppfg) override;
    STDMETHODIMP SetOutputFileName(const GUID* pType, LPCOLESTR lpstrFile, IBaseFilter** ppf,
                                   IFileSinkFilter** ppSink) override;
    STDMETHODIMP FindInterface(const GUID* pCategory, const GUID* pType, IBaseFilter* pf, REFIID riid,
                               void** ppint) override;
    STDMETHODIMP RenderStream(const GUID* pCategory, const GUID* pType, IUnknown* pSource, IBaseFilter* pfCompressor,
                              IBaseFilter* pfRenderer) override;
    STDMETHODIMP ControlStream(const GUID* pCategory, const GUID* pType, IBaseFilter* pFilter, REFERENCE_TIME* pstart,
                               REFERENCE_TIME* pstop, WORD wStartCookie, WORD wStopCookie) override;
    STDMETHODIMP AllocCapFile(LPCOLESTR lpstr, DWORDLONG dwlSize) override;
    STDMETHODIMP CopyCaptureFile(LPOLESTR lpwstrOld, LPOLESTR lpwstrNew, int fAllowEscAbort,
                                 IAMCopyCaptureFileProgress* pCallback) override;
    STDMETHODIMP FindPin(IUnknown* pSource, PIN_DIRECTION pindir, const GUID* pCategory, const GUID* pType,
                         BOOL fUnconnected, int num, IPin** ppPin) override;

private:
    // The graph's filter that was bound from `device`, or null.
    CComPtr<IBaseFilter> DeviceFilterInGraph(DeviceId device);
    // That filter, or the device's filter bound and added to the graph; null when it cannot be.
    CComPtr<IBaseFilter> DeviceFilterBroughtIn(DeviceId device);
    // Adds the declared upstream devices of a device filter to the graph (reusing those already
    // there), connects them to its free input pins, and so on up the chain.
    void BringInUpstream(IBaseFilter* filter, int depth = 0);
    // Adds the devices a device filter feeds (those whose upstream links name its device) to the
    // graph, reusing those already there, and connects its free output pins to them.
    void BringInDownstream(IBaseFilter* filter);
    bool SearchUpstream(IBaseFilter* filter, const GUID* type, REFIID riid, void** ppv, std::vector<IBaseFilter*>& seen);
    bool SearchDownstream(IPin* out, const GUID* type, REFIID riid, void** ppv, std::vector<IBaseFilter*>& seen);

    CComPtr<IGraphBuilder> m_graph;
};

}  // namespace platform::dshow
