// DirectShow's stream interfaces: media types, pins, filters, the filter graph, the capture
// graph builder, the device enumerator, and the interfaces of capture, crossbar, tuner,
// decoder, encoder, multiplexer and writer filters. Methods stand in their slot order.
#pragma once

#include "objbase.h"
#include "platform/analogvideo.h"
#include "platform/dshowguid.h"

typedef ULONGLONG DWORDLONG;
typedef LONGLONG REFERENCE_TIME;
typedef REFERENCE_TIME* LPREFERENCE_TIME;
typedef double REFTIME;
typedef LONG_PTR OAEVENT;
typedef LONG_PTR OAHWND;
typedef long OAFilterState;
typedef DWORD_PTR HSEMAPHORE;
typedef DWORD_PTR HEVENT;

#define MAX_PIN_NAME 128
#define MAX_FILTER_NAME 128

// ---- media types ----
// A media type: major type, subtype, sample properties and a format block (pbFormat, cbFormat
// bytes, of the kind formattype names) allocated with CoTaskMemAlloc.
typedef struct _AMMediaType {
    GUID majortype;
    GUID subtype;
    BOOL bFixedSizeSamples;
    BOOL bTemporalCompression;
    ULONG lSampleSize;
    GUID formattype;
    IUnknown* pUnk;
    ULONG cbFormat;
    BYTE* pbFormat;
} AM_MEDIA_TYPE;

typedef enum _PinDirection { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 } PIN_DIRECTION;
typedef enum _FilterState { State_Stopped = 0, State_Paused = 1, State_Running = 2 } FILTER_STATE;

struct IBaseFilter;
struct IFilterGraph;
struct IPin;
struct IFileSinkFilter;

typedef struct _PinInfo {
    IBaseFilter* pFilter;  // AddRef'd; the receiver releases it
    PIN_DIRECTION dir;
    WCHAR achName[MAX_PIN_NAME];
} PIN_INFO;

typedef struct _FilterInfo {
    WCHAR achName[MAX_FILTER_NAME];
    IFilterGraph* pGraph;  // AddRef'd (NULL outside a graph); the receiver releases it
} FILTER_INFO;

typedef struct _AllocatorProperties {
    long cBuffers;
    long cbBuffer;
    long cbAlign;
    long cbPrefix;
} ALLOCATOR_PROPERTIES;

#define AM_GBF_NOWAIT 4  // IMemAllocator::GetBuffer fails rather than waits

DEFINE_DSHOW_GUID(IID_IPin, 0x0101);
DEFINE_DSHOW_GUID(IID_IEnumPins, 0x0102);
DEFINE_DSHOW_GUID(IID_IEnumMediaTypes, 0x0103);
DEFINE_DSHOW_GUID(IID_IMediaFilter, 0x0104);
DEFINE_DSHOW_GUID(IID_IBaseFilter, 0x0105);
DEFINE_DSHOW_GUID(IID_IReferenceClock, 0x0106);
DEFINE_DSHOW_GUID(IID_IEnumFilters, 0x0107);
DEFINE_DSHOW_GUID(IID_IFilterGraph, 0x0108);
DEFINE_DSHOW_GUID(IID_IGraphBuilder, 0x0109);
DEFINE_DSHOW_GUID(IID_IFilterGraph2, 0x010A);
DEFINE_DSHOW_GUID(IID_ICaptureGraphBuilder2, 0x010B);
DEFINE_DSHOW_GUID(IID_ICreateDevEnum, 0x010C);
DEFINE_DSHOW_GUID(IID_IMediaSeeking, 0x010D);
DEFINE_DSHOW_GUID(IID_IAMGraphStreams, 0x010E);
DEFINE_DSHOW_GUID(IID_IMediaEventSink, 0x010F);
DEFINE_DSHOW_GUID(IID_IMediaSample, 0x0110);
DEFINE_DSHOW_GUID(IID_IAMCopyCaptureFileProgress, 0x0111);
DEFINE_DSHOW_GUID(IID_IAMCrossbar, 0x0112);
DEFINE_DSHOW_GUID(IID_IAMTuner, 0x0113);
DEFINE_DSHOW_GUID(IID_IAMTunerNotification, 0x0114);
DEFINE_DSHOW_GUID(IID_IAMTVTuner, 0x0115);
DEFINE_DSHOW_GUID(IID_IAMTVAudio, 0x0116);
DEFINE_DSHOW_GUID(IID_IAMTVAudioNotification, 0x0117);
DEFINE_DSHOW_GUID(IID_IAMAnalogVideoDecoder, 0x0118);
DEFINE_DSHOW_GUID(IID_IAMVideoProcAmp, 0x0119);
DEFINE_DSHOW_GUID(IID_IAMStreamConfig, 0x011A);
DEFINE_DSHOW_GUID(IID_IAMAudioInputMixer, 0x011B);
DEFINE_DSHOW_GUID(IID_IKsPropertySet, 0x011C);
DEFINE_DSHOW_GUID(IID_IAMExtDevice, 0x011D);
DEFINE_DSHOW_GUID(IID_IAMExtTransport, 0x011E);
DEFINE_DSHOW_GUID(IID_IAMTimecodeReader, 0x011F);
DEFINE_DSHOW_GUID(IID_IMemAllocator, 0x0120);
DEFINE_DSHOW_GUID(IID_IMemInputPin, 0x0121);
DEFINE_GUID(IID_IFileSinkFilter, 0xA2104830, 0x7C70, 0x11CF, 0x8B, 0xCE, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6);
DEFINE_GUID(IID_IFileSinkFilter2, 0x00855B90, 0xCE1B, 0x11D0, 0xBD, 0x4F, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86);
DEFINE_GUID(IID_IConfigAviMux, 0x5ACD6AA0, 0xF482, 0x11CE, 0x8B, 0x67, 0x00, 0xAA, 0x00, 0xA3, 0xF1, 0xA6);
DEFINE_GUID(IID_IConfigInterleaving, 0xBEE3D220, 0x157B, 0x11D0, 0xBD, 0x23, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86);
DEFINE_GUID(IID_IAMVfwCompressDialogs, 0xD8D715A3, 0x6E5E, 0x11D0, 0xB3, 0xF0, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5);

