// Building a filter graph: create the graph, add ten filters, connect them in a chain and tear
// it all down, per graph.
#include <benchmark/benchmark.h>

#include "dshow.h"
#include "platform/dshow/FilterBase.h"
#include "platform/runtime.h"

namespace {

using platform::dshow::FilterBase;
using platform::dshow::MediaType;
using platform::dshow::PinDescription;

const CLSID kStage = {0x7E57F117, 0x00BE, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0xBE}};

// One link of the chain: an input and an output of YUY2 video.
class Stage : public FilterBase {
public:
    explicit Stage(const MediaType& type) : FilterBase(kStage) {
        AddPin(PinDescription{PINDIR_INPUT, L"In", L"", GUID_NULL, {type}});
        AddPin(PinDescription{PINDIR_OUTPUT, L"Out", L"", GUID_NULL, {type}});
    }
};

void BuildTenFilterGraph(benchmark::State& state) {
    platform::UseVirtualClock(true);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const MediaType type = platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 576, 16);
    const wchar_t* names[10] = {L"F0", L"F1", L"F2", L"F3", L"F4", L"F5", L"F6", L"F7", L"F8", L"F9"};
    for (auto _ : state) {
        CComPtr<IGraphBuilder> graph;
        if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                    reinterpret_cast<void**>(&graph)))) {
            state.SkipWithError("no filter graph");
            break;
        }
        CComPtr<IBaseFilter> filters[10];
        for (int i = 0; i < 10; ++i) {
            filters[i].Attach(new Stage(type));
            graph->AddFilter(filters[i], names[i]);
        }
        for (int i = 0; i + 1 < 10; ++i) {
            CComPtr<IPin> out, in;
            filters[i]->FindPin(L"Out", &out);
            filters[i + 1]->FindPin(L"In", &in);
            if (FAILED(graph->Connect(out, in))) state.SkipWithError("connect failed");
        }
        for (auto& f : filters) graph->RemoveFilter(f);
    }
    CoUninitialize();
}
BENCHMARK(BuildTenFilterGraph)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
