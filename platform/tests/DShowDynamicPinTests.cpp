// Filters whose pins come and go with their connections: the Infinite Pin Tee, the AVI
// multiplexer, the MPEG-1 splitter's outputs and the MPEG-2 demultiplexer's pins made on request.
#include "DShowTestFilters.h"
#include "bdaiface.h"

using namespace dshowtest;

namespace {

class DynamicPins : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);

    CComPtr<IBaseFilter> Add(CComPtr<IBaseFilter> filter, const wchar_t* name) {
        EXPECT_EQ(graph->AddFilter(filter, name), S_OK);
        return filter;
    }
};

TEST_F(DynamicPins, TheTeeAlwaysKeepsOneFreeOutputThatOffersTheInputsType) {
    auto source = Add(MakeFilter({Out(L"Capture", {Yuy2()})}), L"Source");
    auto tee = Add(Create<IBaseFilter>(CLSID_InfTee), L"Tee");
    EXPECT_EQ(PinNames(tee), (std::vector<std::wstring>{L"Input", L"Output1"}));

    auto early = Add(MakeFilter({In(L"In", {AnyVideo()})}), L"Early");
    EXPECT_EQ(graph->Connect(PinOf(tee, L"Output1"), PinOf(early, L"In")), VFW_E_CANNOT_CONNECT)
        << "an output has nothing to offer before the input is connected";

    ASSERT_EQ(graph->Connect(PinOf(source, L"Capture"), PinOf(tee, L"Input")), S_OK);
    auto first = Add(MakeFilter({In(L"In", {AnyVideo()})}), L"First");
    auto second = Add(MakeFilter({In(L"In", {AnyVideo()})}), L"Second");
    ASSERT_EQ(graph->Connect(PinOf(tee, L"Output1"), PinOf(first, L"In")), S_OK);
    EXPECT_EQ(PinNames(tee), (std::vector<std::wstring>{L"Input", L"Output1", L"Output2"}));
    ASSERT_EQ(graph->Connect(PinOf(tee, L"Output2"), PinOf(second, L"In")), S_OK);
    EXPECT_EQ(PinNames(tee), (std::vector<std::wstring>{L"Input", L"Output1", L"Output2", L"Output3"}));
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(PinOf(second, L"In")->ConnectionMediaType(&mt), S_OK);
    EXPECT_TRUE(MediaType(mt) == Yuy2());
    FreeMediaType(mt);

    graph->RemoveFilter(first);
    EXPECT_EQ(PinNames(tee), (std::vector<std::wstring>{L"Input", L"Output1", L"Output2"}))
        << "of the free outputs one stays";
}

TEST_F(DynamicPins, TheMpeg1SplitterShowsItsOutputsWhileItsInputIsConnected) {
    auto source = Add(MakeFilter({Out(L"Stream", {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System)})}), L"Source");
    auto splitter = Add(Create<IBaseFilter>(CLSID_MPEG1Splitter), L"Splitter");
    EXPECT_EQ(PinNames(splitter), (std::vector<std::wstring>{L"Input"}));

    ASSERT_EQ(graph->Connect(PinOf(source, L"Stream"), PinOf(splitter, L"Input")), S_OK);
    EXPECT_EQ(PinNames(splitter), (std::vector<std::wstring>{L"Input", L"Video", L"Audio"}));
    auto video = Add(MakeFilter({In(L"In", {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload)})}), L"Video");
    ASSERT_EQ(graph->Connect(PinOf(splitter, L"Video"), PinOf(video, L"In")), S_OK);

    // The input gone, the free output goes; the connected one stays until it is disconnected.
    ASSERT_EQ(graph->Disconnect(PinOf(source, L"Stream")), S_OK);
    ASSERT_EQ(graph->Disconnect(PinOf(splitter, L"Input")), S_OK);
    EXPECT_EQ(PinNames(splitter), (std::vector<std::wstring>{L"Input", L"Video"}));
    graph->RemoveFilter(video);
    EXPECT_EQ(PinNames(splitter), (std::vector<std::wstring>{L"Input"}));
    ASSERT_EQ(graph->Connect(PinOf(source, L"Stream"), PinOf(splitter, L"Input")), S_OK);
    EXPECT_EQ(PinNames(splitter), (std::vector<std::wstring>{L"Input", L"Video", L"Audio"}));
}

