// CTVCardFilter: the capture-card object on the driver's capture filter. It owns the card's
// hardware-access object, its tuner and the remote-key polling thread, reads and writes the
// card's 256-byte configuration EEPROM one byte at a time, sets the video standard and capture
// format, forwards tuning to the tuner and speaks the GPIO protocol of the card's on-board
// controller. Every card class derives from it and overrides a few slots.
//
// Creation has two phases: the registry's creator constructs the object, then SetUp runs the
// class's InitNames and Init, which runs the class's Create once. A card whose Create fails is
// invalid and the graph deletes it.
//
// Threads: the owner's thread makes, configures and destroys the card; the EEPROM write thread
// calls WriteEeprom and ReadEeprom; the remote thread calls GetRemoteData. None of these takes a
// lock of the card; the access object serialises each transfer, and the controller exchanges run
// under the system-wide mutex "Mutex_Remote_Control".
#pragma once

#include <afx.h>
#include <dshow.h>

#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "cards/base/CaptureFormat.h"
#include "cards/base/ControllerLink.h"
#include "dunmorra/TunerIds.h"
#include "graph/RootFilter.h"
#include "tuners/TunerBase.h"

class CCustomDataAccess;
class CKsPropertyAccess;
class CRemoteThread;
class CThread;

// The window message of a remote key: wParam the key code, lParam 0.
#define WM_REMOTE_KEY 0x3981

// The system-wide mutex around opening a card and every exchange with its on-board controller.
inline constexpr const char kRemoteControlMutex[] = "Mutex_Remote_Control";

// Access kinds of the base InitAccess; card classes record numbers of their own.
constexpr int ACCESS_KIND_NONE = 0;
constexpr int ACCESS_KIND_DEVICE_CONTROL = 1;
constexpr int ACCESS_KIND_KS_PROPERTY = 2;

// KESH_TUNER_ID_NONE, the KeshTunerID for "no Kesh tuner id", comes from dunmorra/TunerIds.h.

class CTVCardFilter : public CRootFilter, public CTunerOwnerCard {
public:
    static constexpr int kEepromSize = 256;
    // EEPROM places of the tuner in the Kesh layout: maker letter, KeshTunerID low then high.
    static constexpr BYTE kKeshFactoryAddr = 104;
    static constexpr BYTE kKeshModelAddr = 65;

    CTVCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CTVCardFilter(CRootGraph* owner, REFCLSID clsid);

    // ---- virtual operations, in slot order after CRootFilter's ----
    ~CTVCardFilter() override;
    // "Capture" and "Preview" name the pins FindOutputPins found; other names as CRootFilter.
    CRootPin* FindPin(const char* name) override;
    // Runs the class's Create (the card's set-up slot).
    BOOL Init() override;

