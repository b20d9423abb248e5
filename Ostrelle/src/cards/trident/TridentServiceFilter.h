// CTridentServiceFilter: the card base of the capture devices on the Trident video bridge and
// its USB relatives (the "RiriRir Capture" card, the "Ivlen Capture" and "Trident Yolm Capture"
// boxes, the Elgrin and Wandry boxes). What they share beyond CTVCardFilter:
//   - opening: under "Mutex_Remote_Control" InitAccess (its result not used: a card whose access
//     fails is still created, its EEPROM bytes then fail in the access object), the output
//     pins, the tuner maker and model, the tuner; the result is the tuner's;
//   - the EEPROM mark byte at EEPROM address 3 (ReadEepromByte7);
//   - the I2C remote-key controller at 0xBB: register 0x30 reads 1 while a key waits, register
//     0x31 is the key; a key is acknowledged by writing 0xFF to 0x31;
//   - the service operations the bench tools call: the largest UYVY capture size, the capture
//     format, the bridge registers 0x3A, 0x3C and 0x80, tuning.
#pragma once

#include <amvideo.h>

#include "cards/base/TVCardFilter.h"

class CTridentServiceFilter : public CTVCardFilter {
public:
    static constexpr BYTE kKeyController = 0xBB;
    static constexpr BYTE kKeyReadyRegister = 0x30;
    static constexpr BYTE kKeyRegister = 0x31;
    static constexpr BYTE kMarkAddress = 3;
    static constexpr BYTE kBridgeReg3A = 0x3A;
    static constexpr BYTE kBridgeReg3C = 0x3C;
    static constexpr BYTE kBridgeReg80 = 0x80;

    using CTVCardFilter::CTVCardFilter;

    // Clears the card fields; FALSE for an invalid wrapper or when "Mutex_Remote_Control" is not
    // had within a second; else InitAccess (whatever it answers), the output pins,
    // IdentifyTuner and InitTuner, whose result is answered.
    BOOL Create() override;
    // Key-ready register 0x30 of the controller at 0xBB must read 1, then register 0x31 is the
    // key. FALSE without an access object or a key.
    BOOL GetRemoteData(BYTE* key) override;
    // The EEPROM mark byte at address 3; 0 when it cannot be read.
    BYTE ReadEepromByte7() override;

    // ---- service operations ----
    // The largest MaxCroppingSize among the capture pin's UYVY VideoInfo capabilities that name
    // a video standard (standard 0 is skipped). FALSE without an output, the driver's filter or
    // the owner graph, or when no capability fits.
    BOOL GetMaxUyvySize(SIZE* size);
    // Writes the template's frame time, rates, rectangles and bitmap header over the current
    // format of the pin (pinKind 1 the capture pin, else the preview pin), biSizeImage computed
    // for the image, with the subtype of `subtypeCode` (0 RGB555, 1 RGB24, 2 YUY2, 3 YVU9,
    // 4 YV12, other UYVY), and sets it. S_FALSE without the driver's filter or owner graph,
    // E_POINTER without a template, E_INVALIDARG when the current format does not carry a whole
    // VIDEOINFOHEADER, else the failure of the search, the format read or SetFormat.
    HRESULT SetCaptureFormat(int subtypeCode, const VIDEOINFOHEADER* format, int pinKind);
    // TRUE without an access object, when the read fails, or when bit 0 of register 0x3A is
    // clear (3C: set).
    BOOL TestBridgeReg3A();
    BOOL TestBridgeReg3C();
    // TRUE when the bridge took the write; FALSE without an access object.
    BOOL WriteBridgeReg80(BYTE value);
    BOOL WriteBridgeRegister(BYTE reg, BYTE value);
    // (ReadBridgeRegister is CTVCardFilter's.)
    BOOL SetChannelFrequency(float kHz);
    // Writes 0xFF to the key register 0x31; TRUE when written.
    BOOL AckRemoteKey();

protected:
    // Create's tuner step: the maker and model (ReadFactoryModel).
    virtual void IdentifyTuner();
    // The mark byte equals `mark`.
    BOOL HasEepromMark(BYTE mark);
    // The access object's GPIO_Write(value, mask); TRUE on a success code, FALSE without one.
    BOOL WriteGpio(DWORD value, DWORD mask);
};
