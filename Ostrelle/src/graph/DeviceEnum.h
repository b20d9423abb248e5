// The walk over the devices of a DirectShow device category that the graph and the filter wrappers
// share: the system device enumerator, one moniker at a time, each device's FriendlyName read from
// its property bag and converted into a 128-byte name.
#pragma once

#include <dshow.h>

#include <functional>

#include "graph/NameText.h"

// Called for each device whose FriendlyName could be read; answers TRUE to end the walk there.
typedef std::function<BOOL(IMoniker* moniker, const char* friendlyName)> DeviceVisitor;

// Walks `category` in enumeration order. Devices whose property bag or FriendlyName cannot be read
// are skipped. Answers the failure of creating the system device enumerator, the result of
// CreateClassEnumerator when it is not S_OK (S_FALSE for an empty category), S_OK when the visitor
// ended the walk, else the result of the last Next (S_FALSE). The name is converted into
// `nameSize` bytes (128 unless the caller keeps names of another size).
HRESULT ForEachDevice(REFGUID category, const DeviceVisitor& visit, size_t nameSize = kFilterNameSize);
