// The MPEG encoder a board may carry, as its driver publishes it ("Rivesk MPEG Encoder" in
// KSCATEGORY_ENCODER): inputs "656" (UYVY pictures) and "I2S" (48 kHz stereo PCM) that take only
// the ports of the same name on their own board's capture filter, and two outputs carrying the
// same MPEG-2 program stream.
//
// Its settings are a property set on IKsPropertySet (kEncoderPropertySet unless the board's
// kind names its encoder's own set), one buffer serving as instance and data:
// id 0 the rate record {mode, average, maximum} in bit/s (average <= maximum <= 15 Mbit/s),
// id 2 the GOP length in pictures (one byte), id 4 one byte, ids 1 and 5 to 9 four bytes each,
// kept and read back. A wrong size, an unknown id, a rate record out of range, or a change
// while the filter is not stopped is refused and changes nothing. Every request goes to the
// encoder's wire log.
//
// Leaving Stop opens the coder at the 656 connection's size and rate with the settings' rates
// and GOP; pictures and sound code as they arrive (on their upstream threads, one at a time),
// and the program stream goes out on the connected outputs as it is made. Stopping passes on
// what the coder still holds. The board's stop (EncoderStopsAfterMs / EncoderStopsAfterBytes)
// ends the stream silently: after that many milliseconds of pictures, or that many bytes of
// the stream (each output carries them once), nothing more goes out, at the stop neither.
#pragma once

#include <array>
#include <mutex>

#include "hwsim/boards/Card.h"
#include "hwsim/bus/WireLog.h"
#include "hwsim/chips/Mpeg2Encoder.h"
#include "platform/dshow/CriticalSection.h"
#include "platform/dshow/FilterBase.h"

namespace hwsim {

// {5A1D0C0A-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kEncoderFilterClsid = {0x5A1D0C0A, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};
// {D2185A40-0398-11D3-A53E-00A0C9EF506A}
inline constexpr GUID kEncoderPropertySet = {0xD2185A40, 0x0398, 0x11D3, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};
// {CFA8C7E7-5FF7-40D3-9B37-C45CBCC9BD53}: the Fimbrel card's encoder settings.
inline constexpr GUID kFimbrelEncoderSet = {0xCFA8C7E7, 0x5FF7, 0x40D3, {0x9B, 0x37, 0xC4, 0x5C, 0xBC, 0xC9, 0xBD, 0x53}};
inline constexpr const wchar_t* kEncoderDeviceName = L"Rivesk MPEG Encoder";
inline constexpr DWORD kEncoderMaxBitRate = 15000000;

class EncoderFilter : public platform::dshow::FilterBase {
public:
    struct RateRecord {
        DWORD mode;
        DWORD averageBitRate;
        DWORD maximumBitRate;
    };

    // `log` is the board's encoder wire log (shared by every bind of the device); `set` the
    // property set of its settings.
    EncoderFilter(Card& card, WireLog& log, const GUID& set = kEncoderPropertySet);

    Card& GetCard() const { return m_card; }
    RateRecord Rates() const;
    BYTE Gop() const;

protected:
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    HRESULT OnReceive(platform::dshow::PinBase* pin, IMediaSample* sample) override;

private:
    HRESULT Property(platform::dshow::KsPropertyRequest& request);
    // Size of property `id`, 0 for an unknown id.
    static DWORD PropertySize(DWORD id);
    // Sends what the coder made on every connected output. Called with m_codeLock held.
    HRESULT PassOn();

    Card& m_card;
    WireLog& m_log;
    mutable std::mutex m_settingsLock;
    RateRecord m_rates{0, 6000000, 8000000};
    std::array<BYTE, 10 * 4> m_values{};  // ids 1 to 9 by id * 4 (id 2 and 4 one byte)
    // The coder and what it made; held while that goes downstream. A platform lock: a stream
    // thread queueing for it counts as waiting on the platform clock.
    platform::dshow::CriticalSection m_codeLock;
    Mpeg2Encoder m_encoder;
    // What this run coded, and the bytes of the stream it passed on, against the board's stop.
    ULONGLONG m_pictures = 0;
    ULONGLONG m_passedBytes = 0;
    bool Stopped() const;
    platform::dshow::PinBase* m_656 = nullptr;
    platform::dshow::PinBase* m_i2s = nullptr;
};

}  // namespace hwsim
