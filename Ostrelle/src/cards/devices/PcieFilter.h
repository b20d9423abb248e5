// The Lurvan PCI Express dual-tuner card ("VORLANE Lurvan Audio/Video Capture") with its
// crossbar and TV-audio wrappers. The card reaches its hardware through the driver's own device
// interface (CPcieAccess), not through the capture filter: the device-instance index under which
// the graph bound the card picks the board and its half (the tuner pair and reset selector).
// Its tuner is fixed, the Xceive tuner of model 91 from maker 'E', addressed directly (access
// kind 0); nothing of it is read from the EEPROM. Remote keys come from the controller at I2C
// address 0xBB: register 0x30 reads 1 while a key waits, register 0x31 holds the key.
//
// While it opens, the card finds the driver's TV tuner device upstream of its capture filter
// through the capture graph builder (the tuner, crossbar and TV-audio devices enter the owner's
// graph on the way) and keeps it until it is destroyed, when it takes it out of the graph again.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVAudioFilter.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CPcieFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "VORLANE Lurvan Audio/Video Capture";
    static constexpr int kTunerModel = 91;
    static constexpr int kFactoryLetter = 'E';
    // The remote-key controller (8-bit address) and its registers.
    static constexpr BYTE kRemoteAddr = 0xBB;
    static constexpr BYTE kKeyReadyReg = 0x30;
    static constexpr BYTE kKeyReg = 0x31;

    // The category constructor keeps the device-instance index the graph bound the card under;
    // a card made by CLSID has index 0.
    CPcieFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CPcieFilter(CRootGraph* owner, REFCLSID clsid);
    // Stops the card's threads, releases the tuner interface, takes the tuner device out of the
    // owner's graph and releases it.
    ~CPcieFilter() override;

    // Tuner 'E' 91; FALSE for an invalid wrapper or when "Mutex_Remote_Control" is not had within
    // a second. The pins are looked up first, then under the mutex InitAccess and InitTuner,
    // whatever they answer: the card is created even without its device interface, and its
    // access object then fails every request. Access kind 0.
    BOOL Create() override;
    // TRUE with *key when register 0x30 read S_OK with 1 and register 0x31 then read S_OK. The
    // key register is not cleared here (AckRemoteKey). FALSE for a null key, without access.
    BOOL GetRemoteData(BYTE* key) override;
    // A CPcieAccess opened with the device-instance index as its flag (kept when the open fails),
    // then the upstream search for the tuner device (SearchUpstreamInGraph; skipped without an
    // owner graph or capture graph builder). Access kind 0; the open's result.
    HRESULT InitAccess() override;
    // Always locked: *locked = 1, S_OK (the tuner reads its own lock). E_POINTER for null.
    HRESULT IsSignalLocked(DWORD* locked) override;

    // The upstream IAMTVTuner (capture pin, interleaved media type, else video), kept with its
    // filter as the card's tuner filter. S_OK at once while one is kept.
    HRESULT FindTunerFilter();
    // Writes 0xFF to the controller's key register; TRUE when the write answered S_OK.
    BOOL AckRemoteKey();
    int GetDeviceIndex() const { return m_nDeviceIndex; }

    DECLARE_CARD_FILTER_CLASS();

private:
    int m_nDeviceIndex = 0;
    CComPtr<IAMTVTuner> m_pTVTuner;
};

// The default route table: video inputs 0, 1, 2 and audio inputs 3, 4, 5.
class CPcieCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "VORLANE Lurvan Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};

// The driver's TV-audio device; it adds nothing to CTVAudioFilter (a device without IAMTVAudio
// is dropped).
class CPcieAudioDecoderFilter : public CTVAudioFilter {
public:
    static constexpr const char kDeviceName[] = "VORLANE Lurvan Audio Decoder";

    using CTVAudioFilter::CTVAudioFilter;

    DECLARE_CARD_FILTER_CLASS();
};
