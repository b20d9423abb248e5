// Filter and pin wrappers: binding a device by FriendlyName, the pin list and its lookups,
// dynamic pins, media-type texts, and pins going away.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "support/GraphTestDoubles.h"
#include "platform/comservices.h"
#include "platform/dshow/With.h"

using namespace graphtest;

namespace {

const GUID kSplitterClsid = TestClsid(0x0303);

// A splitter whose output pins appear when its input is connected and go when it is not.
class DynamicSplitter : public FilterBase {
public:
    DynamicSplitter() : FilterBase(kSplitterClsid) {
        AddPin(InputPin(L"In"));
        AddPin(OutputPin(L"Kept"));
    }

protected:
    void OnPinConnected(platform::dshow::PinBase* pin) override {
        if (pin->Direction() != PINDIR_INPUT) return;
        AddPin(OutputPin(L"Video"));
        AddPin(OutputPin(L"Audio"));
    }
    void OnPinDisconnected(platform::dshow::PinBase* pin) override {
        if (pin->Direction() != PINDIR_INPUT) return;
        RemovePin(FindPinByName(L"Video"));
        RemovePin(FindPinByName(L"Audio"));
    }
};

class CDynamicWrapper : public CRootFilter {
public:
    explicit CDynamicWrapper(CRootGraph* owner) : CRootFilter(owner, kSplitterClsid) {}
    BOOL Init() override {
        m_bDyncPin = TRUE;
        return CRootFilter::Init();
    }
};

// Property pages of a filter: the page class ids it lists.
class PagesMixin : public ISpecifyPropertyPages {
public:
    using Interface = ISpecifyPropertyPages;
    STDMETHODIMP GetPages(CAUUID* pages) override {
        pages->cElems = static_cast<ULONG>(m_pages.size());
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * (m_pages.size() + 1)));
        for (size_t i = 0; i < m_pages.size(); ++i) pages->pElems[i] = m_pages[i];
        return S_OK;
    }
    std::vector<GUID> m_pages;

protected:
    virtual ~PagesMixin() = default;
};

class FilterWithPages : public platform::dshow::With<FilterBase, PagesMixin> {
public:
    explicit FilterWithPages(std::vector<GUID> pages) : With(GUID_NULL) {
        m_pages = std::move(pages);
        AddPin(OutputPin(L"Out"));
    }
};

class FilterWrapper : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        RegisterTestFilterClass(kSourceClsid, {OutputPin(L"Out"), OutputPin(L"Preview"), InputPin(L"Clock")});
        RegisterTestFilterClass(kSinkClsid, {InputPin(L"In")});
        platform::RegisterComClass(kSplitterClsid, platform::ComCreatorOf<DynamicSplitter>());
    }
};

}  // namespace

TEST_F(FilterWrapper, DeviceConstructorBindsTheInstanceOrTheFirstMismatch) {
    platform::DeviceId first = AddTestDevice(CLSID_VideoInputDeviceCategory, L"ABC");
    platform::DeviceId second = AddTestDevice(CLSID_VideoInputDeviceCategory, L"ABC");
    CRootGraph graph;

    CRootFilter::SetDeviceIndex(1);
    CRootFilter byInstance(&graph, &CLSID_VideoInputDeviceCategory, "ABC", 0);
    EXPECT_TRUE(byInstance.IsValid());
    EXPECT_EQ(BoundDevice(&byInstance), second);
    EXPECT_EQ(platform::DeviceBindCount(first), 0);

    CRootFilter::SetDeviceIndex(2);
    CRootFilter beyond(&graph, &CLSID_VideoInputDeviceCategory, "ABC", 0);
    EXPECT_FALSE(beyond.IsValid());

    CRootFilter::SetDeviceIndex(0);
    platform::DeviceId other = AddTestDevice(CLSID_VideoInputDeviceCategory, L"XYZ");
    CRootFilter mismatch(&graph, &CLSID_VideoInputDeviceCategory, "ABC", 1);
    EXPECT_EQ(BoundDevice(&mismatch), other);
    EXPECT_STREQ(mismatch.GetDeviceName(), "XYZ");

    CRootFilter empty(&graph, &CLSID_AudioInputDeviceCategory, "ABC", 0);
    EXPECT_FALSE(empty.IsValid());
    EXPECT_STREQ(empty.GetDeviceName(), "");
    CRootFilter unnamed(&graph, &CLSID_VideoInputDeviceCategory, "", 1);
    EXPECT_FALSE(unnamed.IsValid());
}

