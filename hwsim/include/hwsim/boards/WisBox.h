// The USB encoder box on the WIS GO7007SB ("Jorsk A/V Capture"): its driver and its one capture
// filter. The driver answers the I2C interface of the WIS driver (IWisI2C, wire-logged as
// WisDriver does) and the encoder interfaces: IWisEncoderControl (entry 3 the current
// configuration, entry 6 the capability block of WisEncoderCapabilities) and
// IWisFormatExtension (entry 3 records the extension it is handed). Every encoder call is
// recorded on the driver's call list ("GetCurrentConfig", "GetCapabilities",
// "SetFormatExtension 4 352 288 25025 2000000": compress mode, size, frame rate, bit rate); a test
// can take any of the three interfaces away (SetAbsent with "IWisI2C", "IWisEncoderControl",
// "IWisFormatExtension") or make a call fail (SetFailing with the call's name).
//
// The filter's output pins "Video Capture" and "Video Preview" offer, on IAMStreamConfig, MPEG-1
// (FORMAT_MPEGVideo) at the two 352-pixel sizes, MPEG-2 (FORMAT_MPEG2Video) and MPEG-4
// (FORMAT_VideoInfo, one capability per biCompression code: the encoder's own 0x04504D57, DX50,
// MP4S, DIVX; biSize counts the extension) at every size of the capability block; each block has
// room for the 1428-byte encoder extension behind its normal part unless the driver was told to
// offer short blocks (kWisShortBlockRoom bytes behind the normal part). "Audio Capture" offers
// PCM at 48000 and 32000 Hz, 16-bit stereo. The pins' current formats keep the whole block as
// set. The analog inputs take the box's crossbar.
//
// When a bench plugs a box, the repository's "video_profiles.txt" is put into the Windows folder
// of the state directory unless one is there, as the box's driver package would.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "hwsim/drivers/DeviceDriver.h"
#include "hwsim/drivers/WisDriver.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"
#include "wisencoder.h"

namespace hwsim {

// {5A1D0C0E-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kWisBoxFilterClsid = {0x5A1D0C0E, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

inline constexpr const char kWisBoxName[] = "Jorsk A/V Capture";

// The encoder extension's bytes in a format block.
inline constexpr unsigned long kWisExtensionSize = sizeof(TCFG_FORMAT_EXTENSION);
// The bytes a short block has behind its normal part: too few for the extension.
inline constexpr unsigned long kWisShortBlockRoom = 16;

class WisBoxDriver : public WisDriver {
public:
    explicit WisBoxDriver(Card& card);

    HRESULT QueryDriverInterface(IUnknown* filter, REFIID riid, void** ppv) override;

    // The encoder calls and faults (DeviceDriver's list, absences and failures).
    DeviceDriver& Encoder() { return m_encoder; }

    // ---- the encoder interfaces' entries ----
    HRESULT GetCurrentConfig(EncoderConfig* config);
    HRESULT GetCapabilities(EncoderCapabilities* caps);
    HRESULT SetFormatExtension(TCFG_FORMAT_EXTENSION* extension, DWORD* result);

    // ---- what the box answers ----
    // The current configuration's profile name and AnalogVideoStandard mask (default "DVD",
    // the 625-line standards 0x7F0).
    void SetCurrentProfile(const std::string& name, LONG standard);
    // The capability block states 31 stream capabilities, one more than its array holds.
    void SetOverstatedCounts(bool on);
    // The video pins' blocks have kWisShortBlockRoom bytes behind their normal part, too few for
    // the extension; read when a filter is made.
    void SetShortFormatBlocks(bool on);
    bool ShortFormatBlocks() const;
    // The extensions IWisFormatExtension was handed, in order.
    std::vector<TCFG_FORMAT_EXTENSION> Extensions() const;

private:
    DeviceDriver m_encoder;
    mutable std::mutex m_lock;
    std::string m_profile = "DVD";
    LONG m_standard = 0x7F0;
    bool m_overstated = false;
    bool m_shortBlocks = false;
    std::vector<TCFG_FORMAT_EXTENSION> m_extensions;
};

class WisBoxFilter : public platform::dshow::With<platform::dshow::FilterBase> {
public:
    explicit WisBoxFilter(std::shared_ptr<WisBoxDriver> driver);

    // Also answers the driver's interfaces.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    // Noted on the card ("capture").
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;

private:
    const std::shared_ptr<WisBoxDriver> m_driver;
};

// Copies the repository's profile file into the Windows folder of the state directory when
// none is there.
void InstallWisProfileFile();

}  // namespace hwsim
