// CVendorAccess: the Empia EM28xx bridge reached through the private interface of the Empia
// capture driver's filter (IEmpiaDriver). It finds the bridge's capture device by FriendlyName
// (the given name, else the twelve known names), keeps the driver interface and offers
// bridge-register, I2C, GPIO, AC97 and raw property operations on it; it also finds the Empia
// audio devices and the names the Empia driver records in the registry.
//
// Driver operations come in a status form (the driver's HRESULT, or 6 when no interface is
// open, 5 for a GPIO mask mismatch or an AC97 time-out, 21 for an item not ready) and a
// boolean form, which records the status in the last-status field and is TRUE only for a
// status that is not negative and none of 5, 6 and 21.
//
// A transfer is a descriptor Set followed by its data transfer; a failed step Sets the
// descriptor to 0 before the failure is returned. The driver keeps one descriptor and one item
// selector per box, shared by every object that reaches it, so each pair (and the sequences
// built on them: the GPIO mask, the event bit, AC97, an item's select, ready and value) runs
// under one process-wide lock. A null data or value pointer is refused with E_POINTER before
// anything is sent (after the 6 of a closed object).
//
// The destructor releases the driver interface and the audio filters still held.
#pragma once

#include <dshow.h>

#include "empiadriver.h"

class CVendorAccess {
public:
    // Status numbers besides the driver's HRESULTs.
    static constexpr HRESULT kNotOpen = 6;
    static constexpr HRESULT kGpioOrAc97 = 5;
    static constexpr HRESULT kNotReady = 21;
    // Polls of the AC97 busy bit before an access gives up.
    static constexpr int kAc97Polls = 2000;

    CVendorAccess();
    ~CVendorAccess();
    CVendorAccess(const CVendorAccess&) = delete;
    CVendorAccess& operator=(const CVendorAccess&) = delete;

    // Sets every field to 0 (nothing is released).
    void Clear();

    // ---- opening ----
    // The interface (not AddRef'd for the caller) or 0.
    IEmpiaDriver* OpenByName(const char* name);
    IEmpiaDriver* OpenDefault();
    void Close();
    int IsDevicePresent(const char* name);
    int IsDefaultDevicePresent();

    // ---- finding devices: an AddRef'd filter or 0 ----
    IBaseFilter* FindDevice(REFGUID category, const char* name);
    IBaseFilter* FindVideoDevice(const char* name);
    IBaseFilter* FindKnownVideoDevice();
    IBaseFilter* FindDefaultVideoDevice();

    // ---- names ----
    BOOL QueryAudioDeviceName(char* name, wchar_t* wideName);
    BOOL QueryVideoDeviceName(char* name, wchar_t* wideName);
    int GetAudioDeviceName(char* name);
    int GetVideoDeviceName(char* name);

    // ---- audio filters ----
    BOOL OpenAudioFilters(char* name, IBaseFilter** capture, IBaseFilter** ksAudio, IBaseFilter** renderer);
    void ReleaseAudioFilters();

    // ---- driver operations: status forms ----
    HRESULT ReadRaw(DWORD id, void* data);
    HRESULT WriteRaw(DWORD id, void* data);
    HRESULT ReadBridgeRegisterStatus(BYTE reg, BYTE count, void* data);
    HRESULT WriteBridgeRegisterStatus(BYTE reg, BYTE count, void* data);
    HRESULT I2CReadStatus(BYTE dev, BYTE count, void* data);
    HRESULT I2CWriteStatus(BYTE dev, BYTE count, void* data);
    HRESULT ReadRegStatus(BYTE dev, BYTE sub, BYTE count, void* data);
    HRESULT WriteRegStatus(BYTE dev, BYTE sub, BYTE count, void* data);
    HRESULT I2CReadExStatus(BYTE dev, BYTE sub, WORD modeAndCount, void* data);
    HRESULT I2CWriteExStatus(BYTE dev, BYTE sub, WORD modeAndCount, void* data);
    HRESULT ReadGpioStatus(BYTE* data);
    HRESULT WriteGpioStatus(BYTE* data);
    HRESULT SelectItemStatus(DWORD item);
    HRESULT QueryItem(DWORD item, DWORD* value);

    // ---- driver operations: boolean forms ----
    BOOL GetValue(DWORD id, void* data);
    BOOL SetValue(DWORD id, void* data);
    BOOL ReadBridgeRegister(BYTE reg, BYTE count, void* data);
    BOOL WriteBridgeRegister(BYTE reg, BYTE count, void* data);
    BOOL I2CRead(BYTE dev, BYTE count, void* data);
    BOOL I2CWrite(BYTE dev, BYTE count, void* data);
    BOOL ReadReg(BYTE dev, BYTE sub, BYTE count, void* data);
    BOOL WriteReg(BYTE dev, BYTE sub, BYTE count, void* data);
    BOOL I2CReadEx(BYTE dev, BYTE sub, WORD modeAndCount, void* data);
    BOOL I2CWriteEx(BYTE dev, BYTE sub, WORD modeAndCount, void* data);
    BOOL ReadGpio(BYTE* data);
    BOOL WriteGpio(BYTE* data);
    BOOL SelectItem(DWORD item);

    // ---- register sequences ----
    HRESULT SetGpioInputMask(BYTE mask);
    BOOL TestAndClearEventBit();
    BOOL IsStatusSet();
    HRESULT AC97Read(BYTE reg, WORD* value);
    HRESULT AC97Write(BYTE reg, WORD* value);

    // ---- property pages ----
    HRESULT ShowPropertyPages(HWND parent);
    HRESULT ShowPropertyPages(HWND parent, const char* name);

    HRESULT GetLastStatus() const { return m_hrLastStatus; }

private:
    // The boolean form of a status: records it, TRUE when it is a success.
    BOOL Succeeded(HRESULT status);
    // Sets `descriptorId` to `descriptor`, then Gets or Sets `dataId`; a failed step Sets the
    // descriptor to 0. Under the process-wide lock.
    HRESULT Transfer(DWORD descriptorId, DWORD descriptor, DWORD dataId, bool read, void* data);
    BOOL ReadRegistryName(const char* key, const char* const* values, char* name, wchar_t* wideName);

    IEmpiaDriver* m_pDriver;
    IBaseFilter* m_pAudioCapture;
    IBaseFilter* m_pKsAudio;
    IBaseFilter* m_pAudioRenderer;
    DWORD m_dwGpioMask;
    HRESULT m_hrLastStatus;
};
