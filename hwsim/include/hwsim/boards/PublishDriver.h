// A driver filter's property sets: every set its driver publishes, on IKsPropertySet (and on
// the kernel handle, for a driver that has one), each request carried to that one driver.
#pragma once

#include <memory>

#include "hwsim/drivers/KsDriver.h"
#include "platform/dshow/FilterBase.h"

namespace hwsim {

void PublishDriver(platform::dshow::FilterBase& filter, const std::shared_ptr<KsDriver>& driver);

}  // namespace hwsim