    // Opens the card: under "Mutex_Remote_Control", InitAccess, then (with an access object)
    // the output pins, the tuner maker and model, and the tuner. TRUE when a tuner exists.
    virtual BOOL Create();
    virtual HRESULT GetVideoStandard(long* available, long* current);
    virtual HRESULT SetVideoStandard(long standard);
    virtual BOOL SetFMChannelFreq(float kHz);
    virtual LONG_PTR OnCommand(LONG_PTR arg);
    virtual HRESULT SetAudioSource(int source, BOOL on);
    virtual BOOL GetRemoteData(BYTE* key);
    // Raw I2C block write; buffer[0] is the 8-bit device address, count 2 to 256.
    virtual HRESULT I2CWrite(BYTE* buffer, int count);
    // EEPROM bytes address .. address + *count - 1 (at most up to 255). Every byte is written
    // and followed by Sleep(delayMs); the result is S_OK or the first failure.
    virtual HRESULT WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs);
    // Reads the bytes; *count becomes the number read. S_OK only when every byte was read.
    virtual HRESULT ReadEeprom(BYTE* buffer, BYTE address, int* count);
    // Makes and opens the card's access object; E_FAIL at once while one is held.
    virtual HRESULT InitAccess();
    virtual LONG_PTR ReleaseAccess();
    virtual BOOL InitTuner();
    // The tuner maker and model into the card's fields; the result of GetTunerInfo.
    virtual HRESULT ReadFactoryModel();
    virtual BYTE ReadEepromByte7();
    virtual BOOL DetectTunerAddress(CTunerBase* tuner);
    virtual BOOL SetTunerModel(int model);
    virtual BOOL ProbeI2CAddress(BYTE address);
    virtual HRESULT GetTunerInfo(int* factory, int* model);
    virtual CTunerBase* CreateTuner(int model);
    virtual BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs);
    virtual BOOL WaitReadState(DWORD* word);
    virtual BOOL WriteControllerWord(WORD value);
    virtual BOOL ReadControllerWord(WORD* value);
    virtual BOOL ControllerCommand(BOOL on);
    // The card's device-event operations (the TV_IO card's; 0 here): a 32-bit value to the
    // driver, the device event and its callback installed, the event thread started.
    virtual LONG_PTR SetDriverValue(LONG_PTR arg);
    virtual LONG_PTR InstallDeviceEvent(LONG_PTR arg);
    virtual LONG_PTR StartEventThread(LONG_PTR arg);
    virtual LONG_PTR ReleaseChild();
    // The video decoder's horizontal lock (IAMAnalogVideoDecoder); *locked written on success.
    HRESULT IsSignalLocked(DWORD* locked) override;
    virtual HRESULT SetAudioSource4(int source, BOOL on);
    // A GPIO write under a mask (the Yolm card's; E_FAIL here).
    virtual HRESULT WriteMaskedGpio(LONG_PTR mask, LONG_PTR value);
    // The on-board controller's digit string into a buffer (the Voze card's; 0 here).
    virtual LONG_PTR ReadDigitString(LONG_PTR buffer, LONG_PTR length);
    // The driver's identity word (property set FC8FACFF..., id 0); TRUE when read.
    virtual BOOL GetDeviceInfo(DWORD* info);

    // ---- card state ----
    long GetAccessKind() const override { return m_nAccessKind; }
    CCustomDataAccess* GetAccess() const { return m_pAccess; }
    CTunerBase* GetTuner() const { return m_pTuner; }
    HWND GetNotifyWindow() const { return m_hNotifyWnd; }
    // Keeps the window (remote keys) and hands it to the tuner (scan messages).
    void SetNotifyWindow(HWND window);
    int GetTunerModel() const { return m_nTunerModel; }
    int GetFactoryLetter() const { return m_nFactory; }
    const char* GetTunerName() const { return m_strTunerFilterName.c_str(); }
    // The display name of the tuner model; empty when the model has none.
    CString GetTunerModelName() const;
    int GetEepromLayout() const { return m_nEepromLayout; }
    int GetRemotePeriod() const { return m_nRemotePeriod; }
    CRootPin* GetCapturePin() const { return m_pCapturePin; }
    CRootPin* GetPreviewPin() const { return m_pPreviewPin; }

    // ---- Kesh tuner ids ----
    // The KeshTunerID of a TUNER_MODEL; KESH_TUNER_ID_NONE when the model has none.
    int KeshIdFromModel(int model) const;
    // The TUNER_MODEL of a KeshTunerID; 0 when the id has none.
    int ModelFromKeshId(int keshId) const;
    const std::map<int, int>& GetModelToKeshIdMap() const { return m_mapModelToKeshId; }
    const std::map<int, int>& GetKeshIdToModelMap() const { return m_mapKeshIdToModel; }

    // ---- tuner forwards: FALSE (or 0, or an empty list) without a tuner ----
    std::vector<long> GetSupportedStandards() const;
    BOOL SetTVChannelFreq(float kHz);
    BOOL SetTunerStandard(long standard);
    BOOL GetTunerStatus();
    BOOL IsFMLocked();
    BOOL GetTVChannelStatus(DWORD* status);
    BOOL GetFMChannelStatus(DWORD* status);
    BOOL SetChannelTable(const float* table, long count);
    BOOL StartScan(BOOL tv, BOOL fullBand);
    void StopScan();
    BOOL IsScanning();
    BOOL SetFMStep(long step);
    BOOL SetFMScanRange(long low, long high);
    BOOL SetSweepParams(long skip, long half);
    BOOL SetSweepRange(long low, long high);
    BOOL SetFMWait(long wait);
    void SetSettleTime(long ms);
    long GetSecondModel() const;
    // Takes the tuner over (deleting the current one); NULL is refused, the current tuner again
    // changes nothing.
    BOOL SetTuner(CTunerBase* tuner);
    // Makes a tuner of the model on this card, tunes it and reads its lock after 150 ms; the
    // card's own tuner is not touched.
    BOOL TestTunerModel(int model, float kHz);

    // ---- tuner creation ----
    // Deletes a tuner the card made, its scan stopped first: a scan worker calls the tuner's
    // operations, so it stops while the whole tuner still stands. Every tuner the card lets go
    // goes through here.
    static void DeleteTuner(CTunerBase* tuner);
    BOOL IsTunerPresent(CTunerBase* tuner);
    // Probes every 8-bit address 0 to 255; TRUE when any answered.
    BOOL ScanI2CBus(std::vector<BYTE>* found);
    // The maker letter of a model's module; FALSE and 'N' for a model without a maker.
    static BOOL GetFactoryFromModel(int* letter, int model);

    // ---- remote keys ----
    // Values below 1 are refused; a running remote thread takes the period from its next wait.
    BOOL SetRemotePeriod(int ms);
    BOOL StartRemoteThread();
    void StopRemoteThread();

    // ---- the driver's other interfaces ----
    HRESULT GetTVTuner(IAMTVTuner** tuner);
    // TRUE while the card holds a tuner device filter of its own.
    BOOL HasTunerFilter() const { return m_pTunerFilter != nullptr ? TRUE : FALSE; }
    // The encoder device this card's own capture filter feeds, as the capture graph builder finds
    // it downstream (never merely the n-th device of a name: every board's encoder has the one
    // name), known by its property set `propertySet`. The devices the search brought into the
    // owner graph are taken out again; `encoder` holds the one found. E_FAIL without an owner
    // graph, or when the card's board has no encoder.
    HRESULT FindOwnEncoderDevice(REFGUID propertySet, CComPtr<IBaseFilter>& encoder);
    // which 1: the capture pin's format; any other value: the preview pin's.
    HRESULT GetVideoFormat(VideoFormatInfo* info, int which);
    HRESULT SetVideoFormat(VideoFormatInfo info, int which);
    // The current format of the pin (IAMStreamConfig, else the pin's first media type); free the
    // result with DeleteMediaType.
    HRESULT FindStreamConfig(AM_MEDIA_TYPE** mediaType, int which);
    void FindOutputPins();
    HRESULT SetProcAmp(long property, long value, long flags);
    HRESULT GetProcAmp(long property, long* min, long* max, long* step, long* defaultValue, long* caps);
    BOOL ReadBridgeRegister(BYTE reg, BYTE* value);
    HRESULT ForwardAccessReserved(BOOL flag);

    // ---- colour format codes ----
    static int ColorFormatFromSubtype(REFGUID subtype);
    static GUID SubtypeFromColorFormat(int code);

