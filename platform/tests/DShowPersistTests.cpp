// Saved filter graphs: a graph saved to a compound file loads back with the same filters, names
// and connections, device filters rebound from the device tree.
#include "DShowTestFilters.h"
#include "bdaiface.h"
#include "platform/comservices.h"
#include "platform/runtime.h"
#include "platform/winnls.h"

using namespace dshowtest;

namespace {

class Persist : public DShowTest {
protected:
    // In the test's own state folder: test cases run side by side from one working folder.
    std::wstring path = platform::Utf8ToWide(platform::StateDir() + "/graph.grf");

    // What a graph holds: (name, class) per filter, and "out filter:pin->in filter:pin" per
    // connection, in the graph's order.
    static std::vector<std::wstring> Describe(IGraphBuilder* graph) {
        std::vector<std::wstring> lines;
        CComPtr<IEnumFilters> e;
        graph->EnumFilters(&e);
        CComPtr<IBaseFilter> f;
        while (e->Next(1, &f, nullptr) == S_OK) {
            CLSID clsid;
            f->GetClassID(&clsid);
            std::string id = platform::FormatGuid(clsid);
            lines.push_back(FilterName(f) + L" " + std::wstring(id.begin(), id.end()));
            for (const std::wstring& pinName : PinNames(f)) {
                CComPtr<IPin> peer = PeerOf(PinOf(f, pinName.c_str()));
                PIN_DIRECTION d;
                if (!peer || FAILED(PinOf(f, pinName.c_str())->QueryDirection(&d)) || d != PINDIR_OUTPUT) continue;
                PIN_INFO info;
                peer->QueryPinInfo(&info);
                lines.push_back(FilterName(f) + L":" + pinName + L"->" + FilterName(info.pFilter) + L":" + info.achName);
                info.pFilter->Release();
            }
            f.Release();
        }
        return lines;
    }

    HRESULT Save(IGraphBuilder* graph) {
        CComPtr<IStorage> storage;
        CComPtr<IStream> stream;
        HRESULT hr = StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                                      0, &storage);
        if (SUCCEEDED(hr))
            hr = storage->CreateStream(L"ActiveMovieGraph", STGM_WRITE | STGM_CREATE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                       &stream);
        if (SUCCEEDED(hr)) hr = As<IPersistStream>(graph)->Save(stream, TRUE);
        if (SUCCEEDED(hr)) hr = storage->Commit(STGC_DEFAULT);
        return hr;
    }

    HRESULT Load(IGraphBuilder* graph) {
        CComPtr<IStorage> storage;
        CComPtr<IStream> stream;
        HRESULT hr = StgOpenStorage(path.c_str(), nullptr, STGM_TRANSACTED | STGM_READ | STGM_SHARE_DENY_WRITE,
                                    nullptr, 0, &storage);
        if (SUCCEEDED(hr)) hr = storage->OpenStream(L"ActiveMovieGraph", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
        if (SUCCEEDED(hr)) hr = As<IPersistStream>(graph)->Load(stream);
        return hr;
    }
};

TEST_F(Persist, AGraphSavedToACompoundFileLoadsBackEqual) {
    platform::DeviceId card = platform::AddDevice({CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture",
                                                   [](REFIID riid, void** ppv) {
                                                       return platform::CreateComObject<TestFilter>(
                                                           riid, ppv, std::vector<PinDescription>{Out(L"Capture", {Yuy2()})});
                                                   }});
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    CComPtr<IBaseFilter> capture;
    ASSERT_EQ(platform::BindDevice(card, IID_IBaseFilter, reinterpret_cast<void**>(&capture)), S_OK);
    ASSERT_EQ(graph->AddFilter(capture, L"Capture"), S_OK);
    auto tee = Create<IBaseFilter>(CLSID_InfTee);
    auto grabber = Create<IBaseFilter>(CLSID_SampleGrabber);
    ASSERT_EQ(graph->AddFilter(tee, L"Tee"), S_OK);
    ASSERT_EQ(graph->AddFilter(grabber, L"Grabber"), S_OK);
    ASSERT_EQ(graph->Connect(PinOf(capture, L"Capture"), PinOf(tee, L"Input")), S_OK);
    ASSERT_EQ(graph->Connect(PinOf(tee, L"Output1"), PinOf(grabber, L"Input")), S_OK);
    ASSERT_EQ(graph->Render(PinOf(grabber, L"Output")), S_OK);
    ASSERT_EQ(Save(graph), S_OK);

    auto loaded = Create<IGraphBuilder>(CLSID_FilterGraph);
    ASSERT_EQ(Load(loaded), S_OK);
    EXPECT_EQ(Describe(loaded), Describe(graph));
    EXPECT_EQ(platform::DeviceBindCount(card), 2) << "the card's filter was bound again";
}

TEST_F(Persist, AFilterWithPinsMadeOnRequestLoadsThemBackFromItsSavedState) {
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    auto demux = Create<IBaseFilter>(CLSID_MPEG2Demultiplexer);
    ASSERT_EQ(graph->AddFilter(demux, L"Demux"), S_OK);
    MediaType video(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO);
    wchar_t name[] = L"Video";
    CComPtr<IPin> pin;
    ASSERT_EQ(As<IMpeg2Demultiplexer>(demux)->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&video.Get()), name, &pin),
              S_OK);
    ASSERT_EQ(As<IMPEG2StreamIdMap>(pin)->MapStreamId(0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), S_OK);
    CComPtr<IBaseFilter> decoder = MakeFilter({In(L"In", {MediaType(MEDIATYPE_Video, GUID_NULL)})});
    ASSERT_EQ(graph->AddFilter(decoder, L"Decoder"), S_OK);
    ASSERT_EQ(graph->Connect(pin, PinOf(decoder, L"In")), S_OK);
    DWORD decoders = platform::RegisterComClass(
        CLSID_TestFilter, platform::ComCreatorOf<TestFilter>(std::vector<PinDescription>{In(L"In", {AnyVideo()})}));
    ASSERT_EQ(Save(graph), S_OK);

    auto loaded = Create<IGraphBuilder>(CLSID_FilterGraph);
    HRESULT hr = Load(loaded);
    platform::UnregisterComClass(decoders);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(Describe(loaded), Describe(graph));
    CComPtr<IBaseFilter> again;
    ASSERT_EQ(loaded->FindFilterByName(L"Demux", &again), S_OK);
    CComPtr<IEnumStreamIdMap> ids;
    ASSERT_EQ(As<IMPEG2StreamIdMap>(PinOf(again, L"Video"))->EnumStreamIdMap(&ids), S_OK);
    STREAM_ID_MAP entry = {};
    EXPECT_EQ(ids->Next(1, &entry, nullptr), S_OK);
    EXPECT_EQ(entry.stream_id, 0xE0u) << "the pin's stream ids came back with it";
}

TEST_F(Persist, AStreamThatIsNoSavedGraphIsRefused) {
    CComPtr<IStream> stream;
    ASSERT_EQ(platform::CreateMemoryStream(&stream), S_OK);
    const char junk[] = "not a graph at all";
    stream->Write(junk, sizeof(junk), nullptr);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    auto graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    EXPECT_EQ(As<IPersistStream>(graph)->Load(stream), VFW_E_CORRUPT_GRAPH_FILE);
}

}  // namespace