// ---- enumerators ----
struct IEnumPins : public IUnknown {
    // S_OK when all `cPins` were fetched (each AddRef'd), S_FALSE when fewer.
    STDMETHOD(Next)(ULONG cPins, IPin** ppPins, ULONG* pcFetched) PURE;
    STDMETHOD(Skip)(ULONG cPins) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumPins** ppEnum) PURE;
};

struct IEnumMediaTypes : public IUnknown {
    // Each type is CoTaskMemAlloc'ed with its format block; free with DeleteMediaType.
    STDMETHOD(Next)(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) PURE;
    STDMETHOD(Skip)(ULONG cMediaTypes) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumMediaTypes** ppEnum) PURE;
};

struct IEnumFilters : public IUnknown {
    STDMETHOD(Next)(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) PURE;
    STDMETHOD(Skip)(ULONG cFilters) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumFilters** ppEnum) PURE;
};

// ---- pins and filters ----
struct IPin : public IUnknown {
    // Output pin: connects to `pReceivePin`, with `pmt` (may be partial or NULL) as the type.
    STDMETHOD(Connect)(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) PURE;
    // Input pin: accepts a connection from `pConnector` with the type `pmt`.
    STDMETHOD(ReceiveConnection)(IPin* pConnector, const AM_MEDIA_TYPE* pmt) PURE;
    // Breaks this end of the connection only; S_FALSE when not connected.
    STDMETHOD(Disconnect)() PURE;
    STDMETHOD(ConnectedTo)(IPin** pPin) PURE;
    STDMETHOD(ConnectionMediaType)(AM_MEDIA_TYPE* pmt) PURE;
    STDMETHOD(QueryPinInfo)(PIN_INFO* pInfo) PURE;
    STDMETHOD(QueryDirection)(PIN_DIRECTION* pPinDir) PURE;
    // The pin's identifier, CoTaskMemAlloc'ed.
    STDMETHOD(QueryId)(LPWSTR* Id) PURE;
    // S_OK when the pin accepts `pmt`, S_FALSE when not.
    STDMETHOD(QueryAccept)(const AM_MEDIA_TYPE* pmt) PURE;
    STDMETHOD(EnumMediaTypes)(IEnumMediaTypes** ppEnum) PURE;
    STDMETHOD(QueryInternalConnections)(IPin** apPin, ULONG* nPin) PURE;
    STDMETHOD(EndOfStream)() PURE;
    STDMETHOD(BeginFlush)() PURE;
    STDMETHOD(EndFlush)() PURE;
    STDMETHOD(NewSegment)(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) PURE;
};

struct IReferenceClock : public IUnknown {
    STDMETHOD(GetTime)(REFERENCE_TIME* pTime) PURE;
    STDMETHOD(AdviseTime)(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                          DWORD_PTR* pdwAdviseCookie) PURE;
    STDMETHOD(AdvisePeriodic)(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                              DWORD_PTR* pdwAdviseCookie) PURE;
    STDMETHOD(Unadvise)(DWORD_PTR dwAdviseCookie) PURE;
};

struct IMediaFilter : public IPersist {
    STDMETHOD(Stop)() PURE;
    STDMETHOD(Pause)() PURE;
    STDMETHOD(Run)(REFERENCE_TIME tStart) PURE;
    STDMETHOD(GetState)(DWORD dwMilliSecsTimeout, FILTER_STATE* State) PURE;
    STDMETHOD(SetSyncSource)(IReferenceClock* pClock) PURE;
    STDMETHOD(GetSyncSource)(IReferenceClock** pClock) PURE;
};

struct IBaseFilter : public IMediaFilter {
    STDMETHOD(EnumPins)(IEnumPins** ppEnum) PURE;
    STDMETHOD(FindPin)(LPCWSTR Id, IPin** ppPin) PURE;
    STDMETHOD(QueryFilterInfo)(FILTER_INFO* pInfo) PURE;
    // The graph tells the filter it joined (pGraph, pName) or left (NULL, NULL).
    STDMETHOD(JoinFilterGraph)(IFilterGraph* pGraph, LPCWSTR pName) PURE;
    STDMETHOD(QueryVendorInfo)(LPWSTR* pVendorInfo) PURE;
};

