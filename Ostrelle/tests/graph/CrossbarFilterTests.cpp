// The crossbar base: source numbers through the route table to the crossbar's input pins.
#include <gtest/gtest.h>

#include "graph/CrossbarFilter.h"
#include "support/GraphTestDoubles.h"
#include "platform/dshow/CrossbarMixin.h"
#include "platform/dshow/With.h"

using namespace graphtest;
using platform::dshow::CrossbarMixin;
using platform::dshow::CrossbarPinInfo;
using platform::dshow::With;

namespace {

// A crossbar device with `inputs` input pins and `outputs` output pins; records each route.
class TestCrossbar : public With<FilterBase, CrossbarMixin> {
public:
    TestCrossbar(int inputs, int outputs) : With(GUID_NULL) {
        std::vector<CrossbarPinInfo> in;
        for (int i = 0; i < inputs; ++i) in.push_back({i < 3 ? PhysConn_Video_Composite : PhysConn_Audio_Line, -1});
        std::vector<CrossbarPinInfo> out;
        for (int i = 0; i < outputs; ++i) out.push_back({i == 0 ? PhysConn_Video_VideoDecoder : PhysConn_Audio_AudioDecoder, -1});
        ConfigureCrossbar(in, out);
    }
    static inline int s_nRoutes = 0;

protected:
    HRESULT OnRoute(long, long) override {
        ++s_nRoutes;
        return S_OK;
    }
};

platform::DeviceId AddCrossbar(const std::wstring& name, int inputs, int outputs) {
    platform::DeviceEntry entry;
    entry.category = AM_KSCATEGORY_CROSSBAR;
    entry.friendlyName = name;
    entry.factory = [inputs, outputs](REFIID riid, void** ppv) -> HRESULT {
        return platform::CreateComObject<TestCrossbar>(riid, ppv, inputs, outputs);
    };
    return platform::AddDevice(entry);
}

TestCrossbar* CrossbarOf(CRootFilter* wrapper) {
    return static_cast<TestCrossbar*>(static_cast<FilterBase*>(wrapper->GetFilter()));
}

// A card crossbar with its own table: video on 2, 0, 1 and audio on 3 for every source.
class CCardCrossbar : public CCrossbarFilter {
public:
    using CCrossbarFilter::CCrossbarFilter;
    void InitRouteTable() override {
        const int video[kSources] = {2, 0, 1};
        for (int source = 0; source < kSources; ++source) {
            m_nVideoRoute[source] = video[source];
            m_nAudioRoute[source] = 3;
        }
    }
};

class Crossbar : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        TestCrossbar::s_nRoutes = 0;
    }
};

}  // namespace

TEST_F(Crossbar, SourcesRouteThroughTheDefaultTableAndOthersTakeSourceZero) {
    AddCrossbar(L"Card Crossbar", 6, 2);
    CRootGraph graph;
    CCrossbarFilter crossbar(&graph, &AM_KSCATEGORY_CROSSBAR, "Card Crossbar", 0);
    ASSERT_TRUE(crossbar.SetUp());
    TestCrossbar* device = CrossbarOf(&crossbar);

    EXPECT_TRUE(crossbar.SetVideoInput(2));
    EXPECT_EQ(device->RoutedTo(0), 2);
    EXPECT_TRUE(crossbar.SetAudioInput(1));
    EXPECT_EQ(device->RoutedTo(1), 4);
    EXPECT_TRUE(crossbar.SetVideoInput(3));
    EXPECT_EQ(device->RoutedTo(0), 0);
    EXPECT_TRUE(crossbar.SetVideoInput(2));
    EXPECT_TRUE(crossbar.SetVideoInput(-1));
    EXPECT_EQ(device->RoutedTo(0), 0);
}

TEST_F(Crossbar, RoutesOutsideThePinCountsAreRefusedWithoutRouting) {
    AddCrossbar(L"Small Crossbar", 3, 1);
    CRootGraph graph;
    CCrossbarFilter crossbar(&graph, &AM_KSCATEGORY_CROSSBAR, "Small Crossbar", 0);
    ASSERT_TRUE(crossbar.SetUp());

    EXPECT_FALSE(crossbar.SetAudioInput(0));  // input 3 does not exist, nor output 1
    EXPECT_FALSE(crossbar.Route(0, 1));
    EXPECT_FALSE(crossbar.Route(-1, 0));
    EXPECT_EQ(TestCrossbar::s_nRoutes, 0);
    EXPECT_TRUE(crossbar.Route(1, 0));
    EXPECT_EQ(TestCrossbar::s_nRoutes, 1);

    platform::InjectFailure("QueryInterface:IAMCrossbar", 1);
    EXPECT_FALSE(crossbar.SetVideoInput(0));
}

TEST_F(Crossbar, DerivedTableIsSetOnlyForABoundCrossbar) {
    AddCrossbar(L"Card Crossbar", 6, 2);
    CRootGraph graph;
    CCardCrossbar card(&graph, &AM_KSCATEGORY_CROSSBAR, "Card Crossbar", 0);
    ASSERT_TRUE(card.SetUp());
    EXPECT_EQ(card.GetVideoRoute(0), 2);
    EXPECT_EQ(card.GetAudioRoute(2), 3);
    EXPECT_TRUE(card.SetVideoInput(0));
    EXPECT_EQ(CrossbarOf(&card)->RoutedTo(0), 2);

    CCardCrossbar missing(&graph, &AM_KSCATEGORY_CROSSBAR, "No Crossbar", 0);
    EXPECT_FALSE(missing.SetUp());
    EXPECT_EQ(missing.GetVideoRoute(0), 0);
    EXPECT_EQ(missing.GetAudioRoute(0), 0);
    EXPECT_FALSE(missing.SetVideoInput(0));
}

// A crossbar built by its constructor and handed to the graph gets its route table from the
// graph running its set-up; one that ran it already is not set up twice.
TEST_F(Crossbar, AttachedCrossbarIsSetUpOnceAndRoutesThroughItsTable) {
    AddCrossbar(L"Card Crossbar", 6, 2);
    CRootGraph graph;
    auto* crossbar = new CCardCrossbar(&graph, &AM_KSCATEGORY_CROSSBAR, "Card Crossbar", 0);
    crossbar->SetName("Crossbar");
    ASSERT_TRUE(graph.AttachWrapper(crossbar));
    EXPECT_TRUE(crossbar->SetVideoInput(0));
    EXPECT_EQ(CrossbarOf(crossbar)->RoutedTo(0), 2);

    auto* counted = new CTestCardFilter(&graph, &AM_KSCATEGORY_CROSSBAR, "Card Crossbar", 0);
    ASSERT_TRUE(counted->SetUp());
    counted->SetName("Counted");
    ASSERT_TRUE(graph.AttachWrapper(counted));
    EXPECT_EQ(counted->m_nInitNames, 1);
    EXPECT_EQ(counted->m_nInits, 1);

    auto* missing = new CCardCrossbar(&graph, &AM_KSCATEGORY_CROSSBAR, "No Crossbar", 0);
    EXPECT_FALSE(graph.AttachWrapper(missing));
    delete missing;
}
