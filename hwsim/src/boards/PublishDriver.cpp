// A driver filter's property sets.
#include "hwsim/boards/PublishDriver.h"

namespace hwsim {

using platform::dshow::KsPropertyRequest;
using platform::dshow::KsVerb;

// The handlers keep the driver alive as long as the filter's property table.
void PublishDriver(platform::dshow::FilterBase& filter, const std::shared_ptr<KsDriver>& driver) {
    for (const GUID& set : driver->Sets()) {
        filter.Properties().AddSet(
            set,
            [driver](KsPropertyRequest& request) {
                if (request.verb == KsVerb::Set) {
                    return driver->Set(request.set, request.id, request.instance, request.instanceLength, request.data,
                                       request.dataLength);
                }
                DWORD returned = 0;
                const HRESULT hr = driver->Get(request.set, request.id, request.instance, request.instanceLength,
                                               request.data, request.dataLength, &returned);
                request.returned = returned;
                return hr;
            },
            [driver, set](ULONG id, DWORD* support) { return driver->QuerySupported(set, id, support); });
    }
    if (driver->HasKernelHandle()) filter.EnableKernelHandle();
}

}  // namespace hwsim
