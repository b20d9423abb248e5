// The present device interfaces of one interface class, through SetupAPI.
//
// CDeviceInterfaceList: the device-information set of the class (INVALID_HANDLE_VALUE when
// there is none), made at construction and destroyed with the object; the error
// out-parameter gets 0, or the Win32 error of a failed SetupDiGetClassDevsA.
// CDeviceInterfaceDetail: one interface of a list by index, with its DevicePath; the error
// out-parameter gets 0 or the Win32 error of the step that failed.
#pragma once

#include <setupapi.h>
#include <windows.h>

class CDeviceInterfaceList {
public:
    CDeviceInterfaceList(const GUID& interfaceClass, DWORD* pError);
    ~CDeviceInterfaceList();
    CDeviceInterfaceList(const CDeviceInterfaceList&) = delete;
    CDeviceInterfaceList& operator=(const CDeviceInterfaceList&) = delete;

    HDEVINFO Handle() const { return m_hDevInfo; }
    const GUID& InterfaceClass() const { return m_guid; }

private:
    HDEVINFO m_hDevInfo;
    GUID m_guid;
};

class CDeviceInterfaceDetail {
public:
    CDeviceInterfaceDetail(CDeviceInterfaceList* pList, DWORD index, DWORD* pError);
    ~CDeviceInterfaceDetail();
    CDeviceInterfaceDetail(const CDeviceInterfaceDetail&) = delete;
    CDeviceInterfaceDetail& operator=(const CDeviceInterfaceDetail&) = delete;

    // The DevicePath, or null.
    const char* GetPath() const;

private:
    CDeviceInterfaceList* m_pList;
    SP_DEVICE_INTERFACE_DATA m_data;
    PSP_DEVICE_INTERFACE_DETAIL_DATA_A m_pDetail;
};