// A sample of media data, from an allocator (IMemAllocator), passed with IMemInputPin::Receive.
struct IMediaSample : public IUnknown {
    STDMETHOD(GetPointer)(BYTE** ppBuffer) PURE;
    STDMETHOD_(long, GetSize)() PURE;
    STDMETHOD(GetTime)(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) PURE;
    STDMETHOD(SetTime)(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) PURE;
    STDMETHOD(IsSyncPoint)() PURE;
    STDMETHOD(SetSyncPoint)(BOOL bIsSyncPoint) PURE;
    STDMETHOD(IsPreroll)() PURE;
    STDMETHOD(SetPreroll)(BOOL bIsPreroll) PURE;
    STDMETHOD_(long, GetActualDataLength)() PURE;
    STDMETHOD(SetActualDataLength)(long length) PURE;
    STDMETHOD(GetMediaType)(AM_MEDIA_TYPE** ppMediaType) PURE;
    STDMETHOD(SetMediaType)(AM_MEDIA_TYPE* pMediaType) PURE;
    STDMETHOD(IsDiscontinuity)() PURE;
    STDMETHOD(SetDiscontinuity)(BOOL bDiscontinuity) PURE;
    STDMETHOD(GetMediaTime)(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) PURE;
    STDMETHOD(SetMediaTime)(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) PURE;
};

// The buffers a connection's samples come from: properties agreed at connection, committed
// while the filters run, each sample going back to the allocator on its last Release.
struct IMemAllocator : public IUnknown {
    STDMETHOD(SetProperties)(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) PURE;
    STDMETHOD(GetProperties)(ALLOCATOR_PROPERTIES* pProps) PURE;
    STDMETHOD(Commit)() PURE;
    STDMETHOD(Decommit)() PURE;
    // VFW_E_NOT_COMMITTED unless committed; the sample is AddRef'd. With every sample out it
    // waits for one to come back, or with AM_GBF_NOWAIT fails with VFW_E_TIMEOUT.
    STDMETHOD(GetBuffer)(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                         DWORD dwFlags) PURE;
    STDMETHOD(ReleaseBuffer)(IMediaSample* pBuffer) PURE;
};

// What an input pin offers its upstream output: the allocator to use and the samples.
struct IMemInputPin : public IUnknown {
    STDMETHOD(GetAllocator)(IMemAllocator** ppAllocator) PURE;
    STDMETHOD(NotifyAllocator)(IMemAllocator* pAllocator, BOOL bReadOnly) PURE;
    STDMETHOD(GetAllocatorRequirements)(ALLOCATOR_PROPERTIES* pProps) PURE;
    // S_OK: delivered; S_FALSE: the pin takes no more samples now (end of stream, flushing).
    STDMETHOD(Receive)(IMediaSample* pSample) PURE;
    STDMETHOD(ReceiveMultiple)(IMediaSample** pSamples, long nSamples, long* nSamplesProcessed) PURE;
    STDMETHOD(ReceiveCanBlock)() PURE;
};

// ---- the filter graph ----
struct IFilterGraph : public IUnknown {
    // S_OK, or VFW_S_DUPLICATE_NAME when the name was taken and the filter got another.
    STDMETHOD(AddFilter)(IBaseFilter* pFilter, LPCWSTR pName) PURE;
    STDMETHOD(RemoveFilter)(IBaseFilter* pFilter) PURE;
    STDMETHOD(EnumFilters)(IEnumFilters** ppEnum) PURE;
    STDMETHOD(FindFilterByName)(LPCWSTR pName, IBaseFilter** ppFilter) PURE;
    STDMETHOD(ConnectDirect)(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) PURE;
    STDMETHOD(Reconnect)(IPin* ppin) PURE;
    // Disconnects one pin (not its peer); refused while the graph runs or is paused.
    STDMETHOD(Disconnect)(IPin* ppin) PURE;
    STDMETHOD(SetDefaultSyncSource)() PURE;
};

struct IGraphBuilder : public IFilterGraph {
    // Connects directly, else through one registered intermediate filter.
    STDMETHOD(Connect)(IPin* ppinOut, IPin* ppinIn) PURE;
    STDMETHOD(Render)(IPin* ppinOut) PURE;
    STDMETHOD(RenderFile)(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) PURE;
    STDMETHOD(AddSourceFilter)(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter** ppFilter) PURE;
    STDMETHOD(SetLogFile)(DWORD_PTR hFile) PURE;
    STDMETHOD(Abort)() PURE;
    STDMETHOD(ShouldOperationContinue)() PURE;
};

#define AM_RENDEREX_RENDERTOEXISTINGRENDERERS 0x01

struct IFilterGraph2 : public IGraphBuilder {
    STDMETHOD(AddSourceFilterForMoniker)(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR lpcwstrFilterName,
                                         IBaseFilter** ppFilter) PURE;
    STDMETHOD(ReconnectEx)(IPin* ppin, const AM_MEDIA_TYPE* pmt) PURE;
    STDMETHOD(RenderEx)(IPin* pPinOut, DWORD dwFlags, DWORD* pvContext) PURE;
};

// Where filters report events to the graph (the graph queues them for IMediaEventEx).
struct IMediaEventSink : public IUnknown {
    STDMETHOD(Notify)(long EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) PURE;
};

struct IAMCopyCaptureFileProgress : public IUnknown {
    STDMETHOD(Progress)(int iProgress) PURE;
};

