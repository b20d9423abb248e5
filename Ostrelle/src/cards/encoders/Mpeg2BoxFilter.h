// The USB MPEG-2 box ("Vorlane MPEG-2 Box") and its crossbar. The box has a hardware MPEG-2
// encoder and no I2C path of its own: its hardware access (CMpeg2BoxAccess, access kind 10)
// carries every chip request in box properties of the capture filter, whose IKsPropertySet
// the card keeps. Remote keys come from two box value requests to the key controller (7-bit
// device 0x5D): register 0x30 reads 1 while a key waits, register 0x31 is the key. The box has
// no GPIO audio switch. Its EEPROM sits at 0xA2.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

constexpr int ACCESS_KIND_MPEG2_BOX = 10;

class CMpeg2BoxFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "Vorlane MPEG-2 Box";
    // The box value requests of the key controller: device, mode, key-ready and key register.
    static constexpr DWORD kKeyDevice = 0x5D;
    static constexpr BYTE kKeyMode = 1;
    static constexpr DWORD kKeyReadyRegister = 0x30;
    static constexpr DWORD kKeyRegister = 0x31;

    using CTVCardFilter::CTVCardFilter;
    ~CMpeg2BoxFilter() override;

    void InitNames() override;
    // The base Create, then the capture filter's IKsPropertySet; FALSE without it.
    BOOL Create() override;
    // E_NOTIMPL whatever the arguments: the box has no audio switch.
    HRESULT SetAudioSource(int source, BOOL on) override;
    // A key when the key-ready register reads 1; the key register's byte as it stands.
    BOOL GetRemoteData(BYTE* key) override;
    // CMpeg2BoxAccess on the capture filter; a failed access object stays until ReleaseAccess.
    HRESULT InitAccess() override;

    IKsPropertySet* GetDevicePropertySet() const { return m_pDeviceProps; }

    DECLARE_CARD_FILTER_CLASS();

private:
    CComPtr<IKsPropertySet> m_pDeviceProps;
};

// Sources 0, 1, 2 by the crossbar's pin count: at most 5 pins (no tuner input): video -1, 0,
// 1 and audio -1, 2, -1; more: video 2, 0, 1 and audio 4, 3, -1. -1: the source has no input
// and its route is refused.
class CMpeg2BoxCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "Vorlane MPEG-2 Box Crossbar";
    static constexpr int kMaxPinsWithoutTuner = 5;

    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override;
    BOOL HasTunerInput() const { return m_nPinCount > kMaxPinsWithoutTuner ? TRUE : FALSE; }

    DECLARE_CARD_FILTER_CLASS();
};
