// The tuner-module classes of maker P: each the module of its row with operations of its own.
#pragma once

#include <atomic>

#include "tuners/TDA8275A.h"
#include "tuners/TunerI2CBridge.h"
#include "tuners/TunerModules.h"

// CTuner_P92: tuner model 92: its own FM tuning (the module prepared, the demodulator in radio
// mode, 50 kHz steps), a clamped six-byte TV tuning with the 33900 kHz IF for SECAM_L1, its TV
// status through map A, and table S8.
class CTuner_P92 : public CTunerModuleClass<CTuner_P92, 92> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_P92() override { StopScan(); }

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_P93: tuner model 93: a clamped six-byte TV tuning, its TV status through map B, table S9.
class CTuner_P93 : public CTunerModuleClass<CTuner_P93, 93> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_P93() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_P94: tuner model 94: its TV status through map A; fixed sequence F4.
class CTuner_P94 : public CTunerModuleClass<CTuner_P94, 94> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_P94() override { StopScan(); }

    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_P95: tuner model 95, the TDA8275A tuner behind the TDA8290 IF demodulator's I2C gate.
// Tuning runs the two chips' sequence with the demodulator's current standard and then writes
// its register set; the lock test is the card's video-decoder lock.
class CTuner_P95 : public CTunerModuleClass<CTuner_P95, 95> {
public:
    explicit CTuner_P95(CCustomDataAccess* pAccess);
    ~CTuner_P95() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

    CTDA8275A& GetTDA8275A() { return m_tda8275a; }

private:
    CTunerI2CBridge m_bridge;
    CTDA8275A m_tda8275a;
};

// CTuner_P96: tuner model 96: a clamped six-byte TV tuning ending in 0x50, its TV status through
// map A, fixed sequence F5.
class CTuner_P96 : public CTunerModuleClass<CTuner_P96, 96> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_P96() override { StopScan(); }

    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};

// CTuner_P97: tuner model 97: locked only when the video decoder at 0x42 sees a picture, a
// clamped tuning, its TV status through map C read at 0x86, and table S9.
class CTuner_P97 : public CTunerModuleClass<CTuner_P97, 97> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_P97() override { StopScan(); }

    BOOL IsTVChannelLocked() override;
    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

    // The video decoder the lock test reads (the USB card filter probes for it).
    void SetDemodAddress(long address) { m_lDemodAddress = address; }
    long GetDemodAddress() const { return m_lDemodAddress; }

private:
    std::atomic<long> m_lDemodAddress{0x42};  // the video decoder its lock test reads
};

// CTuner_P98: tuner model 98: the IF demodulator set for FM after each FM tuning, its FM
// status, its TV status through map A, fixed sequence F4.
class CTuner_P98 : public CTunerModuleClass<CTuner_P98, 98> {
public:
    using CTunerModuleClass::CTunerModuleClass;
    ~CTuner_P98() override { StopScan(); }

    BOOL SetFMChannelFreq(float kHz) override;
    BOOL GetFMChannelOkay(DWORD* status) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;
};