struct ICaptureGraphBuilder2 : public IUnknown {
    STDMETHOD(SetFiltergraph)(IGraphBuilder* pfg) PURE;
    STDMETHOD(GetFiltergraph)(IGraphBuilder** ppfg) PURE;
    STDMETHOD(SetOutputFileName)(const GUID* pType, LPCOLESTR lpstrFile, IBaseFilter** ppf,
                                 IFileSinkFilter** ppSink) PURE;
    // Searches from `pf` (its pin of category `pCategory` and major type `pType` first, or
    // upstream/downstream for LOOK_UPSTREAM_ONLY/LOOK_DOWNSTREAM_ONLY) for interface `riid`;
    // looking upstream brings a card's declared upstream devices into the graph.
    STDMETHOD(FindInterface)(const GUID* pCategory, const GUID* pType, IBaseFilter* pf, REFIID riid,
                             void** ppint) PURE;
    STDMETHOD(RenderStream)(const GUID* pCategory, const GUID* pType, IUnknown* pSource, IBaseFilter* pfCompressor,
                            IBaseFilter* pfRenderer) PURE;
    STDMETHOD(ControlStream)(const GUID* pCategory, const GUID* pType, IBaseFilter* pFilter, REFERENCE_TIME* pstart,
                             REFERENCE_TIME* pstop, WORD wStartCookie, WORD wStopCookie) PURE;
    STDMETHOD(AllocCapFile)(LPCOLESTR lpstr, DWORDLONG dwlSize) PURE;
    STDMETHOD(CopyCaptureFile)(LPOLESTR lpwstrOld, LPOLESTR lpwstrNew, int fAllowEscAbort,
                               IAMCopyCaptureFileProgress* pCallback) PURE;
    STDMETHOD(FindPin)(IUnknown* pSource, PIN_DIRECTION pindir, const GUID* pCategory, const GUID* pType,
                       BOOL fUnconnected, int num, IPin** ppPin) PURE;
};

#define CDEF_CLASS_DEFAULT 0x0001
#define CDEF_BYPASS_CLASS_MANAGER 0x0002
#define CDEF_MERIT_ABOVE_DO_NOT_USE 0x0008
#define CDEF_DEVMON_CMGR_DEVICE 0x0010
#define CDEF_DEVMON_DMO 0x0020
#define CDEF_DEVMON_PNP_DEVICE 0x0040
#define CDEF_DEVMON_FILTER 0x0080

struct ICreateDevEnum : public IUnknown {
    // S_OK with an enumerator of the category's devices, S_FALSE (no enumerator) when the
    // category has none.
    STDMETHOD(CreateClassEnumerator)(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker, DWORD dwFlags) PURE;
};

// ---- seeking and stream synchronisation ----
enum AM_SEEKING_SEEKING_FLAGS {
    AM_SEEKING_NoPositioning = 0x0,
    AM_SEEKING_AbsolutePositioning = 0x1,
    AM_SEEKING_RelativePositioning = 0x2,
    AM_SEEKING_IncrementalPositioning = 0x3,
    AM_SEEKING_PositioningBitsMask = 0x3,
    AM_SEEKING_SeekToKeyFrame = 0x4,
    AM_SEEKING_ReturnTime = 0x8,
    AM_SEEKING_Segment = 0x10,
    AM_SEEKING_NoFlush = 0x20,
};

enum AM_SEEKING_SEEKING_CAPABILITIES {
    AM_SEEKING_CanSeekAbsolute = 0x1,
    AM_SEEKING_CanSeekForwards = 0x2,
    AM_SEEKING_CanSeekBackwards = 0x4,
    AM_SEEKING_CanGetCurrentPos = 0x8,
    AM_SEEKING_CanGetStopPos = 0x10,
    AM_SEEKING_CanGetDuration = 0x20,
    AM_SEEKING_CanPlayBackwards = 0x40,
    AM_SEEKING_CanDoSegments = 0x80,
    AM_SEEKING_Source = 0x100,
};

struct IMediaSeeking : public IUnknown {
    STDMETHOD(GetCapabilities)(DWORD* pCapabilities) PURE;
    STDMETHOD(CheckCapabilities)(DWORD* pCapabilities) PURE;
    STDMETHOD(IsFormatSupported)(const GUID* pFormat) PURE;
    STDMETHOD(QueryPreferredFormat)(GUID* pFormat) PURE;
    STDMETHOD(GetTimeFormat)(GUID* pFormat) PURE;
    STDMETHOD(IsUsingTimeFormat)(const GUID* pFormat) PURE;
    STDMETHOD(SetTimeFormat)(const GUID* pFormat) PURE;
    STDMETHOD(GetDuration)(LONGLONG* pDuration) PURE;
    STDMETHOD(GetStopPosition)(LONGLONG* pStop) PURE;
    STDMETHOD(GetCurrentPosition)(LONGLONG* pCurrent) PURE;
    STDMETHOD(ConvertTimeFormat)(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                 const GUID* pSourceFormat) PURE;
    STDMETHOD(SetPositions)(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) PURE;
    STDMETHOD(GetPositions)(LONGLONG* pCurrent, LONGLONG* pStop) PURE;
    STDMETHOD(GetAvailable)(LONGLONG* pEarliest, LONGLONG* pLatest) PURE;
    STDMETHOD(SetRate)(double dRate) PURE;
    STDMETHOD(GetRate)(double* pdRate) PURE;
    STDMETHOD(GetPreroll)(LONGLONG* pllPreroll) PURE;
};

struct IAMGraphStreams : public IUnknown {
    STDMETHOD(FindUpstreamInterface)(IPin* pPin, REFIID riid, void** ppvInterface, DWORD dwFlags) PURE;
    STDMETHOD(SyncUsingStreamOffset)(BOOL bUseStreamOffset) PURE;
    STDMETHOD(SetMaxGraphLatency)(REFERENCE_TIME rtMaxGraphLatency) PURE;
};

