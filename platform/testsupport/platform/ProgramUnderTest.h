// What a test tells the built program it starts, through its environment: set (to any value),
// the program runs on the virtual clock, so its own delays take no real time. For tests only:
// an operator's run keeps real time.
#pragma once

namespace testsupport {

inline constexpr char kVirtualClockVariable[] = "PELVATRO_TEST_VIRTUAL_CLOCK";

}  // namespace testsupport
