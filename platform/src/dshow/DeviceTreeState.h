// The device tree's records, shared by the tree, the device enumerator's monikers and the
// capture graph builder.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/devicetree.h"

namespace platform::dshow {

struct DeviceRecord {
    DeviceId id = 0;
    DeviceEntry entry;
    std::atomic<DeviceFault> fault{DeviceFault::None};
    std::atomic<int> binds{0};
    std::atomic<bool> removed{false};
};

struct DeviceTreeState {
    std::mutex mutex;
    std::vector<std::shared_ptr<DeviceRecord>> records;  // plugged, in registration order
    DeviceId nextId = 1;
};

DeviceTreeState& Devices();
std::shared_ptr<DeviceRecord> FindDevice(DeviceId device);
std::vector<std::shared_ptr<DeviceRecord>> PluggedDevices(REFGUID category);
// Makes the record's filter (counted) and tells a stand-in filter its device.
HRESULT BindRecord(DeviceRecord& record, REFIID riid, void** ppv);

}  // namespace platform::dshow