// ---- crossbar ----
typedef enum tagPhysicalConnectorType {
    PhysConn_Video_Tuner = 1,
    PhysConn_Video_Composite = 2,
    PhysConn_Video_SVideo = 3,
    PhysConn_Video_RGB = 4,
    PhysConn_Video_YRYBY = 5,
    PhysConn_Video_SerialDigital = 6,
    PhysConn_Video_ParallelDigital = 7,
    PhysConn_Video_SCSI = 8,
    PhysConn_Video_AUX = 9,
    PhysConn_Video_1394 = 10,
    PhysConn_Video_USB = 11,
    PhysConn_Video_VideoDecoder = 12,
    PhysConn_Video_VideoEncoder = 13,
    PhysConn_Video_SCART = 14,
    PhysConn_Video_Black = 15,
    PhysConn_Audio_Tuner = 0x1000,
    PhysConn_Audio_Line = 0x1001,
    PhysConn_Audio_Mic = 0x1002,
    PhysConn_Audio_AESDigital = 0x1003,
    PhysConn_Audio_SPDIFDigital = 0x1004,
    PhysConn_Audio_SCSI = 0x1005,
    PhysConn_Audio_AUX = 0x1006,
    PhysConn_Audio_1394 = 0x1007,
    PhysConn_Audio_USB = 0x1008,
    PhysConn_Audio_AudioDecoder = 0x1009,
} PhysicalConnectorType;

struct IAMCrossbar : public IUnknown {
    STDMETHOD(get_PinCounts)(long* OutputPinCount, long* InputPinCount) PURE;
    STDMETHOD(CanRoute)(long OutputPinIndex, long InputPinIndex) PURE;
    STDMETHOD(Route)(long OutputPinIndex, long InputPinIndex) PURE;
    // The input routed to an output; -1 when none.
    STDMETHOD(get_IsRoutedTo)(long OutputPinIndex, long* InputPinIndex) PURE;
    STDMETHOD(get_CrossbarPinInfo)(BOOL IsInputPin, long PinIndex, long* PinIndexRelated, long* PhysicalType) PURE;
};

// ---- tuners ----
typedef enum tagAMTunerSubChannel { AMTUNER_SUBCHAN_NO_TUNE = -2, AMTUNER_SUBCHAN_DEFAULT = -1 } AMTunerSubChannel;
typedef enum tagAMTunerSignalStrength {
    AMTUNER_HASNOSIGNALSTRENGTH = -1,
    AMTUNER_NOSIGNAL = 0,
    AMTUNER_SIGNALPRESENT = 1,
} AMTunerSignalStrength;
typedef enum tagAMTunerModeType {
    AMTUNER_MODE_DEFAULT = 0x0000,
    AMTUNER_MODE_TV = 0x0001,
    AMTUNER_MODE_FM_RADIO = 0x0002,
    AMTUNER_MODE_AM_RADIO = 0x0004,
    AMTUNER_MODE_DSS = 0x0008,
} AMTunerModeType;
typedef enum tagAMTunerEventType { AMTUNER_EVENT_CHANGED = 0x0001 } AMTunerEventType;
typedef enum tagTunerInputType { TunerInputCable = 0, TunerInputAntenna = 1 } TunerInputType;

struct IAMTunerNotification : public IUnknown {
    STDMETHOD(OnEvent)(AMTunerEventType Event) PURE;
};

struct IAMTuner : public IUnknown {
    STDMETHOD(put_Channel)(long lChannel, long lVideoSubChannel, long lAudioSubChannel) PURE;
    STDMETHOD(get_Channel)(long* plChannel, long* plVideoSubChannel, long* plAudioSubChannel) PURE;
    STDMETHOD(ChannelMinMax)(long* lChannelMin, long* lChannelMax) PURE;
    STDMETHOD(put_CountryCode)(long lCountryCode) PURE;
    STDMETHOD(get_CountryCode)(long* plCountryCode) PURE;
    STDMETHOD(put_TuningSpace)(long lTuningSpace) PURE;
    STDMETHOD(get_TuningSpace)(long* plTuningSpace) PURE;
    STDMETHOD(Logon)(HANDLE hCurrentUser) PURE;
    STDMETHOD(Logout)() PURE;
    STDMETHOD(SignalPresent)(long* plSignalStrength) PURE;
    STDMETHOD(put_Mode)(AMTunerModeType lMode) PURE;
    STDMETHOD(get_Mode)(AMTunerModeType* plMode) PURE;
    STDMETHOD(GetAvailableModes)(long* plModes) PURE;
    STDMETHOD(RegisterNotificationCallBack)(IAMTunerNotification* pNotify, long lEvents) PURE;
    STDMETHOD(UnRegisterNotificationCallBack)(IAMTunerNotification* pNotify) PURE;
};

struct IAMTVTuner : public IAMTuner {
    STDMETHOD(get_AvailableTVFormats)(long* lAnalogVideoStandard) PURE;
    STDMETHOD(get_TVFormat)(long* plAnalogVideoStandard) PURE;
    STDMETHOD(AutoTune)(long lChannel, long* plFoundSignal) PURE;
    STDMETHOD(StoreAutoTune)() PURE;
    STDMETHOD(get_NumInputConnections)(long* plNumInputConnections) PURE;
    STDMETHOD(put_InputType)(long lIndex, TunerInputType InputType) PURE;
    STDMETHOD(get_InputType)(long lIndex, TunerInputType* pInputType) PURE;
    STDMETHOD(put_ConnectInput)(long lIndex) PURE;
    STDMETHOD(get_ConnectInput)(long* plIndex) PURE;
    STDMETHOD(get_VideoFrequency)(long* lFreq) PURE;
    STDMETHOD(get_AudioFrequency)(long* lFreq) PURE;
};

