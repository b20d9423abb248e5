// Two threads at once on the same filters: one holding and dropping pins while the other drops
// the filters, and state changes of the graph and of a filter racing each other. Run under the
// address and thread sanitizers.
#include <atomic>
#include <functional>

#include "DShowTestFilters.h"

using namespace dshowtest;

namespace {

class ThreadStress : public DShowTest {};

DWORD WINAPI Call(LPVOID work) {
    (*static_cast<std::function<void()>*>(work))();
    return 0;
}

// Runs `a` and `b` on two platform threads and waits for both.
void Together(std::function<void()> a, std::function<void()> b) {
    HANDLE threads[2] = {CreateThread(nullptr, 0, Call, &a, 0, nullptr), CreateThread(nullptr, 0, Call, &b, 0, nullptr)};
    ASSERT_TRUE(threads[0] && threads[1]);
    WaitForMultipleObjects(2, threads, TRUE, INFINITE);
    for (HANDLE t : threads) CloseHandle(t);
}

TEST_F(ThreadStress, PinsAndFiltersDroppedOnTwoThreadsAreDestroyedOnceAndNeverUsedAfter) {
    long before = platform::LiveComObjectCount();
    for (int round = 0; round < 300; ++round) {
        IBaseFilter* filter = MakeFilter({Out(L"Out", {Yuy2()}), In(L"In")}).Detach();
        IPin* pin = PinOf(filter, L"Out").Detach();
        Together(
            [pin] {
                for (int i = 0; i < 20; ++i) {
                    PIN_INFO info;
                    if (SUCCEEDED(pin->QueryPinInfo(&info)) && info.pFilter) info.pFilter->Release();
                    CComPtr<IPin> again;
                    pin->QueryInterface(IID_IPin, reinterpret_cast<void**>(&again));
                }
                pin->Release();
            },
            [filter] {
                for (int i = 0; i < 20; ++i) {
                    CComPtr<IPin> in;
                    filter->FindPin(L"In", &in);
                    FILTER_STATE state;
                    filter->GetState(0, &state);
                }
                filter->Release();
            });
    }
    EXPECT_EQ(platform::LiveComObjectCount(), before);
}

TEST_F(ThreadStress, ConnectionsMadeAndBrokenWhileTheOtherThreadDropsAFilter) {
    long before = platform::LiveComObjectCount();
    for (int round = 0; round < 200; ++round) {
        IBaseFilter* source = MakeFilter({Out(L"Out", {Yuy2()})}).Detach();
        IBaseFilter* sink = MakeFilter({In(L"In")}).Detach();
        IPin* out = PinOf(source, L"Out").Detach();
        IPin* in = PinOf(sink, L"In").Detach();
        IPin* target = PinOf(sink, L"In").Detach();  // the first thread's own reference
        Together(
            [out, target, source] {
                for (int i = 0; i < 10; ++i) {
                    out->Connect(target, nullptr);
                    CComPtr<IPin> peer;
                    out->ConnectedTo(&peer);
                    out->Disconnect();
                    target->Disconnect();
                }
                target->Release();
                out->Release();
                source->Release();
            },
            [in, sink] {
                for (int i = 0; i < 10; ++i) {
                    CComPtr<IPin> peer;
                    if (in->ConnectedTo(&peer) == S_OK) {
                        PIN_INFO info;
                        if (SUCCEEDED(peer->QueryPinInfo(&info)) && info.pFilter) info.pFilter->Release();
                    }
                }
                in->Release();
                sink->Release();
            });
    }
    EXPECT_EQ(platform::LiveComObjectCount(), before);
}

// Counts state hooks that run at once.
class Counting : public TestFilter {
public:
    Counting() : TestFilter({}) {}
    std::atomic<int> inHook{0}, overlaps{0}, changes{0};

protected:
    HRESULT OnStateChange(FILTER_STATE, FILTER_STATE) override {
        if (++inHook > 1) ++overlaps;
        return S_OK;
    }
    void OnStateChanged(FILTER_STATE, FILTER_STATE) override {
        ++changes;
        --inHook;
    }
};

TEST_F(ThreadStress, StateChangesOfTheGraphAndOfAFilterNeverOverlap) {
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    auto* first = new Counting;
    auto* second = new Counting;
    CComPtr<IBaseFilter> a, b;
    a.Attach(first);
    b.Attach(second);
    graph->AddFilter(a, L"A");
    graph->AddFilter(b, L"B");
    CComPtr<IMediaControl> control = As<IMediaControl>(graph);
    Together(
        [&] {
            for (int i = 0; i < 200; ++i) {
                control->Run();
                control->Pause();
                control->Stop();
            }
        },
        [&] {
            for (int i = 0; i < 200; ++i) {
                a->Run(0);
                control->Stop();
                a->Stop();
                control->Pause();
            }
        });
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(first->State(), State_Stopped);
    EXPECT_EQ(second->State(), State_Stopped);
    OAFilterState state = -1;
    control->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
    EXPECT_EQ(first->overlaps, 0);
    EXPECT_EQ(second->overlaps, 0);
    EXPECT_GT(first->changes, 400);
}

}  // namespace