TEST_F(FilterWrapper, PinListFollowsEnumerationOrderAndLookupsFindByNameIdOrDirection) {
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    CRootFilter* sink = graph.AddFilter(kSinkClsid, "Sink");
    ASSERT_EQ(source->GetPinCount(), 3);
    EXPECT_STREQ(source->GetPin(0)->GetName(), "Out");
    EXPECT_STREQ(source->GetPin(2)->GetName(), "Clock");
    EXPECT_EQ(source->GetPin(3), nullptr);
    EXPECT_EQ(source->GetPin(-1), nullptr);
    EXPECT_EQ(source->FindPin("out"), nullptr);
    EXPECT_EQ(source->FindPinW(L"Preview"), source->GetPin(1));
    EXPECT_EQ(source->FindPinW(L"None"), nullptr);
    EXPECT_EQ(source->FindPinByIPin(source->GetPin(2)->GetPin()), source->GetPin(2));
    EXPECT_EQ(source->GetPin(0)->GetFilter(), source);

    ASSERT_TRUE(graph.ConnectByPinName(source, sink, "Out", "In"));
    EXPECT_EQ(source->FindPinByDirection(PINDIR_OUTPUT, TRUE), source->FindPin("Preview"));
    EXPECT_EQ(source->FindPinByDirection(PINDIR_OUTPUT, FALSE), source->FindPin("Out"));
    EXPECT_EQ(sink->FindPinByDirection(PINDIR_INPUT, TRUE), nullptr);
    EXPECT_EQ(sink->FindPinByDirection(PINDIR_INPUT, FALSE), sink->FindPin("In"));
}

#if !defined(__SANITIZE_ADDRESS__)
namespace {

// Bytes allocated now (the thread sanitizer's allocator counts them itself: mallinfo2 says 0).
#if defined(__SANITIZE_THREAD__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif
size_t BytesInUse() {
#if defined(__SANITIZE_THREAD__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

}  // namespace
#endif

TEST_F(FilterWrapper, FindPinWLeavesNoIdentifierBehind) {
    // A 4 KB identifier that stays allocated on each call would grow the heap by 40 MB.
    std::wstring id(4096, L'p');
    RegisterTestFilterClass(kSinkClsid, {{PINDIR_INPUT, L"In", id, GUID_NULL, {}}});
    CRootGraph graph;
    CRootFilter* sink = graph.AddFilter(kSinkClsid, "Sink");
    ASSERT_NE(sink->FindPinW(id.c_str()), nullptr);
#if defined(__SANITIZE_ADDRESS__)
    // The leak checker judges every identifier left behind when the process ends.
    for (int i = 0; i < 100; ++i) sink->FindPinW(L"other");
#else
    size_t before = BytesInUse();
    for (int i = 0; i < 10000; ++i) sink->FindPinW(L"other");
    EXPECT_LT(BytesInUse(), before + (1u << 20));
#endif
}

TEST_F(FilterWrapper, DeletingAConnectedPinClearsItsPeersLink) {
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    CRootFilter* sink = graph.AddFilter(kSinkClsid, "Sink");
    ASSERT_TRUE(graph.ConnectByPinName(source, sink, "Out", "In"));
    CRootPin* in = sink->FindPin("In");

    EXPECT_TRUE(source->RemovePin(source->FindPin("Out")));
    EXPECT_EQ(in->GetPeer(), nullptr);
    EXPECT_FALSE(in->IsConnected());
    EXPECT_EQ(source->GetPinCount(), 2);
    EXPECT_FALSE(source->RemovePin(in));
    // Disconnecting the survivor no longer reaches the deleted pin.
    graph.DisconnectFilter(sink);
    EXPECT_EQ(sink->FindPinByDirection(PINDIR_INPUT, TRUE), in);
}

TEST_F(FilterWrapper, DynamicPinsAreRebuiltInReverseOrderKeepingPeers) {
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    auto* splitter = new CDynamicWrapper(&graph);
    splitter->SetUp();
    splitter->SetName("Splitter");
    ASSERT_TRUE(graph.AttachWrapper(splitter));
    ASSERT_EQ(splitter->GetPinCount(), 2);
    CRootPin* in = splitter->FindPin("In");

    ASSERT_TRUE(graph.ConnectByPinName(source, splitter, "Out", "In"));
    ASSERT_EQ(splitter->GetPinCount(), 4);
    EXPECT_STREQ(splitter->GetPin(0)->GetName(), "Audio");
    EXPECT_STREQ(splitter->GetPin(1)->GetName(), "Video");
    EXPECT_STREQ(splitter->GetPin(2)->GetName(), "Kept");
    EXPECT_EQ(splitter->GetPin(3), in);
    EXPECT_EQ(in->GetPeer(), source->FindPin("Out"));

    graph.Disconnect(in);
    EXPECT_EQ(splitter->GetPinCount(), 2);
    EXPECT_EQ(splitter->FindPin("Video"), nullptr);
    EXPECT_TRUE(platform::TraceContains("Splitter_Filter::OnConnectStatusChange:Start , m_bDyncPin = 1"));
}

TEST_F(FilterWrapper, MediaTypeTextsNameKnownTypesAndSpellOthersOut) {
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    CRootFilter* sink = graph.AddFilter(kSinkClsid, "Sink");
    CRootPin* out = source->FindPin("Out");
    char text[128];
    EXPECT_FALSE(out->MediaTypeToText(text, sizeof(text)));  // not connected
    ASSERT_TRUE(graph.ConnectByPinName(source, sink, "Out", "In"));

    std::strcpy(text, "untouched");
    EXPECT_FALSE(out->MediaTypeToText(text, 1));
    EXPECT_STREQ(text, "untouched");
    EXPECT_FALSE(out->MediaTypeToText(nullptr, 100));
    EXPECT_TRUE(out->MediaTypeToText(text, 5));
    EXPECT_STREQ(text, "Main");
    EXPECT_TRUE(out->MediaTypeToText(text, sizeof(text)));
    EXPECT_STREQ(text, "MainType:Video,SubType:YUY2");
    EXPECT_TRUE(out->GetMajorTypeText(text, sizeof(text)));
    EXPECT_STREQ(text, "MainType:Video");

    // Unnamed types are spelled as their GUID, 8-4-4-16 hex digits.
    const GUID kUyvySource = TestClsid(0x0304);
    const GUID kAnySink = TestClsid(0x0305);
    RegisterTestFilterClass(kUyvySource, {{PINDIR_OUTPUT, L"Out", L"", GUID_NULL,
                                           {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_UYVY)}}});
    RegisterTestFilterClass(kAnySink, {{PINDIR_INPUT, L"In", L"", GUID_NULL, {}}});
    CRootFilter* uyvy = graph.AddFilter(kUyvySource, "UYVY");
    CRootFilter* any = graph.AddFilter(kAnySink, "Any");
    ASSERT_TRUE(graph.ConnectFilters(uyvy, any));
    GUID major, sub;
    ASSERT_TRUE(uyvy->FindPin("Out")->GetFirstMediaType(&major, &sub));
    EXPECT_EQ(sub, MEDIASUBTYPE_UYVY);
    ASSERT_TRUE(uyvy->FindPin("Out")->MediaTypeToText(text, sizeof(text)));
    EXPECT_EQ(std::string(text).substr(std::string(text).find(",SubType:") + 9),
              "59565955-0000-0010-800000AA00389B71");
}

