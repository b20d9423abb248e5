// zelk::MThread keeps the contract of the system's worker-thread bases.
#include "zelk/cyurkthread.h"

#include "ThreadContract.h"

INSTANTIATE_TYPED_TEST_SUITE_P(MThread, ThreadContract, zelk::MThread);