TEST_F(DynamicPins, TheAviMultiplexerGrowsAnInputPerConnection) {
    auto video = Add(MakeFilter({Out(L"Video", {Yuy2()})}), L"Video");
    auto audio = Add(MakeFilter({Out(L"Audio", {platform::dshow::PcmAudioType(2, 44100, 16)})}), L"Audio");
    auto mux = Add(Create<IBaseFilter>(CLSID_AviDest), L"Mux");
    EXPECT_EQ(PinNames(mux), (std::vector<std::wstring>{L"AVI Out", L"Input 01"}));
    ASSERT_EQ(graph->Connect(PinOf(video, L"Video"), PinOf(mux, L"Input 01")), S_OK);
    ASSERT_EQ(graph->Connect(PinOf(audio, L"Audio"), PinOf(mux, L"Input 02")), S_OK);
    EXPECT_EQ(PinNames(mux), (std::vector<std::wstring>{L"AVI Out", L"Input 01", L"Input 02", L"Input 03"}));

    auto config = As<IConfigAviMux>(mux);
    auto interleaving = As<IConfigInterleaving>(mux);
    ASSERT_TRUE(config && interleaving);
    EXPECT_EQ(config->SetOutputCompatibilityIndex(TRUE), S_OK);
    EXPECT_EQ(config->SetMasterStream(0), S_OK);
    REFERENCE_TIME interleave = 1000, preroll = 750;
    EXPECT_EQ(interleaving->put_Interleaving(&interleave, &preroll), S_OK);
    EXPECT_EQ(interleaving->put_Mode(INTERLEAVE_NONE), S_OK);
    InterleavingMode mode;
    interleaving->get_Mode(&mode);
    EXPECT_EQ(mode, INTERLEAVE_NONE);
}

TEST_F(DynamicPins, TheDemultiplexerMakesAndDeletesOutputPinsWithTheirStreamIds) {
    auto demux = Add(Create<IBaseFilter>(CLSID_MPEG2Demultiplexer), L"Demux");
    auto control = As<IMpeg2Demultiplexer>(demux);
    ASSERT_TRUE(control);
    MediaType video(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO);
    MediaType audio(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO);
    CComPtr<IPin> videoPin, audioPin, again;
    wchar_t videoName[] = L"Video", audioName[] = L"Audio";
    ASSERT_EQ(control->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&video.Get()), videoName, &videoPin), S_OK);
    ASSERT_EQ(control->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&audio.Get()), audioName, &audioPin), S_OK);
    EXPECT_EQ(control->CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&audio.Get()), audioName, &again), E_INVALIDARG);
    EXPECT_EQ(PinNames(demux), (std::vector<std::wstring>{L"MPEG-2 Stream", L"Video", L"Audio"}));

    auto map = As<IMPEG2StreamIdMap>(videoPin);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->MapStreamId(0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), S_OK);
    EXPECT_EQ(map->MapStreamId(0xE0, MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0), E_INVALIDARG);
    CComPtr<IEnumStreamIdMap> ids;
    ASSERT_EQ(map->EnumStreamIdMap(&ids), S_OK);
    STREAM_ID_MAP entry;
    ULONG got = 0;
    EXPECT_EQ(ids->Next(1, &entry, &got), S_OK);
    EXPECT_EQ(entry.stream_id, 0xE0u);
    EXPECT_EQ(entry.dwMediaSampleContent, DWORD(MPEG2_PROGRAM_ELEMENTARY_STREAM));

    auto decoder = Add(MakeFilter({In(L"In", {MediaType(MEDIATYPE_Video, GUID_NULL)})}), L"Decoder");
    ASSERT_EQ(graph->Connect(videoPin, PinOf(decoder, L"In")), S_OK);
    EXPECT_EQ(control->DeleteOutputPin(videoName), S_OK);
    EXPECT_FALSE(PeerOf(PinOf(decoder, L"In"))) << "a deleted pin is disconnected at both ends";
    EXPECT_EQ(PinNames(demux), (std::vector<std::wstring>{L"MPEG-2 Stream", L"Audio"}));
    EXPECT_EQ(control->DeleteOutputPin(videoName), VFW_E_NOT_FOUND);
    PIN_INFO info;
    ASSERT_EQ(videoPin->QueryPinInfo(&info), S_OK) << "a pin still held outlives its place on the filter";
    EXPECT_EQ(info.pFilter, nullptr);
}

}  // namespace
