// CVendorAccess: finding the Empia devices by FriendlyName, opening the driver interface,
// the device names the Empia driver records in the registry, the audio filters and the
// property pages. The driver operations are in VendorAccess.cpp.
#include "access/VendorAccess.h"

#include <ksmedia.h>
#include <olectl.h>

#include <cstring>

#include "graph/DeviceEnum.h"

namespace {

// Registry names.
constexpr const char* kAudioKey = "Software\\USB2800\\Audio";
constexpr const char* kTwainKey = "Software\\USB2800\\TwainDS";
constexpr const char* kAudioValues[] = {"DeviceName", nullptr};
constexpr const char* kVideoValues[] = {"RealDSName", "DSName", nullptr};
constexpr size_t kRegistryNameSize = 256;
constexpr int kWideNameSize = 260;
// A device's FriendlyName is compared as converted into this many bytes.
constexpr size_t kFriendlyNameSize = 260;

constexpr const char* kDefaultAudioName = "USB EMP Audio Device";
constexpr const char* kDefaultVideoName = "USB 2820 Video";
constexpr const char* kRendererName = "Default WaveOut Device";
constexpr const char* kKnownVideoNames[] = {
    "USB 2800 Video",  "USB 2801 Video",  "USB 2700 Camera", "USB 2701 Camera", "USB 2840 Video",  "USB 2841 Video",
    "USB 2830 Video",  "USB 2831 Video",  "USB 2820 Video",  "USB 2821 Video",  "USB 2710 Camera", "USB 2711 Camera",
};

template <class T>
void ReleaseField(T*& field)
{
    if (field) field->Release();
    field = nullptr;
}

}  // namespace

// ---- finding and opening ----

IBaseFilter* CVendorAccess::FindDevice(REFGUID category, const char* name)
{
    if (!name) return nullptr;
    const size_t length = strlen(name);
    IBaseFilter* found = nullptr;
    m_hrLastStatus = ForEachDevice(
        category,
        [&](IMoniker* moniker, const char* friendlyName) {
        if (strncmp(friendlyName, name, length) != 0) return FALSE;
        IBaseFilter* filter = nullptr;
        m_hrLastStatus = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
        if (FAILED(m_hrLastStatus) || !filter) return FALSE;
        found = filter;
        return TRUE;
        },
        kFriendlyNameSize);
    return found;
}

IBaseFilter* CVendorAccess::FindVideoDevice(const char* name)
{
    return FindDevice(CLSID_VideoInputDeviceCategory, name);
}

IBaseFilter* CVendorAccess::FindKnownVideoDevice()
{
    for (const char* name : kKnownVideoNames) {
        if (IBaseFilter* filter = FindVideoDevice(name)) return filter;
    }
    return nullptr;
}

IBaseFilter* CVendorAccess::FindDefaultVideoDevice()
{
    if (IBaseFilter* filter = FindVideoDevice(kDefaultVideoName)) return filter;
    return FindKnownVideoDevice();
}

IEmpiaDriver* CVendorAccess::OpenByName(const char* name)
{
    IBaseFilter* filter = FindVideoDevice(name);
    if (!filter) filter = FindKnownVideoDevice();
    if (!filter) return nullptr;
    IEmpiaDriver* driver = nullptr;
    m_hrLastStatus = filter->QueryInterface(IID_IEmpiaDriver, reinterpret_cast<void**>(&driver));
    filter->Release();
    if (FAILED(m_hrLastStatus) || !driver) return nullptr;
    ReleaseField(m_pDriver);  // an interface opened before is not leaked
    m_pDriver = driver;
    return m_pDriver;
}

IEmpiaDriver* CVendorAccess::OpenDefault()
{
    char name[kRegistryNameSize];
    if (!QueryVideoDeviceName(name, nullptr)) strcpy(name, kDefaultVideoName);
    return OpenByName(name);
}

void CVendorAccess::Close() { ReleaseField(m_pDriver); }

int CVendorAccess::IsDevicePresent(const char* name)
{
    IEmpiaDriver* held = m_pDriver;
    m_pDriver = nullptr;
    IEmpiaDriver* opened = OpenByName(name);
    if (opened) opened->Release();
    m_pDriver = held;
    return opened ? 1 : 0;
}

