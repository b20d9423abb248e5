// Taking a graph apart: every road that disconnects or removes a wrapper, on a wrapper whose pins
// come and go with their connections (the Infinite Pin Tee), while the graph runs, and for
// graph files that are no graph files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/GraphTestDoubles.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

using namespace graphtest;

namespace {

// The tee's wrapper: its pin list is rebuilt after every connect and disconnect.
class CTeeWrapper : public CRootFilter {
public:
    explicit CTeeWrapper(CRootGraph* owner) : CRootFilter(owner, CLSID_InfTee) {}
    BOOL Init() override {
        m_bDyncPin = TRUE;
        return CRootFilter::Init();
    }
};

bool IsConnected(IPin* pin) {
    CComPtr<IPin> peer;
    return pin->ConnectedTo(&peer) == S_OK;
}

class GraphTeardown : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        RegisterTestFilterClass(kSourceClsid, {OutputPin(L"Out")});
        RegisterTestFilterClass(kSinkClsid, {InputPin(L"In")});
    }

    // Source -> tee -> four sinks, the second sink disconnected again: three outputs connected.
    // The tee is added last, so the graph's walks meet it first, its outputs still connected.
    void BuildTee() {
        source = graph.AddFilter(kSourceClsid, "Source");
        ASSERT_NE(source, nullptr);
        for (int i = 0; i < 4; ++i) {
            sinks.push_back(graph.AddFilter(kSinkClsid, ("Sink " + std::to_string(i)).c_str()));
            ASSERT_NE(sinks.back(), nullptr);
        }
        tee = new CTeeWrapper(&graph);
        tee->SetName("Tee");
        ASSERT_TRUE(tee->SetUp());
        ASSERT_TRUE(graph.AttachWrapper(tee));
        ASSERT_TRUE(graph.ConnectByPinName(source, tee, "Out", "Input"));
        for (CRootFilter* sink : sinks) ASSERT_TRUE(graph.ConnectByPinName(tee, sink, nullptr, "In"));
        graph.Disconnect(sinks[1]->FindPin("In"));
        ASSERT_FALSE(sinks[1]->FindPin("In")->IsConnected());
        ASSERT_EQ(tee->GetPinCount(), 5);  // input, three connected outputs, one free
        for (CRootPin* pin = tee->GetPinList(); pin != nullptr; pin = pin->GetNext()) ends.emplace_back(pin->GetPin());
        ends.emplace_back(source->FindPin("Out")->GetPin());
        for (CRootFilter* sink : sinks) ends.emplace_back(sink->FindPin("In")->GetPin());
    }

    int ConnectedEnds() const {
        int connected = 0;
        for (const CComPtr<IPin>& pin : ends) connected += IsConnected(pin);
        return connected;
    }

    CRootGraph graph;
    CRootFilter* source = nullptr;
    CRootFilter* tee = nullptr;
    std::vector<CRootFilter*> sinks;
    std::vector<CComPtr<IPin>> ends;  // every pin of the tee, the source's and the sinks'
};

TEST_F(GraphTeardown, DisconnectingAllFiltersFreesEveryTeeOutputWithoutLosingOne) {
    ASSERT_NO_FATAL_FAILURE(BuildTee());
    ASSERT_EQ(ConnectedEnds(), 8);
    graph.DisconnectAllFilters();
    EXPECT_EQ(ConnectedEnds(), 0);
    for (CRootPin* pin = tee->GetPinList(); pin != nullptr; pin = pin->GetNext()) EXPECT_FALSE(pin->IsConnected());
    for (CRootFilter* sink : sinks) EXPECT_FALSE(sink->FindPin("In")->IsConnected());
}

TEST_F(GraphTeardown, ResettingTheGraphDisconnectsTheTeeAndTakesEveryFilterOut) {
    ASSERT_NO_FATAL_FAILURE(BuildTee());
    graph.ResetGraph();
    EXPECT_EQ(ConnectedEnds(), 0);
    EXPECT_FALSE(tee->IsInGraph());
    for (CRootFilter* sink : sinks) EXPECT_FALSE(sink->IsInGraph());
    EXPECT_EQ(graph.FindFilter("Tee"), tee);
}

TEST_F(GraphTeardown, RemovingTheTeeDisconnectsEachOfItsPeers) {
    ASSERT_NO_FATAL_FAILURE(BuildTee());
    CComPtr<IBaseFilter> teeFilter(tee->GetFilter());
    graph.RemoveFilter(tee);
    EXPECT_EQ(graph.FindFilter("Tee"), nullptr);
    EXPECT_EQ(ConnectedEnds(), 0);
    FILTER_INFO info;
    ASSERT_EQ(teeFilter->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(info.pGraph, nullptr);
    for (CRootFilter* sink : sinks) EXPECT_FALSE(sink->FindPin("In")->IsConnected());
}

TEST_F(GraphTeardown, RemovingAllFiltersLeavesNoPinConnected) {
    ASSERT_NO_FATAL_FAILURE(BuildTee());
    graph.RemoveAllFilters();
    EXPECT_EQ(graph.GetFilterList(), nullptr);
    EXPECT_EQ(ConnectedEnds(), 0);
}

// A filter with no connection in a running graph: the graph refuses to drop a running filter,
// so the removal stops the graph first and the filter leaves with its wrapper.
TEST_F(GraphTeardown, RemovingAFilterOfARunningGraphStopsItAndTakesTheFilterOut) {
    CRootFilter* lone = graph.AddFilter(kSinkClsid, "Lone");
    CRootFilter* other = graph.AddFilter(kSourceClsid, "Other");
    ASSERT_TRUE(lone && other);
    ASSERT_TRUE(graph.Run());
    CComPtr<IBaseFilter> filter(lone->GetFilter());
    graph.RemoveFilter(lone);
    EXPECT_EQ(graph.GetState(), GRAPH_STATE_STOPPED);
    FILTER_INFO info;
    ASSERT_EQ(filter->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(info.pGraph, nullptr) << "the filter stayed in the graph without its wrapper";
    FILTER_STATE state;
    ASSERT_EQ(filter->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    EXPECT_TRUE(other->IsInGraph());
}

TEST_F(GraphTeardown, AFileThatIsNoStructuredStorageFailsToLoadAndChangesNothing) {
    CRootFilter* kept = graph.AddFilter(kSourceClsid, "Kept");
    ASSERT_NE(kept, nullptr);
    const std::string path = platform::StateDir() + "/notes.grf";
    std::ofstream(path) << "not a graph\n";
    EXPECT_EQ(graph.LoadGraphFile(path.c_str()), E_FAIL);
    EXPECT_EQ(graph.GetFilterList(), kept);
    EXPECT_EQ(kept->GetNext(), nullptr);
    CComPtr<IEnumFilters> filters;
    ASSERT_EQ(graph.GetGraphBuilder()->EnumFilters(&filters), S_OK);
    int inGraph = 0;
    for (CComPtr<IBaseFilter> filter; filters->Next(1, &filter, nullptr) == S_OK; filter.Release()) ++inGraph;
    EXPECT_EQ(inGraph, 1);
}

}  // namespace
