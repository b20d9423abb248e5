// CThread keeps the contract of the system's worker-thread bases.
#include "graph/Thread.h"

#include "ThreadContract.h"

INSTANTIATE_TYPED_TEST_SUITE_P(CThread, ThreadContract, CThread);