int CVendorAccess::IsDefaultDevicePresent() { return IsDevicePresent(kDefaultVideoName); }

// ---- names ----

BOOL CVendorAccess::ReadRegistryName(const char* key, const char* const* values, char* name, wchar_t* wideName)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return FALSE;
    char text[kRegistryNameSize] = {};
    BOOL read = FALSE;
    for (; *values && !read; ++values) {
        DWORD size = sizeof(text) - 1;
        DWORD type = 0;
        read = RegQueryValueExA(opened, *values, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
               type == REG_SZ;
        text[read ? size : 0] = 0;
    }
    RegCloseKey(opened);
    if (!read) return FALSE;
    if (name) strcpy(name, text);
    if (wideName && !MultiByteToWideChar(CP_ACP, 0, text, -1, wideName, kWideNameSize)) wideName[0] = 0;
    return TRUE;
}

BOOL CVendorAccess::QueryAudioDeviceName(char* name, wchar_t* wideName)
{
    return ReadRegistryName(kAudioKey, kAudioValues, name, wideName);
}

BOOL CVendorAccess::QueryVideoDeviceName(char* name, wchar_t* wideName)
{
    return ReadRegistryName(kTwainKey, kVideoValues, name, wideName);
}

int CVendorAccess::GetAudioDeviceName(char* name)
{
    char text[kRegistryNameSize];
    if (!QueryAudioDeviceName(text, nullptr)) strcpy(text, kDefaultAudioName);
    if (name) strcpy(name, text);
    return static_cast<int>(strlen(text) + 1);
}

int CVendorAccess::GetVideoDeviceName(char* name)
{
    char text[kRegistryNameSize];
    if (!QueryVideoDeviceName(text, nullptr)) strcpy(text, kDefaultVideoName);
    if (name) strcpy(name, text);
    return static_cast<int>(strlen(text) + 1);
}

// ---- audio filters ----

BOOL CVendorAccess::OpenAudioFilters(char* name, IBaseFilter** capture, IBaseFilter** ksAudio, IBaseFilter** renderer)
{
    char audioName[kRegistryNameSize];
    GetAudioDeviceName(audioName);
    if (name) strcpy(name, audioName);
    BOOL all = TRUE;
    auto open = [&](IBaseFilter** out, IBaseFilter*& field, REFGUID category, const char* deviceName) {
        if (!out) return;
        ReleaseField(field);
        field = FindDevice(category, deviceName);
        *out = field;
        if (!field) all = FALSE;
    };
    open(capture, m_pAudioCapture, CLSID_AudioInputDeviceCategory, audioName);
    open(ksAudio, m_pKsAudio, KSCATEGORY_AUDIO, audioName);
    open(renderer, m_pAudioRenderer, CLSID_AudioRendererCategory, kRendererName);
    if (all) return TRUE;
    ReleaseAudioFilters();
    for (IBaseFilter** out : {capture, ksAudio, renderer}) {
        if (out) *out = nullptr;
    }
    return FALSE;
}

void CVendorAccess::ReleaseAudioFilters()
{
    ReleaseField(m_pAudioCapture);
    ReleaseField(m_pKsAudio);
    ReleaseField(m_pAudioRenderer);
}

// ---- property pages ----

HRESULT CVendorAccess::ShowPropertyPages(HWND parent) { return ShowPropertyPages(parent, nullptr); }

HRESULT CVendorAccess::ShowPropertyPages(HWND parent, const char* name)
{
    IBaseFilter* filter = name ? FindVideoDevice(name) : nullptr;
    if (!filter) filter = FindKnownVideoDevice();
    if (!filter) return E_FAIL;
    ISpecifyPropertyPages* pages = nullptr;
    HRESULT hr = filter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages));
    if (SUCCEEDED(hr) && pages) {
        CAUUID list = {0, nullptr};
        hr = pages->GetPages(&list);
        if (SUCCEEDED(hr)) {
            IUnknown* object = filter;
            hr = OleCreatePropertyFrame(parent, 0, 0, nullptr, 1, &object, list.cElems, list.pElems, 0, 0, nullptr);
        }
        CoTaskMemFree(list.pElems);
        pages->Release();
    }
    filter->Release();
    return hr;
}
