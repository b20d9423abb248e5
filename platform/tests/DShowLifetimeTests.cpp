// Lifetimes of filters, their pins and the graph: a pin's references are its filter's, and a
// graph being destroyed takes no event from the filters it stops.
#include "DShowTestFilters.h"
#include "evcode.h"

using namespace dshowtest;

namespace {

class Lifetimes : public DShowTest {};

// Reports an event from its stop hook, as a capture filter reports a device loss.
class ReportsOnStop : public TestFilter {
public:
    ReportsOnStop() : TestFilter({In(L"In")}) {}
    HRESULT reported = S_OK;
    int stops = 0;

protected:
    HRESULT OnStateChange(FILTER_STATE, FILTER_STATE to) override {
        if (to == State_Stopped) {
            ++stops;
            reported = NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
        }
        return S_OK;
    }
};

TEST_F(Lifetimes, AFilterReportingWhileTheDyingGraphStopsItReachesNoGraph) {
    long before = platform::LiveComObjectCount();
    auto* filter = new ReportsOnStop;
    CComPtr<IBaseFilter> held;
    held.Attach(filter);
    {
        auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        ASSERT_EQ(graph->AddFilter(held, L"Capture"), S_OK);
        ASSERT_EQ(As<IMediaControl>(graph)->Run(), S_OK);
        EXPECT_EQ(filter->NotifyEvent(EC_COMPLETE, 0, 0), S_OK) << "a filter in a live graph reports";
    }  // the last reference to the graph goes
    EXPECT_EQ(filter->stops, 1);
    EXPECT_EQ(filter->reported, E_UNEXPECTED) << "the graph let the filter go before stopping it";
    EXPECT_EQ(filter->Graph(), nullptr);
    held.Release();
    EXPECT_EQ(platform::LiveComObjectCount(), before) << "graph and filter were destroyed, once each";
}

TEST_F(Lifetimes, AnObjectThatTouchesItselfWhileBeingDestroyedIsDestroyedOnce) {
    static int destroyed = 0;
    class SelfTouching : public TestFilter {
    public:
        SelfTouching() : TestFilter({}) {}
        ~SelfTouching() override {
            CComPtr<IBaseFilter> again;
            QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&again));
            ++destroyed;
        }
    };
    destroyed = 0;
    (new SelfTouching)->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(Lifetimes, AHeldPinKeepsItsFilterAliveAndCountsOnIt) {
    long before = platform::LiveComObjectCount();
    TestFilter* filter = nullptr;
    CComPtr<IBaseFilter> owner = MakeFilter({Out(L"Out", {Yuy2()}), In(L"In")}, &filter);
    CComPtr<IPin> pin = PinOf(owner, L"Out");
    ASSERT_TRUE(pin);
    ULONG filterRefs = owner->AddRef();
    EXPECT_EQ(pin->AddRef(), filterRefs + 1) << "the pin's count is its filter's";
    pin->Release();
    owner->Release();

    owner.Release();
    PIN_INFO info;
    ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
    ASSERT_EQ(info.pFilter, static_cast<IBaseFilter*>(filter)) << "the filter is still there";
    EXPECT_EQ(FilterName(info.pFilter), L"");
    info.pFilter->Release();
    EXPECT_GT(platform::LiveComObjectCount(), before);
    pin.Release();
    EXPECT_EQ(platform::LiveComObjectCount(), before) << "the last pin reference destroyed filter and pins";
}

TEST_F(Lifetimes, ConnectedFiltersStayUntilTheGraphThatHoldsThemGoes) {
    long before = platform::LiveComObjectCount();
    {
        auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        CComPtr<IBaseFilter> source = MakeFilter({Out(L"Out", {Yuy2()})});
        CComPtr<IBaseFilter> sink = MakeFilter({In(L"In")});
        graph->AddFilter(source, L"Source");
        graph->AddFilter(sink, L"Sink");
        ASSERT_EQ(graph->Connect(PinOf(source, L"Out"), PinOf(sink, L"In")), S_OK);
        CComPtr<IPin> in = PinOf(sink, L"In");
        sink.Release();
        source.Release();
        CComPtr<IPin> peer = PeerOf(in);
        ASSERT_TRUE(peer);
        PIN_INFO info;
        ASSERT_EQ(peer->QueryPinInfo(&info), S_OK);
        EXPECT_EQ(FilterName(info.pFilter), L"Source");
        info.pFilter->Release();
    }
    EXPECT_EQ(platform::LiveComObjectCount(), before) << "the graph disconnected its filters as it went";
}

TEST_F(Lifetimes, APinTakenOffItsFilterStaysValidWithoutAFilter) {
    TestFilter* filter = nullptr;
    CComPtr<IBaseFilter> owner = MakeFilter({Out(L"Out", {Yuy2()})}, &filter);
    CComPtr<IPin> pin = PinOf(owner, L"Out");
    ASSERT_TRUE(filter->RemovePin(filter->FindPinByName(L"Out")));
    owner.Release();
    PIN_INFO info;
    ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
    EXPECT_EQ(info.pFilter, nullptr);
    EXPECT_STREQ(info.achName, L"Out");
}

}  // namespace
