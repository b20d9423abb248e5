// Parts of tests that run in a process of their own. A test starts this binary again with
// PELVATRO_TEST_ROLE naming a role; the test main then runs that role alone, instead of the tests,
// and the process ends with the role's result (0 when it did all it should).
#pragma once

namespace testsupport {

bool AddChildRole(const char* name, int (*role)());

}  // namespace testsupport

#define CHILD_ROLE(name)                                                                     \
    static int name##Role();                                                                 \
    [[maybe_unused]] static const bool name##Added = testsupport::AddChildRole(#name, &name##Role); \
    static int name##Role()
