// CSigBaseTrace: a debugging aid of the scan workers. It holds a pointer to a counter and traces
// the counter's value when it is made, and again when it goes while the counter is not zero.
// Nothing in the library makes one.
#pragma once

class CSigBaseTrace {
public:
    explicit CSigBaseTrace(int* counter);
    ~CSigBaseTrace();
    CSigBaseTrace(const CSigBaseTrace&) = delete;
    CSigBaseTrace& operator=(const CSigBaseTrace&) = delete;

private:
    int* const m_pCounter;
};
