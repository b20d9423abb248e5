// The device tree the system device enumerator reads: device categories, each an ordered
// list of devices (registration order), filled by the simulated PC as cards are plugged and
// emptied as they are unplugged.
//
//   platform::DeviceId tuner = platform::AddDevice({KSCATEGORY_TVTUNER, L"713x BDA Analog TvTuner",
//                                                   TunerFactory});
//   platform::AddDevice({KSCATEGORY_CROSSBAR, L"713x BDA Analog Xbar", XbarFactory,
//                        {{tuner, L"Analog Video", L"Video Tuner In"}}});
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "objbase.h"

namespace platform {

typedef unsigned long DeviceId;  // 0: no device

// Makes the device's filter (the driver's filter object) as `riid` into *ppv.
typedef std::function<HRESULT(REFIID riid, void** ppv)> DeviceFilterFactory;

// An upstream device of a device: its output pin `upstreamPin` feeds this device's input pin
// `pin` (empty names: the first unconnected pin of that direction). The capture graph builder
// brings upstream devices into a graph when its search goes upstream, and the devices a
// device feeds (those that name it upstream) when its search goes downstream.
struct UpstreamLink {
    DeviceId device = 0;
    std::wstring upstreamPin;
    std::wstring pin;
};

struct DeviceEntry {
    GUID category = GUID_NULL;
    std::wstring friendlyName;
    DeviceFilterFactory factory;
    std::vector<UpstreamLink> upstream;
    CLSID clsid = GUID_NULL;  // the property bag's "CLSID" (as text), when given
    std::wstring devicePath;  // the property bag's "DevicePath", when given
};

// Enters a device at the end of its category; returns its id.
PLATFORM_API DeviceId AddDevice(DeviceEntry device);
// Takes the device out (unplug): enumerations made from now on do not list it, and monikers
// handed out earlier no longer bind it. False for an unknown id.
PLATFORM_API bool RemoveDevice(DeviceId device);
PLATFORM_API void RemoveAllDevices();

// Faults of one device: its property bag cannot be bound, or its FriendlyName cannot be read
// (an enumeration that needs them skips the device).
enum class DeviceFault { None, PropertyBag, FriendlyName };
PLATFORM_API void SetDeviceFault(DeviceId device, DeviceFault fault);

// How often the device's filter was made (moniker binds and upstream devices brought in).
PLATFORM_API int DeviceBindCount(DeviceId device);
// The devices of a category that are plugged, in registration order.
PLATFORM_API std::vector<DeviceId> DevicesInCategory(REFGUID category);
// The plugged devices whose upstream links name `device`, in registration order.
PLATFORM_API std::vector<DeviceId> DevicesFedBy(DeviceId device);
// The entry of a plugged device; false when there is none.
PLATFORM_API bool GetDevice(DeviceId device, DeviceEntry* entry);
// Makes the device's filter (counted as a bind) and tells a stand-in filter which device it is.
PLATFORM_API HRESULT BindDevice(DeviceId device, REFIID riid, void** ppv);

}  // namespace platform
