// Run states: a filter changes state under its filter lock with hooks before and after, and the
// graph records a state only when every filter took it, answering with the first failure.
#include <atomic>
#include <memory>

#include "DShowTestFilters.h"

using namespace dshowtest;

namespace {

class States : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    CComPtr<IMediaControl> control = As<IMediaControl>(graph);

    OAFilterState GraphState() {
        OAFilterState state = -1;
        control->GetState(0, &state);
        return state;
    }
};

// Refuses to stop while `stopResult` says so, and logs its hooks.
class Stubborn : public TestFilter {
public:
    Stubborn() : TestFilter({}) {}
    HRESULT stopResult = S_OK;
    std::vector<std::string> log;

protected:
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override {
        log.push_back("before " + std::to_string(from) + ">" + std::to_string(to));
        return to == State_Stopped ? stopResult : S_OK;
    }
    void OnStateChanged(FILTER_STATE from, FILTER_STATE to) override {
        log.push_back("after " + std::to_string(from) + ">" + std::to_string(to));
    }
};

CComPtr<IBaseFilter> Own(Stubborn* filter) {
    CComPtr<IBaseFilter> held;
    held.Attach(filter);
    return held;
}

TEST_F(States, TheHooksRunBeforeAndAfterAndARefusalLeavesTheStateAsItWas) {
    auto* filter = new Stubborn;
    auto held = Own(filter);
    ASSERT_EQ(held->Pause(), S_OK);
    filter->stopResult = VFW_E_WRONG_STATE;
    EXPECT_EQ(held->Stop(), VFW_E_WRONG_STATE);
    EXPECT_EQ(filter->State(), State_Paused);
    EXPECT_EQ(filter->log, (std::vector<std::string>{"before 0>1", "after 0>1", "before 1>0"}));
}

TEST_F(States, AFilterThatRefusesToStopKeepsTheGraphPausedAndInIt) {
    auto* first = new Stubborn;
    auto* second = new Stubborn;
    auto* third = new Stubborn;
    auto a = Own(first), b = Own(second), c = Own(third);
    graph->AddFilter(a, L"A");
    graph->AddFilter(b, L"B");
    graph->AddFilter(c, L"C");
    ASSERT_EQ(control->Run(), S_OK);

    second->stopResult = VFW_E_WRONG_STATE;
    third->stopResult = E_FAIL;
    EXPECT_EQ(control->Stop(), VFW_E_WRONG_STATE) << "the first failure";
    EXPECT_EQ(first->State(), State_Stopped) << "the others stopped all the same";
    EXPECT_EQ(second->State(), State_Paused) << "a running graph stops through Paused";
    EXPECT_EQ(GraphState(), State_Paused) << "not every filter took Stopped";
    EXPECT_EQ(graph->RemoveFilter(b), VFW_E_NOT_STOPPED);

    second->stopResult = third->stopResult = S_OK;
    EXPECT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(GraphState(), State_Stopped);
    EXPECT_EQ(graph->RemoveFilter(b), S_OK);
}

TEST_F(States, ARefusedRunStopsTheFiltersAgainAndAnswersTheFirstFailure) {
    TestFilter *first = nullptr, *second = nullptr;
    auto a = MakeFilter({}, &first), b = MakeFilter({}, &second);
    graph->AddFilter(a, L"A");
    graph->AddFilter(b, L"B");
    first->runResult = VFW_E_NO_CLOCK;
    second->runResult = E_FAIL;
    EXPECT_EQ(control->Run(), VFW_E_NO_CLOCK);
    EXPECT_EQ(GraphState(), State_Stopped);
    EXPECT_EQ(first->State(), State_Stopped);
    EXPECT_EQ(second->State(), State_Stopped);
}

// Logs the changes it is sent, named, into a log it shares; answers GetState with `stateAnswer`.
class Logged : public TestFilter {
public:
    Logged(std::vector<PinDescription> pins, const char* name, std::shared_ptr<std::vector<std::string>> log)
        : TestFilter(std::move(pins)), m_name(name), m_log(std::move(log)) {}
    HRESULT stateAnswer = S_OK;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override {
        HRESULT hr = TestFilter::GetState(timeout, state);
        return FAILED(hr) ? hr : stateAnswer;
    }

    STDMETHODIMP Stop() override { return Logs("Stop", TestFilter::Stop()); }
    STDMETHODIMP Pause() override { return Logs("Pause", TestFilter::Pause()); }
    STDMETHODIMP Run(REFERENCE_TIME start) override { return Logs("Run", TestFilter::Run(start)); }

private:
    HRESULT Logs(const char* call, HRESULT hr) {
        m_log->push_back(m_name + " " + call);
        return hr;
    }

    std::string m_name;
    std::shared_ptr<std::vector<std::string>> m_log;  // the graph may stop it after the test's end
};

// A source, a transform and a renderer, joined and connected.
struct Chain {
    explicit Chain(IGraphBuilder* graph) {
        source.Attach(new Logged({Out(L"Out", {Yuy2()})}, "source", shared));
        middle.Attach(new Logged({In(L"In", {AnyVideo()}), Out(L"Out", {Yuy2()})}, "middle", shared));
        renderer.Attach(new Logged({In(L"In", {AnyVideo()})}, "renderer", shared));
        graph->AddFilter(renderer, L"Renderer");  // joined out of stream order
        graph->AddFilter(source, L"Source");
        graph->AddFilter(middle, L"Middle");
        EXPECT_EQ(graph->Connect(PinOf(source, L"Out"), PinOf(middle, L"In")), S_OK);
        EXPECT_EQ(graph->Connect(PinOf(middle, L"Out"), PinOf(renderer, L"In")), S_OK);
    }
    std::shared_ptr<std::vector<std::string>> shared = std::make_shared<std::vector<std::string>>();
    std::vector<std::string>& log = *shared;
    CComPtr<IBaseFilter> source, middle, renderer;
};

