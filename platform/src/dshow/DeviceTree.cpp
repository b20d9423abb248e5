// The device tree: plugged devices by category, in registration order, as the simulated PC
// enters and removes them.
#include "platform/devicetree.h"

#include <map>
#include <memory>
#include <mutex>

#include "DeviceTreeState.h"
#include "platform/dshow/FilterBase.h"

namespace platform {

namespace dshow {

DeviceTreeState& Devices() {
    static auto* state = new DeviceTreeState;
    return *state;
}

std::shared_ptr<DeviceRecord> FindDevice(DeviceId device) {
    DeviceTreeState& state = Devices();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (auto& record : state.records)
        if (record->id == device) return record;
    return nullptr;
}

std::vector<std::shared_ptr<DeviceRecord>> PluggedDevices(REFGUID category) {
    DeviceTreeState& state = Devices();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<std::shared_ptr<DeviceRecord>> result;
    for (auto& record : state.records)
        if (IsEqualGUID(record->entry.category, category)) result.push_back(record);
    return result;
}

HRESULT BindRecord(DeviceRecord& record, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (record.removed) return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    if (!record.entry.factory) return E_FAIL;
    ++record.binds;
    HRESULT hr = record.entry.factory(riid, ppv);
    if (FAILED(hr)) {
        *ppv = nullptr;
        return hr;
    }
    CComPtr<IBaseFilter> filter;
    if (SUCCEEDED(static_cast<IUnknown*>(*ppv)->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter)))) {
        if (auto* own = dynamic_cast<FilterBase*>(filter.p)) own->SetDevice(record.id);
    }
    return hr;
}

}  // namespace dshow

using dshow::Devices;
using dshow::DeviceTreeState;

DeviceId AddDevice(DeviceEntry device) {
    DeviceTreeState& state = Devices();
    std::lock_guard<std::mutex> lock(state.mutex);
    auto record = std::make_shared<dshow::DeviceRecord>();
    record->id = state.nextId++;
    record->entry = std::move(device);
    state.records.push_back(record);
    return record->id;
}

bool RemoveDevice(DeviceId device) {
    DeviceTreeState& state = Devices();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (auto it = state.records.begin(); it != state.records.end(); ++it) {
        if ((*it)->id == device) {
            (*it)->removed = true;
            state.records.erase(it);
            return true;
        }
    }
    return false;
}

void RemoveAllDevices() {
    DeviceTreeState& state = Devices();
    std::lock_guard<std::mutex> lock(state.mutex);
    for (auto& record : state.records) record->removed = true;
    state.records.clear();
}

void SetDeviceFault(DeviceId device, DeviceFault fault) {
    if (auto record = dshow::FindDevice(device)) record->fault = fault;
}

int DeviceBindCount(DeviceId device) {
    auto record = dshow::FindDevice(device);
    return record ? record->binds.load() : 0;
}

std::vector<DeviceId> DevicesInCategory(REFGUID category) {
    std::vector<DeviceId> ids;
    for (auto& record : dshow::PluggedDevices(category)) ids.push_back(record->id);
    return ids;
}

std::vector<DeviceId> DevicesFedBy(DeviceId device) {
    DeviceTreeState& state = Devices();
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<DeviceId> ids;
    for (auto& record : state.records)
        for (const UpstreamLink& link : record->entry.upstream)
            if (link.device == device) {
                ids.push_back(record->id);
                break;
            }
    return ids;
}

bool GetDevice(DeviceId device, DeviceEntry* entry) {
    auto record = dshow::FindDevice(device);
    if (!record) return false;
    if (entry) *entry = record->entry;
    return true;
}

HRESULT BindDevice(DeviceId device, REFIID riid, void** ppv) {
    auto record = dshow::FindDevice(device);
    if (!record) {
        if (ppv) *ppv = nullptr;
        return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    }
    return dshow::BindRecord(*record, riid, ppv);
}

}  // namespace platform