typedef enum tagTVAudioMode {
    AMTVAUDIO_MODE_MONO = 0x0001,
    AMTVAUDIO_MODE_STEREO = 0x0002,
    AMTVAUDIO_MODE_LANG_A = 0x0010,
    AMTVAUDIO_MODE_LANG_B = 0x0020,
    AMTVAUDIO_MODE_LANG_C = 0x0040,
} TVAudioMode;
typedef enum tagAMTVAudioEventType { AMTVAUDIO_EVENT_CHANGED = 0x0001 } AMTVAudioEventType;

struct IAMTVAudioNotification : public IUnknown {
    STDMETHOD(OnEvent)(AMTVAudioEventType Event) PURE;
};

struct IAMTVAudio : public IUnknown {
    STDMETHOD(GetHardwareSupportedTVAudioModes)(long* plModes) PURE;
    STDMETHOD(GetAvailableTVAudioModes)(long* plModes) PURE;
    STDMETHOD(get_TVAudioMode)(long* plMode) PURE;
    STDMETHOD(put_TVAudioMode)(long lMode) PURE;
    STDMETHOD(RegisterNotificationCallBack)(IAMTunerNotification* pNotify, long lEvents) PURE;
    STDMETHOD(UnRegisterNotificationCallBack)(IAMTunerNotification* pNotify) PURE;
};

// ---- video decoder and processing amplifier ----
struct IAMAnalogVideoDecoder : public IUnknown {
    STDMETHOD(get_AvailableTVFormats)(long* lAnalogVideoStandard) PURE;
    STDMETHOD(put_TVFormat)(long lAnalogVideoStandard) PURE;
    STDMETHOD(get_TVFormat)(long* plAnalogVideoStandard) PURE;
    STDMETHOD(get_HorizontalLocked)(long* plLocked) PURE;
    STDMETHOD(put_VCRHorizontalLocking)(long lVCRHorizontalLocking) PURE;
    STDMETHOD(get_VCRHorizontalLocking)(long* plVCRHorizontalLocking) PURE;
    STDMETHOD(get_NumberOfLines)(long* plNumberOfLines) PURE;
    STDMETHOD(put_OutputEnable)(long lOutputEnable) PURE;
    STDMETHOD(get_OutputEnable)(long* plOutputEnable) PURE;
};

typedef enum tagVideoProcAmpProperty {
    VideoProcAmp_Brightness = 0,
    VideoProcAmp_Contrast = 1,
    VideoProcAmp_Hue = 2,
    VideoProcAmp_Saturation = 3,
    VideoProcAmp_Sharpness = 4,
    VideoProcAmp_Gamma = 5,
    VideoProcAmp_ColorEnable = 6,
    VideoProcAmp_WhiteBalance = 7,
    VideoProcAmp_BacklightCompensation = 8,
    VideoProcAmp_Gain = 9,
} VideoProcAmpProperty;
typedef enum tagVideoProcAmpFlags { VideoProcAmp_Flags_Auto = 0x0001, VideoProcAmp_Flags_Manual = 0x0002 } VideoProcAmpFlags;

struct IAMVideoProcAmp : public IUnknown {
    STDMETHOD(GetRange)(long Property, long* pMin, long* pMax, long* pSteppingDelta, long* pDefault,
                        long* pCapsFlags) PURE;
    STDMETHOD(Set)(long Property, long lValue, long Flags) PURE;
    STDMETHOD(Get)(long Property, long* lValue, long* Flags) PURE;
};

// ---- stream formats ----
typedef struct _VIDEO_STREAM_CONFIG_CAPS {
    GUID guid;
    ULONG VideoStandard;
    SIZE InputSize;
    SIZE MinCroppingSize;
    SIZE MaxCroppingSize;
    int CropGranularityX;
    int CropGranularityY;
    int CropAlignX;
    int CropAlignY;
    SIZE MinOutputSize;
    SIZE MaxOutputSize;
    int OutputGranularityX;
    int OutputGranularityY;
    int StretchTapsX;
    int StretchTapsY;
    int ShrinkTapsX;
    int ShrinkTapsY;
    LONGLONG MinFrameInterval;
    LONGLONG MaxFrameInterval;
    LONG MinBitsPerSecond;
    LONG MaxBitsPerSecond;
} VIDEO_STREAM_CONFIG_CAPS;

typedef struct _AUDIO_STREAM_CONFIG_CAPS {
    GUID guid;
    ULONG MinimumChannels;
    ULONG MaximumChannels;
    ULONG ChannelsGranularity;
    ULONG MinimumBitsPerSample;
    ULONG MaximumBitsPerSample;
    ULONG BitsPerSampleGranularity;
    ULONG MinimumSampleFrequency;
    ULONG MaximumSampleFrequency;
    ULONG SampleFrequencyGranularity;
} AUDIO_STREAM_CONFIG_CAPS;

struct IAMStreamConfig : public IUnknown {
    STDMETHOD(SetFormat)(AM_MEDIA_TYPE* pmt) PURE;
    // The current format, CoTaskMemAlloc'ed; free with DeleteMediaType.
    STDMETHOD(GetFormat)(AM_MEDIA_TYPE** ppmt) PURE;
    STDMETHOD(GetNumberOfCapabilities)(int* piCount, int* piSize) PURE;
    STDMETHOD(GetStreamCaps)(int iIndex, AM_MEDIA_TYPE** ppmt, BYTE* pSCC) PURE;
};

