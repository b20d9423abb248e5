// CSigBaseTrace: a debugging aid of the scan workers.
#include "tuners/SigBaseTrace.h"

#include <windows.h>

CSigBaseTrace::CSigBaseTrace(int* counter) : m_pCounter(counter) {
    TRACE("Construct SigBase:%d \n", m_pCounter != nullptr ? *m_pCounter : 0);
}

CSigBaseTrace::~CSigBaseTrace() {
    if (m_pCounter != nullptr && *m_pCounter != 0) TRACE("Kill SigBase:%d \n", *m_pCounter);
}
