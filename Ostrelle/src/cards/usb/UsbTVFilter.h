// The USB TV boxes on Empia EM28xx bridges: CUsbTVFilter adapts the card base to them. Its
// access object is CEm2800Access, opened by the capture device's FriendlyName (kept in the tuner
// filter name field); its tuner is a CUsbTuner (CTuner_P97 for model 97) that takes the module
// description of the factory's tuner of the same model, writes its PLL at 0xC6 and reads its
// lock from the box's video decoder. The tuner type comes from the box controller at 0x60
// (register 0x32) unless that says 0, when the EEPROM decides (maker letter at 0xC0, model at
// 0xC1). Remote keys come from the controller's registers 0x30 (key waiting) and 0x31 (key); the
// audio source is switched through the bridge's GPIO bits 0 to 2.
//
// CUsbTVCrossbarFilter is the crossbar base of the family: besides routing the crossbar, its
// video switch writes the input mode into the low nibble of the video decoder's register 2
// (read at 0x4B, written at 0x4A) through a vendor-access object of its own, open for the call.
#pragma once

#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CUsbTVFilter : public CTVCardFilter {
public:
    static constexpr const char kDefaultName[] = "USB 2800 Video";
    static constexpr int kAccessKind = 4;
    // The box controller (8-bit address) and its registers.
    static constexpr BYTE kControllerAddress = 0x60;
    static constexpr BYTE kKeyWaitingRegister = 0x30;
    static constexpr BYTE kKeyRegister = 0x31;
    static constexpr BYTE kTunerTypeRegister = 0x32;
    // The tuner's PLL write address, and the video decoders probed for its lock.
    static constexpr BYTE kPllWriteAddress = 0xC6;
    static constexpr BYTE kDecoderProbeAddress = 0x42;
    static constexpr BYTE kBoxDecoderReadAddress = 0x4B;
    // The model of a box whose EEPROM gives none the station knows.
    static constexpr int kUnknownEepromModel = 93;
    static constexpr DWORD kAudioSwitchDelayMs = 300;
    static constexpr int kLastScanAddress = 254;

    CUsbTVFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CUsbTVFilter(CRootGraph* owner, REFCLSID clsid);
    ~CUsbTVFilter() override;

    // The tuner filter name becomes the capture device's name.
    void InitNames() override;
    HRESULT GetVideoStandard(long* available, long* current) override;
    HRESULT SetVideoStandard(long standard) override;
    // Sleep(300 ms), then the GPIO byte with bits 0 and 1 for the source (0: 01, 1: 10, 2: 00;
    // bits 2 and 3 kept, the bits above cleared; other sources keep the word), or bits 0 to 2
    // set when off. E_POINTER without an access object; a failed read is answered and nothing
    // is written.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // The controller's key register while register 0x30 reads 1.
    BOOL GetRemoteData(BYTE* key) override;
    // A CEm2800Access opened by the tuner filter name; access kind 4. E_FAIL while one is held.
    HRESULT InitAccess() override;
    // The USB tuner of the card's model; an existing tuner is kept.
    BOOL InitTuner() override;
    // This family's tuner info, then model 69 when the EEPROM names it.
    HRESULT ReadFactoryModel() override;
    // The new tuner is made before the old one goes: when none is made, the old tuner, model and
    // maker stay and the answer is FALSE.
    BOOL SetTunerModel(int model) override;
    // Maker 'T' and the model of the controller's type code (code 0: the EEPROM's, 93 when it
    // cannot be read or names no known model). Always S_OK for two out pointers.
    HRESULT GetTunerInfo(int* factory, int* model) override;

    // The addresses 0 to min(maxAddress, 254) whose one-byte read has a bit of the tuner's lock
    // mask set, into out (room for 255); the count. 0 without tuner, access or out.
    int FindLockedAddresses(BYTE* out, int maxAddress);
    // The largest MaxCroppingSize among the capture pin's YUY2 capabilities of a video standard.
    BOOL GetMaxCaptureSize(SIZE* out);
    // The video decoder the tuner reads its lock from.
    BOOL GetDemodAddress(BYTE* out);
    // Forwards to the bridge's vendor interface: TRUE on a result that is not negative.
    BOOL AC97Read(BYTE reg, WORD* value);
    BOOL AC97Write(BYTE reg, WORD value);
    BOOL ReadRaw(DWORD id, void* data);
    BOOL WriteRaw(DWORD id, void* data);

protected:
    // Whether a box controller's key-waiting register is cleared before its key is read.
    enum class KeyAcknowledge { None, ClearWaitingFirst };
    // The key of a box controller at `device`: register 0x30 must read 1; ClearWaitingFirst
    // writes 0 to it and waits 10 ms before the key register is read.
    BOOL ReadBoxControllerKey(BYTE device, KeyAcknowledge acknowledge, BYTE* key);
    // The USB tuner of `model` on the card's access object, or null.
    CTunerBase* MakeUsbTuner(int model);
    // Opens a CEm2800Access by `deviceName` with access kind `kind`.
    HRESULT OpenEm2800Access(const char* deviceName, int kind);
};

class CUsbTVCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr BYTE kDecoderWriteAddress = 0x4A;
    static constexpr BYTE kDecoderReadAddress = 0x4B;
    static constexpr BYTE kInputModeRegister = 2;

    using CCrossbarFilter::CCrossbarFilter;

    // Input mode 2, 0 or 9 for sources 0, 1, 2 (0 for others) into the decoder's register 2,
    // its high nibble kept. FALSE, with nothing written, when the vendor device cannot be opened
    // or the register cannot be read.
    BOOL SetVideoInput(int source) override;
    // Video inputs 0, 1, 2; audio inputs 4, 5, 6.
    void InitRouteTable() override;

protected:
    // The vendor device the decoder is reached through.
    virtual const char* VendorDeviceName() const;
    // Steps of the decoder write alone.
    BOOL WriteDecoderInput(int source);
};
