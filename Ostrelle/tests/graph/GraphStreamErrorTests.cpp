// Streaming errors of a running graph reach the station's window as WM_GRAPH_EVENT: a full
// disk under the dump filter, and a sample refused by a pin.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "support/GraphTestDoubles.h"
#include "platform/comservices.h"
#include "platform/dshow/SourceBase.h"
#include "platform/runtime.h"
#include "platform/winfile.h"

using namespace graphtest;

namespace {

const GUID kStreamSourceClsid = TestClsid(0x0601);

// A byte stream of 4 KiB samples every 10 ms.
class StreamSource : public platform::dshow::SourceBase {
public:
    StreamSource() : SourceBase(kStreamSourceClsid) {
        platform::dshow::MediaType type(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
        type.SetSampleSize(4096, TRUE);
        AddPin(platform::dshow::PinDescription{PINDIR_OUTPUT, L"Out", L"", GUID_NULL, {type}});
    }

protected:
    REFERENCE_TIME SampleTime(platform::dshow::PinBase*, ULONGLONG index) override { return REFERENCE_TIME(index) * 100000; }
    HRESULT FillSample(platform::dshow::PinBase*, ULONGLONG, IMediaSample* sample) override {
        return sample->SetActualDataLength(4096);
    }
};

class GraphStreamErrors : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        m_cookie = platform::RegisterComClass(kStreamSourceClsid, platform::ComCreatorOf<StreamSource>());
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "StreamErrorWindow";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, "StreamErrorWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(m_window);
        platform::UnregisterComClass(m_cookie);
        platform::ClearFailures();
        GraphTest::TearDown();
    }
    // The abort's WM_GRAPH_EVENT, after the graph ran for a while.
    bool AbortMessage(CRootGraph& graph, WPARAM* wParam, LPARAM* lParam) {
        EXPECT_TRUE(graph.Run());
        Sleep(200);
        graph.HandleGraphEvents(m_window);
        graph.Stop();
        MSG msg;
        while (PeekMessageA(&msg, m_window, WM_GRAPH_EVENT, WM_GRAPH_EVENT, PM_REMOVE)) {
            if (msg.lParam != GRAPH_EVENT_ERROR_ABORT && msg.lParam != GRAPH_EVENT_DISK_FULL) continue;
            *wParam = msg.wParam;
            *lParam = msg.lParam;
            return true;
        }
        return false;
    }
    DWORD m_cookie = 0;
    HWND m_window = nullptr;
};

TEST_F(GraphStreamErrors, AFullDiskAndARefusedSampleArriveAsGraphEvents) {
    CRootGraph graph;
    CRootFilter* source = graph.AddFilter(kStreamSourceClsid, "Source");
    CRootFilter* dump = graph.AddFilter(CLSID_Dump, "Dump Filter");
    ASSERT_TRUE(source && dump);
    CComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(dump->GetFilter()->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink)), S_OK);
    std::string path = platform::StateDir() + "/record.mpg";
    ASSERT_EQ(sink->SetFileName(std::wstring(path.begin(), path.end()).c_str(), nullptr), S_OK);
    ASSERT_TRUE(graph.ConnectFilters(source, dump));

    WPARAM wParam = 1;
    LPARAM lParam = 0;
    platform::InjectFailure("WriteFile", 1, ERROR_DISK_FULL, 4);
    ASSERT_TRUE(AbortMessage(graph, &wParam, &lParam));
    EXPECT_EQ(lParam, GRAPH_EVENT_DISK_FULL);
    EXPECT_EQ(wParam, 0u);

    platform::InjectFailure("IMemInputPin::Receive:Input", 1, E_OUTOFMEMORY, 2);
    ASSERT_TRUE(AbortMessage(graph, &wParam, &lParam));
    EXPECT_EQ(lParam, GRAPH_EVENT_ERROR_ABORT);
    EXPECT_EQ(static_cast<HRESULT>(wParam), E_OUTOFMEMORY);
}

}  // namespace
