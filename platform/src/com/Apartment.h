// Apartments: which threads may use COM. Internal to the platform library.
#pragma once

namespace platform::com {
// True when the calling thread may create objects: it is in an apartment, or some thread of
// the process is in the multithreaded apartment (which then takes in every thread).
bool CanUseCom();
}  // namespace platform::com
