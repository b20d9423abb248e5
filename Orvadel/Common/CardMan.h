// CCardMan: one plugged card as the station sees it: the card's own DirectShow graph, the
// card-filter object that the graph's filter-class registry creates for the card's capture
// device, the card's crossbar, and the filters the test pages put into the graph (renderers, the
// MPEG encoder, the file writer, the demultiplexer and decoders, audio capture). The station
// reaches the card's hardware only through the card filter.
//
// Unless a comment says otherwise, an operation answers true at once, doing nothing, for a card
// row without crossbar name, and false when the card filter is missing. Every operation runs on
// the thread that owns the card manager; the scan thread and the card's remote thread only post
// to the notify window.
#pragma once

#include <afx.h>
#include <afxwin.h>

#include <memory>

#include "CardNameContainer.h"
#include "CardSearchTuner.h"
#include "cards/base/CaptureFormat.h"
#include "graph/RootGraph.h"

class CCrossbarFilter;
class CDumpFilter;
class CMPEG2Demultiplexer;
class CMpegEncoderFilter;
class CSimpleTVSearch;
class CTVCardFilter;

// The access kind of the cards whose crossbar the card routes itself, per input, and whose
// preview can run through their MPEG encoder.
#define ACCESS_KIND_ENCODER_CARD 11

// One setting of the hardware encoder: property id, value, size in bytes.
struct EncoderSetting {
    DWORD id;
    DWORD value;
    DWORD size;
};

class CCardMan {
public:
    // The encoder settings in the order they are sent, then the rate record (id 0).
    static const EncoderSetting kEncoderSettings[];
    static const size_t kEncoderSettingCount;
    static constexpr DWORD kEncoderRateId = 0;
    static const DWORD kEncoderRates[3];  // mode, average and maximum bit rate (bit/s)
    // The encoder's capture size.
    static constexpr SIZE kEncoderVideoSize = {720, 576};
    // The name of the audio capture device of the encoder cards (device index 0).
    static constexpr const char kAudioCaptureName[] = "Conexant 2388x Audio Capture";

    explicit CCardMan(const CCardName& row);
    CCardMan(const CCardMan&) = delete;
    CCardMan& operator=(const CCardMan&) = delete;
    virtual ~CCardMan();

    // ---- life cycle (no crossbar-name test) ----
    // Opens the card: adds its capture device by category, FriendlyName and device index, then
    // places its crossbar (a crossbar already in the graph is wrapped, not opened again). True
    // when the card filter exists; a crossbar that cannot be placed leaves the slot empty.
    bool Create();
    // Ends a search, mutes the card, stops its remote-key thread and takes every filter out of
    // the graph. Harmless when repeated.
    void Release();
    // Stops the graph and disconnects its filters.
    void StopGraph();
    // Switches the card's audio source off.
    bool MuteAudio();
    // Removes the slot's filter from the graph and clears the slot.
    template <class T>
    void RemoveFilter(T*& slot) {
        if (slot != nullptr) m_graph.RemoveFilter(slot);
        slot = nullptr;
    }

    // ---- card settings ----
    // Stores the window and hands it to the card filter (and so to its tuner). No crossbar test.
    void SetNotifyWindow(HWND window);
    HWND GetNotifyWindow() const { return m_hNotifyWnd; }
    // The window that shows the card's video; set by the pages that show video.
    void SetVideoWnd(HWND window) { m_hVideoWnd = window; }
    HWND GetVideoWnd() const { return m_hVideoWnd; }
    // Routes input 0 (tuner), 1 (composite), 2 (S-video) or 3 through the crossbar and sets the
    // card's audio source; the current input changes when the video route succeeded.
    bool SelectInput(int input);
    // The per-input crossbar routing of a card of the encoder kind, done by the card itself.
    bool Set3DYCReg(int input);
    // Only on a stopped graph (otherwise false, traced): the capture pin's format with a new size.
    bool SetVideoSize(SIZE size);
    bool GetVideoSize(SIZE* size);
    bool SetVideoFormat(const VideoFormatInfo& format);
    // Only on a stopped graph (otherwise false, traced).
    bool SetVideoStandard(long standard);
    bool GetDeviceInfo(DWORD* info);
    bool SetCountryCode(long code);
    bool SetIoFlag(bool on);
    bool GetIoFlag();

    // ---- remote keys and scans ----
    bool StartRemote();
    void StopRemote();  // no crossbar test
    // The tuner's own scan, reporting to the notify window.
    bool StartScan(BOOL tv, BOOL fullBand);
    void StopScan();     // no crossbar test
    bool IsScanning();   // no crossbar test
    // The station's scan thread over the card's scan tuner: false while one exists.
    bool StartSearch(HWND target, int delayMs, const int* frequencies, int count);
    void StopSearch();                                      // no crossbar test
    bool IsSearching() const { return m_pSearch != nullptr; }  // no crossbar test

