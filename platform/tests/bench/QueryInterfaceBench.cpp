// QueryInterface, AddRef and Release on one filter and its pin, from one thread and from
// eight at once (the reference count is the filter's, shared by its pins).
#include <benchmark/benchmark.h>

#include "dshow.h"
#include "platform/dshow/FilterBase.h"

namespace {

using platform::dshow::FilterBase;
using platform::dshow::PinDescription;

const CLSID kShared = {0x7E57F117, 0x00BF, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0xBF}};

class SharedFilter : public FilterBase {
public:
    SharedFilter() : FilterBase(kShared) { AddPin(PinDescription{PINDIR_OUTPUT, L"Out"}); }
};

// One filter for every benchmark thread, alive for the whole run.
IBaseFilter* Shared() {
    static IBaseFilter* filter = new SharedFilter;
    return filter;
}

IPin* SharedPin() {
    static IPin* pin = [] {
        IPin* p = nullptr;
        Shared()->FindPin(L"Out", &p);
        return p;
    }();
    return pin;
}

void FilterQueryInterface(benchmark::State& state) {
    IBaseFilter* filter = Shared();
    for (auto _ : state) {
        IMediaFilter* asMedia = nullptr;
        filter->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&asMedia));
        benchmark::DoNotOptimize(asMedia);
        asMedia->Release();
    }
}
BENCHMARK(FilterQueryInterface)->Threads(1)->Threads(8)->UseRealTime();

void PinQueryInterface(benchmark::State& state) {
    IPin* pin = SharedPin();
    for (auto _ : state) {
        IPin* again = nullptr;
        pin->QueryInterface(IID_IPin, reinterpret_cast<void**>(&again));
        benchmark::DoNotOptimize(again);
        again->Release();
    }
}
BENCHMARK(PinQueryInterface)->Threads(1)->Threads(8)->UseRealTime();

void FilterAddRefRelease(benchmark::State& state) {
    IBaseFilter* filter = Shared();
    for (auto _ : state) {
        filter->AddRef();
        benchmark::DoNotOptimize(filter->Release());
    }
}
BENCHMARK(FilterAddRefRelease)->Threads(1)->Threads(8)->UseRealTime();

}  // namespace