struct IAMAudioInputMixer : public IUnknown {
    STDMETHOD(put_Enable)(BOOL fEnable) PURE;
    STDMETHOD(get_Enable)(BOOL* pfEnable) PURE;
    STDMETHOD(put_Mono)(BOOL fMono) PURE;
    STDMETHOD(get_Mono)(BOOL* pfMono) PURE;
    STDMETHOD(put_MixLevel)(double Level) PURE;
    STDMETHOD(get_MixLevel)(double* pLevel) PURE;
    STDMETHOD(put_Pan)(double Pan) PURE;
    STDMETHOD(get_Pan)(double* pPan) PURE;
    STDMETHOD(put_Loudness)(BOOL fLoudness) PURE;
    STDMETHOD(get_Loudness)(BOOL* pfLoudness) PURE;
    STDMETHOD(put_Treble)(double Treble) PURE;
    STDMETHOD(get_Treble)(double* pTreble) PURE;
    STDMETHOD(get_TrebleRange)(double* pRange) PURE;
    STDMETHOD(put_Bass)(double Bass) PURE;
    STDMETHOD(get_Bass)(double* pBass) PURE;
    STDMETHOD(get_BassRange)(double* pRange) PURE;
};

// ---- writers and multiplexers ----
typedef enum _AM_FILESINK_FLAGS { AM_FILE_OVERWRITE = 0x00000001 } AM_FILESINK_FLAGS;

struct IFileSinkFilter : public IUnknown {
    STDMETHOD(SetFileName)(LPCOLESTR pszFileName, const AM_MEDIA_TYPE* pmt) PURE;
    // The file name, CoTaskMemAlloc'ed (NULL when none was set), and its media type.
    STDMETHOD(GetCurFile)(LPOLESTR* ppszFileName, AM_MEDIA_TYPE* pmt) PURE;
};

struct IFileSinkFilter2 : public IFileSinkFilter {
    STDMETHOD(SetMode)(DWORD dwFlags) PURE;
    STDMETHOD(GetMode)(DWORD* pdwFlags) PURE;
};

struct IConfigAviMux : public IUnknown {
    STDMETHOD(SetMasterStream)(LONG iStream) PURE;
    STDMETHOD(GetMasterStream)(LONG* pStream) PURE;
    STDMETHOD(SetOutputCompatibilityIndex)(BOOL fOldIndex) PURE;
    STDMETHOD(GetOutputCompatibilityIndex)(BOOL* pfOldIndex) PURE;
};

typedef enum _InterleavingMode {
    INTERLEAVE_NONE = 0,
    INTERLEAVE_CAPTURE = 1,
    INTERLEAVE_FULL = 2,
    INTERLEAVE_NONE_BUFFERED = 3,
} InterleavingMode;

struct IConfigInterleaving : public IUnknown {
    STDMETHOD(put_Mode)(InterleavingMode mode) PURE;
    STDMETHOD(get_Mode)(InterleavingMode* pMode) PURE;
    STDMETHOD(put_Interleaving)(const REFERENCE_TIME* prtInterleave, const REFERENCE_TIME* prtPreroll) PURE;
    STDMETHOD(get_Interleaving)(REFERENCE_TIME* prtInterleave, REFERENCE_TIME* prtPreroll) PURE;
};

// ---- compressors ----
typedef enum { VfwCompressDialog_Config = 0x01, VfwCompressDialog_About = 0x02 } VfwCompressDialogs;

struct IAMVfwCompressDialogs : public IUnknown {
    STDMETHOD(ShowDialog)(int iDialog, HWND hwnd) PURE;
    STDMETHOD(GetState)(LPVOID pState, int* pcbState) PURE;
    STDMETHOD(SetState)(LPVOID pState, int cbState) PURE;
    STDMETHOD(SendDriverMessage)(int uMsg, long dw1, long dw2) PURE;
};

// ---- kernel-streaming property sets ----
#define KSPROPERTY_SUPPORT_GET 1
#define KSPROPERTY_SUPPORT_SET 2

struct IKsPropertySet : public IUnknown {
    STDMETHOD(Set)(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                   LPVOID pPropData, DWORD cbPropData) PURE;
    STDMETHOD(Get)(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                   LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) PURE;
    // *pTypeSupport: KSPROPERTY_SUPPORT_GET and/or KSPROPERTY_SUPPORT_SET.
    STDMETHOD(QuerySupported)(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) PURE;
};

// ---- external devices (DV cameras and decks) ----
#define ED_DEVCAP_DEVICE_TYPE 0x1007
#define ED_DEVTYPE_VCR 0x1008
#define ED_DEVCAP_TIMECODE_READ 0x1019
#define ED_DEVCAP_ATN_READ 0x13B7

typedef struct tagTIMECODE {
    WORD wFrameRate;
    WORD wFrameFract;
    DWORD dwFrames;
} TIMECODE;

typedef struct tagTIMECODE_SAMPLE {
    LONGLONG qwTick;
    TIMECODE timecode;
    DWORD dwUser;
    DWORD dwFlags;
} TIMECODE_SAMPLE, *PTIMECODE_SAMPLE;

struct IAMExtDevice : public IUnknown {
    STDMETHOD(GetCapability)(long Capability, long* pValue, double* pdblValue) PURE;
    STDMETHOD(get_ExternalDeviceID)(LPOLESTR* ppszData) PURE;
    STDMETHOD(get_ExternalDeviceVersion)(LPOLESTR* ppszData) PURE;
    STDMETHOD(put_DevicePower)(long PowerMode) PURE;
    STDMETHOD(get_DevicePower)(long* pPowerMode) PURE;
    STDMETHOD(Calibrate)(HEVENT hEvent, long Mode, long* pStatus) PURE;
    STDMETHOD(put_DevicePort)(long DevicePort) PURE;
    STDMETHOD(get_DevicePort)(long* pDevicePort) PURE;
};