protected:
    // Stops and joins the card's threads (the auxiliary thread, then the remote thread). Every
    // card class calls it first in its destructor: the threads call the class's own operations.
    void StopCardThreads();
    // Stops, joins and deletes the auxiliary thread.
    void ReleaseAuxThread();
    // Create after its first steps: under "Mutex_Remote_Control" (not had within a second: FALSE,
    // after a message box with `lockFailureText` when one is given) InitAccess, then with an
    // access object the output pins, the tuner maker and model, and the tuner.
    BOOL OpenCard(const char* lockFailureText);
    // Clears the per-open fields (Create's first step); releases what is still held.
    void ResetCardState();
    void InitKeshMaps();
    // Takes `access` (made with new (std::nothrow); null: E_OUTOFMEMORY) as the card's access:
    // Init with the driver's filter and this card (deleted when that fails), the kind recorded,
    // then Open with TRUE, whose result other than S_OK answers E_FAIL.
    HRESULT OpenAccess(CCustomDataAccess* access, int kind);
    // A new access object of class Access, kept as the card's with `kind` recorded, not yet
    // initialised: E_FAIL while an access object is held, E_OUTOFMEMORY when none is made.
    template <class Access>
    HRESULT NewAccess(int kind) {
        if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
        m_pAccess = new (std::nothrow) Access();
        if (m_pAccess == nullptr) return E_OUTOFMEMORY;
        m_nAccessKind = kind;
        return S_OK;
    }
    // The access set-up of the cards on a property-set driver: E_FAIL while an access object is
    // held; the kind cleared; E_POINTER without the driver's filter; else OpenAccess of a new
    // object of the access class (CKsPropertyAccess unless the card names another).
    template <class Access = CKsPropertyAccess>
    HRESULT OpenKsPropertyAccess(int kind) {
        if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
        m_nAccessKind = ACCESS_KIND_NONE;
        if (m_pFilter == nullptr) return E_POINTER;
        return OpenAccess(new (std::nothrow) Access(), kind);
    }
    // The capture filter's IAMTVTuner into `kept` (capture pin, interleaved media type, else
    // video) and its filter as the card's tuner filter. S_OK at once while `kept` holds one.
    HRESULT FindCaptureTVTuner(CComPtr<IAMTVTuner>& kept);
    // The same search for interface `iid` into *kept (a COM pointer slot; S_OK at once while it
    // holds one), then the IBaseFilter of what was found into `filter`. The capture graph
    // builder brings the driver's upstream devices into the filter graph while it searches.
    // E_FAIL without the driver's filter, the owner graph or its capture graph builder.
    HRESULT FindCaptureDevice(REFIID iid, void** kept, CComPtr<IBaseFilter>& filter);
    template <class I>
    HRESULT FindCaptureDevice(REFIID iid, CComPtr<I>& kept, CComPtr<IBaseFilter>& filter) {
        // The slot itself: CComPtr's operator& would release what it holds.
        return FindCaptureDevice(iid, reinterpret_cast<void**>(&kept.p), filter);
    }
    // The upstream search of the cards whose tuner, crossbar and TV-audio devices are filters
    // of their own: the driver's filter enters the owner's filter graph under the wrapper's
    // name, `search` runs (the card's Find... calls), and the filter is taken out again (the
    // graph adds the card for good after construction); the devices found stay in the graph.
    // FALSE, with nothing added or searched, without the driver's filter, the owner graph, its
    // filter graph or its capture graph builder.
    BOOL SearchUpstreamInGraph(const std::function<void()>& search);
    // The tuner device upstream of this card's own capture filter, as the capture graph
    // builder finds it (never merely the first device of a name, which may sit on another
    // board of the same kind), as the card's tuner filter; the devices the search brought into
    // the owner graph are taken out again. E_FAIL without an owner graph or a tuner upstream,
    // and, when `name` is given, for a tuner device whose friendly name is not that name
    // (FriendlyNameMatches: a numbered name of the same device matches).
    HRESULT FindOwnTunerDevice(const char* name = nullptr);
    // Takes an upstream device out of the owner's filter graph (nothing without one) and
    // releases the card's pointer to it.
    void RemoveUpstreamFilter(CComPtr<IBaseFilter>& filter);
    // Factory letter of an EEPROM byte: the byte for 'A', 'E', 'G', 'L', 'P', 'T', 'X', else 'N'.
    static int FactoryFromByte(BYTE value);
    // One EEPROM byte through the access object; S_OK only when it was read.
    HRESULT ReadEepromByte(BYTE address, BYTE* value);
    // How a card moves one EEPROM byte (the access object's I2C transfer, or a road of its own).
    typedef std::function<HRESULT(BYTE address, BYTE value)> EepromByteWriter;
    typedef std::function<HRESULT(BYTE address, BYTE* value)> EepromByteReader;
    // WriteEeprom and ReadEeprom over a card's byte road: the same argument tests, results
    // and counts (E_POINTER without an access object).
    HRESULT WriteEepromBytes(const EepromByteWriter& write, BYTE* buffer, BYTE address, int* count, DWORD delayMs);
    HRESULT ReadEepromBytes(const EepromByteReader& read, BYTE* buffer, BYTE address, int* count);
    // GetTunerInfo of the standard layout over a card's byte road: the maker letter at the
    // factory byte address (FactoryFromByte), the model at the model byte address; the result
    // is the model read's, and the outputs change only for what was read.
    HRESULT ReadTunerInfo(const EepromByteReader& read, int* factory, int* model);
    // The tuner in the Kesh layout: the maker letter at 104 and the KeshTunerID at 65 (low) and
    // 66 (high), mapped to its TUNER_MODEL (0 for an id without one). The result is S_OK only
    // when both id bytes were read; the outputs change only for what was read.
    HRESULT ReadKeshTunerInfo(int* factory, int* model);
    // The two-bit audio switch: after 300 ms the GPIO word is read; bits 12-13 become the source
    // (0, 1 or 2) when `on` (any other source keeps them), 11 when off; written with `writeMask`.
    // E_POINTER without an access object; a failed read is returned and nothing written.
    HRESULT SelectTwoBitAudio(int source, BOOL on, DWORD writeMask);
    // GetRemoteData of the standard pin layout over a GPIO read of the card's choice.
    BOOL CollectStandardKey(const GpioReader& read, BYTE* key);

    CRemoteThread* m_pRemoteThread = nullptr;
    CCustomDataAccess* m_pAccess = nullptr;
    HWND m_hNotifyWnd = nullptr;
    CTunerBase* m_pTuner = nullptr;
    int m_nAccessKind = ACCESS_KIND_NONE;
    int m_nFactory = 'N';
    int m_nTunerModel = 0;
    CRootPin* m_pCapturePin = nullptr;
    CRootPin* m_pPreviewPin = nullptr;
    CComPtr<IBaseFilter> m_pTunerFilter;
    std::string m_strTunerFilterName;
    std::map<int, int> m_mapKeshIdToModel;
    std::map<int, int> m_mapModelToKeshId;
    int m_bDirectAccess = 1;
    BYTE m_ucFactoryAddr = 0x20;
    BYTE m_ucModelAddr = 0x21;
    BYTE m_ucEepromAddr = 0xA0;
    int m_nRemotePeriod = 100;
    int m_nDerivedA = 0;
    int m_nDerivedB = 0;
    CThread* m_pAuxThread = nullptr;
    int m_nDerivedC = 0;
    int m_nEepromLayout = 0;
};