// Every change goes from the renderers upstream; Stop takes a running graph through Paused; a
// filter already in the state is sent nothing.
TEST_F(States, ChangesGoDownstreamFirstAndStopPassesThroughPaused) {
    Chain chain(graph);
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_EQ(chain.log, (std::vector<std::string>{"renderer Pause", "middle Pause", "source Pause", "renderer Run",
                                                   "middle Run", "source Run"}));
    chain.log.clear();
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(chain.log, (std::vector<std::string>{"renderer Pause", "middle Pause", "source Pause", "renderer Stop",
                                                   "middle Stop", "source Stop"}));
    chain.log.clear();
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_TRUE(chain.log.empty()) << "nothing to filters already stopped";
    ASSERT_EQ(control->Pause(), S_OK);
    ASSERT_EQ(chain.middle->Stop(), S_OK);
    chain.log.clear();
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(chain.log, (std::vector<std::string>{"renderer Stop", "source Stop"}));
}

// Pause, as Run, gives a graph with no clock chosen its default clock; with none set it runs
// unclocked.
TEST_F(States, PauseGivesTheDefaultClockUnlessNoneWasSet) {
    Chain chain(graph);
    ASSERT_EQ(control->Pause(), S_OK);
    CComPtr<IReferenceClock> clock, filterClock;
    EXPECT_EQ(As<IMediaFilter>(graph)->GetSyncSource(&clock), S_OK);
    EXPECT_NE(clock, nullptr);
    chain.renderer->GetSyncSource(&filterClock);
    EXPECT_EQ(filterClock, clock) << "every filter has it";
    ASSERT_EQ(control->Stop(), S_OK);
    clock.Release();
    ASSERT_EQ(As<IMediaFilter>(graph)->SetSyncSource(nullptr), S_OK);
    ASSERT_EQ(control->Pause(), S_OK);
    EXPECT_EQ(As<IMediaFilter>(graph)->GetSyncSource(&clock), S_OK);
    EXPECT_EQ(clock, nullptr);
}

// The graph answers VFW_S_STATE_INTERMEDIATE while a filter has not reached its state.
TEST_F(States, GetStateIsIntermediateWhileAFilterHasNotReachedTheState) {
    Chain chain(graph);
    ASSERT_EQ(control->Pause(), S_OK);
    OAFilterState state = -1;
    EXPECT_EQ(control->GetState(0, &state), S_OK);
    static_cast<Logged*>(chain.renderer.p)->stateAnswer = VFW_S_STATE_INTERMEDIATE;  // waits for a sample
    EXPECT_EQ(control->GetState(0, &state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(state, State_Paused);
    static_cast<Logged*>(chain.renderer.p)->stateAnswer = S_OK;
    ASSERT_EQ(chain.middle->Stop(), S_OK);  // out of step
    EXPECT_EQ(control->GetState(0, &state), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(state, State_Paused);
}

// Its hook for Running waits until the test lets it go; it counts hooks running at once.
class SlowStarter : public TestFilter {
public:
    SlowStarter() : TestFilter({}) {}
    ~SlowStarter() override {
        CloseHandle(entered);
        CloseHandle(release);
    }
    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> inHook{0}, overlaps{0};

protected:
    HRESULT OnStateChange(FILTER_STATE, FILTER_STATE to) override {
        if (++inHook > 1) ++overlaps;
        if (to == State_Running) {
            SetEvent(entered);
            WaitForSingleObject(release, INFINITE);
        }
        --inHook;
        return S_OK;
    }
};

DWORD WINAPI RunFilter(LPVOID filter) { return DWORD(static_cast<IBaseFilter*>(filter)->Run(0)); }
DWORD WINAPI StopFilter(LPVOID filter) { return DWORD(static_cast<IBaseFilter*>(filter)->Stop()); }

TEST_F(States, AStopWaitsForARunInProgressAndEndsStopped) {
    auto* filter = new SlowStarter;
    CComPtr<IBaseFilter> held;
    held.Attach(filter);
    HANDLE runner = CreateThread(nullptr, 0, RunFilter, held.p, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(filter->entered, 1000), DWORD(WAIT_OBJECT_0));
    HANDLE stopper = CreateThread(nullptr, 0, StopFilter, held.p, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(stopper, 200), DWORD(WAIT_TIMEOUT)) << "the stop waits for the run";
    SetEvent(filter->release);
    DWORD ran = 1, stopped = 1;
    WaitForSingleObject(runner, INFINITE);
    WaitForSingleObject(stopper, INFINITE);
    GetExitCodeThread(runner, &ran);
    GetExitCodeThread(stopper, &stopped);
    CloseHandle(runner);
    CloseHandle(stopper);
    EXPECT_EQ(HRESULT(ran), S_OK);
    EXPECT_EQ(HRESULT(stopped), S_OK);
    EXPECT_EQ(filter->State(), State_Stopped) << "the stop that answered S_OK came last";
    EXPECT_EQ(filter->overlaps, 0);
}

}  // namespace
