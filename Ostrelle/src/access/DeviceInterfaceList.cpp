// The present device interfaces of one interface class, through SetupAPI.
#include "access/DeviceInterfaceList.h"

#include <cstdlib>
#include <cstring>

namespace {

// The record sizes the interface calls are given.
constexpr DWORD kInterfaceDataSize = 28;
constexpr DWORD kDetailDataSize = 5;

}  // namespace

CDeviceInterfaceList::CDeviceInterfaceList(const GUID& interfaceClass, DWORD* pError)
    : m_hDevInfo(INVALID_HANDLE_VALUE), m_guid(interfaceClass)
{
    *pError = ERROR_INVALID_PARAMETER;
    m_hDevInfo = SetupDiGetClassDevsA(&m_guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    *pError = m_hDevInfo == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (*pError == ERROR_SUCCESS && m_hDevInfo == INVALID_HANDLE_VALUE) *pError = ERROR_INVALID_PARAMETER;
}

CDeviceInterfaceList::~CDeviceInterfaceList()
{
    if (m_hDevInfo != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(m_hDevInfo);
}

CDeviceInterfaceDetail::CDeviceInterfaceDetail(CDeviceInterfaceList* pList, DWORD index, DWORD* pError)
    : m_pList(pList), m_pDetail(nullptr)
{
    std::memset(&m_data, 0, sizeof(m_data));
    m_data.cbSize = kInterfaceDataSize;
    if (!SetupDiEnumDeviceInterfaces(pList->Handle(), nullptr, &pList->InterfaceClass(), index, &m_data)) {
        *pError = GetLastError();
        return;
    }
    DWORD size = 0;
    if (SetupDiGetDeviceInterfaceDetailA(pList->Handle(), &m_data, nullptr, 0, &size, nullptr)) {
        *pError = ERROR_INVALID_PARAMETER;  // a path of no bytes
        return;
    }
    *pError = GetLastError();
    if (*pError != ERROR_INSUFFICIENT_BUFFER) return;
    m_pDetail = static_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(std::calloc(1, size));
    if (!m_pDetail) {
        *pError = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    m_pDetail->cbSize = kDetailDataSize;
    if (!SetupDiGetDeviceInterfaceDetailA(pList->Handle(), &m_data, m_pDetail, size, nullptr, nullptr)) {
        *pError = GetLastError();
        std::free(m_pDetail);
        m_pDetail = nullptr;
        return;
    }
    *pError = ERROR_SUCCESS;
}

CDeviceInterfaceDetail::~CDeviceInterfaceDetail() { std::free(m_pDetail); }

const char* CDeviceInterfaceDetail::GetPath() const { return m_pDetail ? m_pDetail->DevicePath : nullptr; }
