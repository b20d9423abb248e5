// CMpeg2BoxTuning: tuning the MPEG-2 box's PLL tuner through box register requests, by
// frequency and by channel number, and the lock wait that follows each tuning. Dividers are
// counts of 62.5 kHz above the 38.9 MHz picture IF.
#pragma once

#include <unknwn.h>
#include <windows.h>

class CMpeg2BoxTuning {
public:
    static constexpr DWORD kTuner = 0x60;

    // One region's tuner and band control words.
    struct Region {
        DWORD device;
        WORD wHigh;
        WORD wMid;
        WORD wLow;
    };
    static const Region kRegions[6];
    // Region 3's dividers by channel (entry 0 unused; entry 63 is 0).
    static const WORD kRegion3Dividers[64];

    // Tunes the tuner at 0x60 to `kHz`, then waits for lock; TRUE when the write succeeded.
    static BOOL SetFrequency(IUnknown* pFilter, DWORD kHz);
    // Tunes channel `channel` of `region` (0 to 5), from the cable table when bCable is set;
    // FALSE for a channel or region the tables do not hold, with nothing sent.
    static BOOL SetChannel(IUnknown* pFilter, int region, int channel, BOOL bCable);
    // The divider and control word SetChannel sends; FALSE where it refuses.
    static BOOL ChannelDivider(int region, int channel, BOOL bCable, WORD* pDivider, WORD* pControl);
    // Polls the tuner's lock bit: at most 50 reads, 10 ms apart, until one fails or shows lock.
    // Always TRUE; the channel is not used.
    static BOOL WaitForLock(IUnknown* pFilter, DWORD device, int channel);
};
