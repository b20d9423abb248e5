// CKsGpioAccess: the hardware access of the CX2388x cards whose driver publishes the SAA713x
// property set (KsPropertyRequest.h) but keeps GPIO itself, as property id 4 (mask at byte 24,
// value at byte 28; a Get answers the line levels). Every request, I2C as well as GPIO, runs
// under the system-wide named mutex "GPIO_LOCK" (at most one second's wait, else E_FAIL and
// nothing is sent), which serialises the requests of every object of these classes in every
// process; the object's own request lock is not used. A GPIO write keeps the mutex through
// its 100 ms pause, so GPIO writes from several threads are at least 100 ms apart.
//
// CKsGpioAccess2388x changes only the GPIO writes: the audio-source lines 12 to 14 keep their
// levels unless the write names them, and a write has no pause of its own.
//
// Arguments are checked before anything else (a block longer than 256 bytes, the data field of
// id 6, is refused with E_INVALIDARG); then a missing interface answers E_FAIL.
#pragma once

#include "access/CustomDataAccess.h"
#include "access/KsPropertyRequest.h"
#include "graph/Thread.h"

class CKsGpioAccess : public CCustomDataAccess {
public:
    CKsGpioAccess();
    ~CKsGpioAccess() override;

    // I2C_ReadBlock: buf[0] goes to the driver as the caller wrote it.
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()

    // Slot 29: the two words of property id 0, each widened; both 0 when the Get failed.
    virtual HRESULT GetDeviceInfo(DWORD* pFirst, DWORD* pSecond);

protected:
    // Runs `request` under "GPIO_LOCK": E_FAIL without an interface or without the mutex.
    template <class Request>
    HRESULT UnderGpioLock(Request request);

    CComPtr<IKsPropertySet> m_pKsPropertySet;

private:
    CNameMutex m_gpioLock;
};

class CKsGpioAccess2388x : public CKsGpioAccess {
public:
    CKsGpioAccess2388x();
    ~CKsGpioAccess2388x() override;

    HRESULT GPIO_Write(DWORD value, DWORD mask) override;
    // The merged write, then waitMs (when not 0) still under the mutex.
    HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs) override;

private:
    HRESULT MergedWrite(DWORD value, DWORD mask);
};