TEST_F(FilterWrapper, PropertyPagesOfTheFilterAreShownOnlyWhenItListsSome) {
    CRootGraph graph;
    CComPtr<IBaseFilter> withPages;
    withPages.Attach(new FilterWithPages({TestClsid(0x0310), TestClsid(0x0311)}));
    CComPtr<IBaseFilter> withoutPages;
    withoutPages.Attach(new FilterWithPages({}));
    CComPtr<IBaseFilter> withoutInterface;
    withoutInterface.Attach(new TestFilter(GUID_NULL, {}));
    CRootFilter pages(&graph, withPages.p);
    CRootFilter none(&graph, withoutPages.p);
    CRootFilter plain(&graph, withoutInterface.p);
    platform::ClearPropertyFrameCalls();

    BOOL has = TRUE;
    EXPECT_EQ(none.HasPropertyPages(&has), S_OK);
    EXPECT_FALSE(has);
    EXPECT_FALSE(none.ShowPropertyPages(nullptr, "None"));
    EXPECT_FALSE(plain.ShowPropertyPages(nullptr, "Plain"));
    EXPECT_EQ(pages.HasPropertyPages(nullptr), E_FAIL);
    EXPECT_TRUE(pages.FindPin("Out")->ShowPropertyPages(nullptr, "Capture Settings"));

    auto calls = platform::PropertyFrameCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].caption, L"Capture Settings");
    ASSERT_EQ(calls[0].objects.size(), 1u);
    EXPECT_EQ(calls[0].objects[0], static_cast<IUnknown*>(withPages.p));
    ASSERT_EQ(calls[0].pages.size(), 2u);
    EXPECT_EQ(calls[0].pages[1], TestClsid(0x0311));
}
