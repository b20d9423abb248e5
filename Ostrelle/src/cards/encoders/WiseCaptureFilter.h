// CWiseCaptureFilter: the card of the USB MPEG encoder boxes on the WIS GO7007SB. The driver's
// one capture filter carries the tuner, the video decoder, the audio input and the encoder, with
// the output pins "Video Capture", "Video Preview" and "Audio Capture". The box's I2C bus
// (configuration EEPROM at 0xA0, remote-key controller at 0xBB, video decoder at 0x41) is
// reached only through CWisAccess's extended requests; the encoder through the driver's
// IWisEncoderControl and IWisFormatExtension and through the encoder extension
// (TCFG_FORMAT_EXTENSION) behind the normal format block of each video pin.
//
// Opening reads the driver's capability block and the station's "video_profiles.txt" against
// it; a box without either is not offered. A caller then asks for a stream, frame rate, size
// and bit rate: SetEncoderProfile picks the file's matching settings, checks them against the
// combinations the driver's current profile allows and writes them to both video pins.
//
// Threads: as CTVCardFilter; the encoder operations run on the thread that owns the card.
#pragma once

#include <afx.h>

#include <vector>

#include "cards/base/TVCardFilter.h"
#include "cards/encoders/WisProfileTables.h"
#include "wisencoder.h"

class CWisAccess;
struct IWisEncoderControl;

constexpr int ACCESS_KIND_WIS = 18;

// The audio format of SetAudioFormat and GetAudioFormat; each field mirrors the WAVEFORMATEX
// field of the same meaning.
struct AudioFormatInfo {
    DWORD formatTag;
    DWORD samplesPerSec;
    DWORD channels;
    DWORD bitsPerSample;
    WORD blockAlign;
    DWORD avgBytesPerSec;
    WORD reserved;  // neither read nor written
    WORD extraSize;  // GetAudioFormat sets it to 0
};

class CWiseCaptureFilter : public CTVCardFilter {
public:
    static constexpr const char kDriverFilterName[] = "WIS GO7007SB A/V Capture";
    static constexpr BYTE kEepromDevice = 0xA0;
    static constexpr BYTE kKeyDevice = 0xBB;
    static constexpr BYTE kKeyReadyRegister = 0x30;
    static constexpr BYTE kKeyRegister = 0x31;
    static constexpr BYTE kDecoderDevice = 0x41;
    static constexpr BYTE kDecoderStatus = 0x1F;
    static constexpr BYTE kDecoder525Lines = 0x20;
    static constexpr DWORD kBusFlags = 0x8000;
    static constexpr DWORD kEepromSpacingMs = 50;
    static constexpr int kDefaultModel = 72;
    static constexpr int kDefaultFactory = 'L';

    CWiseCaptureFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CWiseCaptureFilter(CRootGraph* owner, REFCLSID clsid);
    ~CWiseCaptureFilter() override;

    // ---- CTVCardFilter slots ----
    void InitNames() override;
    // Under "Mutex_Remote_Control" (not had: the message box "Initfilter lock failed"): the WIS
    // access, the capability block (refused when its counts exceed its arrays), the profile
    // file, then the tuner maker and model and the tuner. FALSE when any of them is missing.
    BOOL Create() override;
    // The box has no audio switch: 0.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // Register 0x30 of the key controller reads 1 while a key waits; register 0x31 is the key.
    BOOL GetRemoteData(BYTE* key) override;
    // The whole buffer (2 to 256 bytes) as EEPROM bytes from address 0, 50 ms apart.
    HRESULT I2CWrite(BYTE* buffer, int count) override;
    // Each byte through the extended write, then Sleep(delayMs); S_OK or the first failure.
    HRESULT WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) override;
    // Each byte through the extended read, 50 ms apart; *count becomes the number read; S_OK
    // only when every byte was read.
    HRESULT ReadEeprom(BYTE* buffer, BYTE address, int* count) override;
    BOOL InitTuner() override;
    // Maker letter at 0x11 ('L' for a letter the station does not know), model at 0x10 (72 for
    // 0 or an unreadable byte); the result of the model read.
    HRESULT GetTunerInfo(int* factory, int* model) override;

    // ---- slots of its own ----
    // The tuner's standard first when it asks for it again, then the frequency.
    virtual BOOL TuneWithStandard(float kHz);
    virtual BOOL CreateWisAccess();

    // ---- the encoder ----
    BOOL QueryCapabilities(EncoderCapabilities* caps);
    BOOL GetCurrentConfig(EncoderConfig* config);
    // `stream` indexes the file's stream settings; the rest select settings by content. FALSE,
    // with the pins untouched, when a setting is missing or cannot be combined.
    BOOL SetEncoderProfile(long standard, int stream, int frameRate, int width, int height, int bitrate,
                           BOOL highestBitrate, BOOL fixedQuality, int peakBitrate, BYTE quantiser);
    // The combinations the driver's current profile allows; TRUE when there is one.
    BOOL RefreshCombinations();
    // Sets the pin's capability that matches the configuration's stream, size and frame rate,
    // with the encoder extension behind the normal format block where the block has room.
    BOOL ApplyPinFormat(IAMStreamConfig* config, EncoderConfig* c);
    BOOL IsFrameRateValid(int stream, int frameRate);
    BOOL IsResolutionValid(int stream, int frameRate, int resolution);
    BOOL IsBitrateAllowed(int stream, int frameRate, int resolution, int bitrate);
    BOOL GetBitrateRange(long standardMask, int width, int height, DWORD* min, DWORD* max);
    BOOL SetAudioFormat(AudioFormatInfo* info);
    BOOL GetAudioFormat(AudioFormatInfo* info);
    // TRUE only when the matching capability was set.
    BOOL ApplyAudioFormat(IAMStreamConfig* config, AudioFormatInfo* info);
    // A 525-line picture: AnalogVideo_NTSC_M, else AnalogVideo_PAL_D; FALSE when the decoder
    // cannot be read.
    BOOL DetectVideoStandard(long* standard);
    BOOL ListFrameRateNames(long standard, CStringArray& names);
    int BuildVolHeader(LONG_PTR ignored, TCFG_FORMAT_EXTENSION* extension, BYTE** out);

    const EncoderCapabilities& GetCapabilities() const { return m_capabilities; }
    const ProfileTables& GetProfileTables() const { return m_tables; }
    const std::vector<ValidCombination>& GetCombinations() const { return m_combinations; }
    IWisEncoderControl* GetEncoderControl() const { return m_pEncoderControl; }

private:
    CWisAccess* WisAccess() const;
    // Steps of RefreshCombinations into `config`.
    BOOL RebuildCombinations(EncoderConfig* config);
    BOOL HasCombination(DWORD stream, DWORD frameRate, const DWORD* resolution) const;
    // The pin's IAMStreamConfig; null without the pin or the interface.
    CComPtr<IAMStreamConfig> PinStreamConfig(const char* name);

    IWisEncoderControl* m_pEncoderControl = nullptr;
    EncoderCapabilities m_capabilities = {};
    std::vector<ValidCombination> m_combinations;
    ProfileTables m_tables = {};
};