    // ---- getters (no crossbar test) ----
    const CCardName& GetRow() const { return m_row; }
    int GetCurrentInput() const { return m_nCurrentInput; }
    bool IsCardKind11() const;
    bool IsCardKind4to9() const;
    // Access kind 10 or 11, or a card filter with an output pin "Audio" (the graph then
    // synchronises its streams by stream offset).
    bool HasAudioPin();
    CTVCardFilter* GetCardFilter() const { return m_pCardFilter; }
    CCrossbarFilter* GetCrossbar() const { return m_pCrossbar; }
    CRootGraph& GetGraph() { return m_graph; }
    CSearchTunerInterface& GetSearchTuner() { return m_searchTuner; }
    // The FriendlyNames of a device category. No card tests.
    void EnumDevices(REFGUID category, CStringArray* names);

    // ---- audio devices ----
    CStringArray& AudioDeviceNames() { return m_audioDeviceNames; }
    bool AddAudioDevice();
    bool AddAudioCapture();

    // ---- preview ----
    // Disconnects, adds the renderers, connects, puts the video into the video window and runs;
    // the result of the connections.
    bool BuildPreview();
    void AddRenderers();
    // The VMR-9, else the Overlay Mixer and Video Renderer; filled slots are kept.
    bool AddVideoRenderer();
    bool ConnectPreview();
    // The graph's video into `owner` (a child window over `position`, else over the owner's
    // client rectangle), or into a window of its own without owner.
    bool SetVideoWindow(HWND owner, const RECT* position);
    // The preview through the encoder (kind 11) or the plain video renderer.
    bool BuildEncoderPreview();

    // ---- recording ----
    // Adds the encoder of the card's own board, the file writer, the demultiplexer
    // with its two pins, the renderers, decoders and sound renderer, and sets the encoder up.
    bool BuildEncoderGraph();
    bool SetupEncoder();
    // Wraps the encoder device of the card's own board into the graph as m_pEncoder; nothing
    // when the board has none.
    void PlaceEncoder();
    // Card -> encoder -> demultiplexer and file writer; demultiplexer -> decoders -> renderers.
    // False at the first connection that fails, the file writer's included.
    bool ConnectEncoderGraph();
    // The failure that broke the recording under way: the HRESULT of the first EC_ERRORABORT the
    // graph reported since ConnectEncoderGraph (the file writer's failed write, a filter that
    // stopped streaming), S_OK while none came. Reads the graph's events.
    HRESULT TakeRecordFault();
    bool StartRecord(const char* fileName);
    void StopRecord();
    void RemovePlayback();

    // Slot accessors, for the pages and the tests.
    CMpegEncoderFilter* GetEncoder() const { return m_pEncoder; }
    CDumpFilter* GetDumpFilter() const { return m_pDumpFilter; }
    CMPEG2Demultiplexer* GetDemux() const { return m_pDemux; }
    CRootFilter* GetVmr() const { return m_pVMR; }
    CRootFilter* GetOverlay() const { return m_pOverlay; }
    CRootFilter* GetVideoRender() const { return m_pVideoRender; }
    CRootFilter* GetAudioRender() const { return m_pAudioRender; }
    CRootFilter* GetSoundRender() const { return m_pSoundRender; }
    CRootFilter* GetVideoDecoder() const { return m_pVideoDecoder; }
    CRootFilter* GetAudioDecoder() const { return m_pAudioDecoder; }
    CRootFilter* GetAudioCapture() const { return m_pAudioCapture; }
    CRootFilter* GetAudioDevice() const { return m_pAudioDevice; }

private:
    // The common entry test: true when the operation is settled already, with *result its answer
    // (true for a row without crossbar name, false without card filter).
    bool Settled(bool* result) const;
    void PlaceCrossbar();
    // Connects `up`'s pin to `down`'s through the video renderer chain in the graph.
    bool ConnectToVideoRenderer(CRootFilter* up, const char* outPin);
    // Binds the first device of `category` whose FriendlyName equals `name` exactly.
    static HRESULT FindDeviceFilter(REFGUID category, const char* name, IBaseFilter** filter);
    void ClearSlots();

    CCardName m_row;
    HWND m_hNotifyWnd = nullptr;
    HWND m_hVideoWnd = nullptr;
    int m_nCurrentInput = 0;
    CStringArray m_audioDeviceNames;
    CRootGraph m_graph;
    // Slots: owned by the graph.
    CTVCardFilter* m_pCardFilter = nullptr;
    CCrossbarFilter* m_pCrossbar = nullptr;
    CRootFilter* m_pAudioDevice = nullptr;
    CMpegEncoderFilter* m_pEncoder = nullptr;
    HRESULT m_hrRecordFault = S_OK;
    CDumpFilter* m_pDumpFilter = nullptr;
    CMPEG2Demultiplexer* m_pDemux = nullptr;
    CRootFilter* m_pVideoDecoder = nullptr;
    CRootFilter* m_pAudioDecoder = nullptr;
    CRootFilter* m_pSoundRender = nullptr;
    CRootFilter* m_pOverlay = nullptr;
    CRootFilter* m_pVideoRender = nullptr;
    CRootFilter* m_pAudioRender = nullptr;
    CRootFilter* m_pVMR = nullptr;
    CRootFilter* m_pAudioCapture = nullptr;
    std::unique_ptr<CSimpleTVSearch> m_pSearch;
    CCardSearchTuner m_searchTuner;
};