struct IAMExtTransport : public IUnknown {
    STDMETHOD(GetCapability)(long Capability, long* pValue, double* pdblValue) PURE;
    STDMETHOD(put_MediaState)(long State) PURE;
    STDMETHOD(get_MediaState)(long* pState) PURE;
    STDMETHOD(put_LocalControl)(long State) PURE;
    STDMETHOD(get_LocalControl)(long* pState) PURE;
    STDMETHOD(GetStatus)(long StatusItem, long* pValue) PURE;
    STDMETHOD(GetTransportBasicParameters)(long Param, long* pValue, LPOLESTR* ppszData) PURE;
    STDMETHOD(SetTransportBasicParameters)(long Param, long Value, LPCOLESTR pszData) PURE;
    STDMETHOD(GetTransportVideoParameters)(long Param, long* pValue) PURE;
    STDMETHOD(SetTransportVideoParameters)(long Param, long Value) PURE;
    STDMETHOD(GetTransportAudioParameters)(long Param, long* pValue) PURE;
    STDMETHOD(SetTransportAudioParameters)(long Param, long Value) PURE;
    STDMETHOD(put_Mode)(long Mode) PURE;
    STDMETHOD(get_Mode)(long* pMode) PURE;
    STDMETHOD(put_Rate)(double dblRate) PURE;
    STDMETHOD(get_Rate)(double* pdblRate) PURE;
    STDMETHOD(GetChase)(long* pEnabled, long* pOffset, HEVENT* phEvent) PURE;
    STDMETHOD(SetChase)(long Enable, long Offset, HEVENT hEvent) PURE;
    STDMETHOD(GetBump)(long* pSpeed, long* pDuration) PURE;
    STDMETHOD(SetBump)(long Speed, long Duration) PURE;
    STDMETHOD(get_AntiClogControl)(long* pEnabled) PURE;
    STDMETHOD(put_AntiClogControl)(long Enable) PURE;
    STDMETHOD(GetEditPropertySet)(long EditID, long* pState) PURE;
    STDMETHOD(SetEditPropertySet)(long* pEditID, long State) PURE;
    STDMETHOD(GetEditProperty)(long EditID, long Param, long* pValue) PURE;
    STDMETHOD(SetEditProperty)(long EditID, long Param, long Value) PURE;
    STDMETHOD(get_EditStart)(long* pValue) PURE;
    STDMETHOD(put_EditStart)(long Value) PURE;
};

struct IAMTimecodeReader : public IUnknown {
    STDMETHOD(GetTCRMode)(long Param, long* pValue) PURE;
    STDMETHOD(SetTCRMode)(long Param, long Value) PURE;
    STDMETHOD(put_VITCLine)(long Line) PURE;
    STDMETHOD(get_VITCLine)(long* pLine) PURE;
    STDMETHOD(GetTimecode)(PTIMECODE_SAMPLE pTimecodeSample) PURE;
};

PLATFORM_INTERFACE_TRAITS(IEnumPins, IUnknown);
PLATFORM_INTERFACE_TRAITS(IEnumMediaTypes, IUnknown);
PLATFORM_INTERFACE_TRAITS(IEnumFilters, IUnknown);
PLATFORM_INTERFACE_TRAITS(IPin, IUnknown);
PLATFORM_INTERFACE_TRAITS(IReferenceClock, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMediaFilter, IPersist);
PLATFORM_INTERFACE_TRAITS(IBaseFilter, IMediaFilter);
PLATFORM_INTERFACE_TRAITS(IMediaSample, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMemAllocator, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMemInputPin, IUnknown);
PLATFORM_INTERFACE_TRAITS(IFilterGraph, IUnknown);
PLATFORM_INTERFACE_TRAITS(IGraphBuilder, IFilterGraph);
PLATFORM_INTERFACE_TRAITS(IFilterGraph2, IGraphBuilder);
PLATFORM_INTERFACE_TRAITS(IMediaEventSink, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMCopyCaptureFileProgress, IUnknown);
PLATFORM_INTERFACE_TRAITS(ICaptureGraphBuilder2, IUnknown);
PLATFORM_INTERFACE_TRAITS(ICreateDevEnum, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMediaSeeking, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMGraphStreams, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMCrossbar, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMTunerNotification, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMTuner, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMTVTuner, IAMTuner);
PLATFORM_INTERFACE_TRAITS(IAMTVAudioNotification, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMTVAudio, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMAnalogVideoDecoder, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMVideoProcAmp, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMStreamConfig, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMAudioInputMixer, IUnknown);
PLATFORM_INTERFACE_TRAITS(IFileSinkFilter, IUnknown);
PLATFORM_INTERFACE_TRAITS(IFileSinkFilter2, IFileSinkFilter);
PLATFORM_INTERFACE_TRAITS(IConfigAviMux, IUnknown);
PLATFORM_INTERFACE_TRAITS(IConfigInterleaving, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMVfwCompressDialogs, IUnknown);
PLATFORM_INTERFACE_TRAITS(IKsPropertySet, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMExtDevice, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMExtTransport, IUnknown);
PLATFORM_INTERFACE_TRAITS(IAMTimecodeReader, IUnknown);
