// CMpeg2BoxTuning: tuning the MPEG-2 box's PLL tuner through box register requests.
#include "access/Mpeg2BoxTuning.h"

#include "access/Mpeg2BoxAccess.h"

namespace {

constexpr BYTE kModeTuner = 10;
constexpr BYTE kModeTunerRegion5 = 18;
constexpr BYTE kModeLockPoll = 1;
constexpr DWORD kLockRegister = 142;
constexpr DWORD kLockBit = 0x40;
constexpr int kLockPolls = 50;
constexpr DWORD kLockPollMs = 10;
constexpr int kRegion3 = 3;
constexpr int kRegion5 = 5;

enum Band { kLow, kMid, kHigh };

// One run of channels: first to last, divider = base + 96 * (channel - first), in a band.
struct Run {
    int first;
    int last;
    WORD base;
    Band band;
};
constexpr Run kCableRuns[] = {
    {2, 4, 1616, kLow}, {5, 6, 1968, kLow}, {7, 13, 3536, kMid}, {14, 69, 8272, kHigh},
};
constexpr Run kAirRuns[] = {
    {1, 1, 1904, kLow},    {2, 4, 1616, kLow},    {5, 6, 1968, kLow},     {7, 13, 3536, kMid},
    {14, 20, 2672, kLow},  {21, 22, 3344, kMid},  {23, 62, 4208, kMid},   {63, 94, 8048, kHigh},
    {95, 99, 2192, kLow},  {100, 125, 11120, kHigh},
};
// Region 3's bands by channel: with the cable flag 1-3 low, 4-12 mid, 13-62 high; without it
// 1-3 low, 4-12 mid, 13-21 low, 22-63 mid.
constexpr Run kRegion3Cable[] = {{1, 3, 0, kLow}, {4, 12, 0, kMid}, {13, 62, 0, kHigh}};
constexpr Run kRegion3Air[] = {{1, 3, 0, kLow}, {4, 12, 0, kMid}, {13, 21, 0, kLow}, {22, 63, 0, kMid}};

template <size_t N>
const Run* FindRun(const Run (&runs)[N], int channel)
{
    for (const Run& run : runs) {
        if (channel >= run.first && channel <= run.last) return &run;
    }
    return nullptr;
}

WORD BandWord(const CMpeg2BoxTuning::Region& region, Band band)
{
    return band == kLow ? region.wLow : band == kMid ? region.wMid : region.wHigh;
}

}  // namespace

const CMpeg2BoxTuning::Region CMpeg2BoxTuning::kRegions[6] = {
    {0x61, 0x8E01, 0x8E04, 0x8E02}, {0x61, 0x8E30, 0x8E90, 0x8EA0}, {0x60, 0x8E30, 0x8E90, 0x8EA0},
    {0x61, 0x8E08, 0x8E02, 0x8E01}, {0x60, 0x8E08, 0x8E02, 0x8E01}, {0x60, 0xCE04, 0xCE02, 0xCE01},
};

const WORD CMpeg2BoxTuning::kRegion3Dividers[64] = {
    0,     2192,  2288,  2384,  3472,  3568,  3664,  3760,  3824,  3920,  4016,  4112,  4208,  8272,  8368,  8464,
    8560,  8656,  8752,  8848,  8944,  9040,  9136,  9232,  9328,  9424,  9520,  9616,  9712,  9808,  9904,  10000,
    10096, 10192, 10288, 10384, 10480, 10576, 10672, 10768, 10864, 10960, 11056, 11152, 11248, 11344, 11440, 11536,
    11632, 11728, 11824, 11920, 12016, 12112, 12208, 12304, 12400, 12496, 12592, 12688, 12784, 12880, 12976, 0,
};

BOOL CMpeg2BoxTuning::SetFrequency(IUnknown* pFilter, DWORD kHz)
{
    TRACE("Freq : %d     ", static_cast<int>(kHz));
    const DWORD control = kHz < 170000 ? 0xCE01 : kHz < 450000 ? 0xCE02 : 0xCE08;
    const DWORD divider = ((kHz + 38900) * 16) / 1000;
    TRACE("SetChannel : %04x , %04x\n", static_cast<unsigned>(divider), static_cast<unsigned>(control));
    const BOOL ok = CMpeg2BoxAccess::SetBoxValue(pFilter, kTuner, kModeTuner, divider, control);
    WaitForLock(pFilter, kTuner, 0);
    return ok;
}

BOOL CMpeg2BoxTuning::ChannelDivider(int region, int channel, BOOL bCable, WORD* pDivider, WORD* pControl)
{
    if (region < 0 || region > kRegion5 || !pDivider || !pControl) return FALSE;
    const Run* run;
    WORD divider;
    if (region == kRegion3) {
        run = bCable ? FindRun(kRegion3Cable, channel) : FindRun(kRegion3Air, channel);
        // Entry 63 holds no divider: channel 63 is refused rather than tuned to 0.
        if (!run || kRegion3Dividers[channel] == 0) return FALSE;
        divider = kRegion3Dividers[channel];
    } else {
        run = bCable ? FindRun(kCableRuns, channel) : FindRun(kAirRuns, channel);
        if (!run) return FALSE;
        divider = static_cast<WORD>(run->base + 96 * (channel - run->first));
    }
    *pDivider = divider;
    *pControl = BandWord(kRegions[region], run->band);
    return TRUE;
}

BOOL CMpeg2BoxTuning::SetChannel(IUnknown* pFilter, int region, int channel, BOOL bCable)
{
    WORD divider = 0;
    WORD control = 0;
    if (!ChannelDivider(region, channel, bCable, &divider, &control)) return FALSE;
    const DWORD device = kRegions[region].device;
    BOOL ok;
    if (region == kRegion3) {
        ok = CMpeg2BoxAccess::SetBoxValue(pFilter, device, kModeTuner, control, divider);
    } else if (region == kRegion5) {
        ok = CMpeg2BoxAccess::SetBoxValue(pFilter, device, kModeTunerRegion5, divider,
                                          (static_cast<DWORD>(control) << 8) | 0xA0);
    } else {
        ok = CMpeg2BoxAccess::SetBoxValue(pFilter, device, kModeTuner, divider, control);
    }
    WaitForLock(pFilter, device, channel);
    return ok;
}

BOOL CMpeg2BoxTuning::WaitForLock(IUnknown* pFilter, DWORD device, int)
{
    for (int i = 0; i < kLockPolls; ++i) {
        if (i > 0) Sleep(kLockPollMs);
        DWORD value = 0;
        if (!CMpeg2BoxAccess::QueryBoxValue(pFilter, device, kModeLockPoll, kLockRegister, &value)) break;
        if (value & kLockBit) break;
    }
    return TRUE;
}
