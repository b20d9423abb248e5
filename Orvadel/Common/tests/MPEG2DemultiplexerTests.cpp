// The MPEG-2 demultiplexer wrapper on the platform's demultiplexer: the pins it makes, their
// format blocks byte for byte, the stream-id mapping, and a filter without pin control.
#include <gtest/gtest.h>

#include <bdaiface.h>
#include <mtype.h>
#include <objbase.h>

#include <cstring>
#include <vector>

#include "MPEG2Demultiplexer.h"
#include "StationFilterClasses.h"
#include "graph/RootGraph.h"
#include "platform/runtime.h"

namespace {

// Little-endian record writer for the expected format blocks.
struct Bytes {
    std::vector<BYTE> data;
    Bytes& U16(unsigned v) {
        for (int i = 0; i < 2; ++i) data.push_back(static_cast<BYTE>(v >> (8 * i)));
        return *this;
    }
    Bytes& U32(unsigned long long v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<BYTE>(v >> (8 * i)));
        return *this;
    }
    Bytes& U64(unsigned long long v) {
        for (int i = 0; i < 8; ++i) data.push_back(static_cast<BYTE>(v >> (8 * i)));
        return *this;
    }
    Bytes& Hex(const char* hex) {
        for (size_t i = 0; hex[i] != '\0'; i += 2) {
            char pair[3] = {hex[i], hex[i + 1], 0};
            data.push_back(static_cast<BYTE>(strtoul(pair, nullptr, 16)));
        }
        return *this;
    }
};

std::vector<BYTE> ExpectedVideoBlock() {
    Bytes b;
    b.U32(0).U32(0).U32(720).U32(480);            // rcSource
    b.U32(0).U32(0).U32(0).U32(0);                // rcTarget
    b.U32(4000000).U32(0).U64(333667);            // bit rate, error rate, frame time
    b.U32(0).U32(0).U32(4).U32(3).U32(0).U32(0);  // interlace, copy protection, aspect 4:3, flags
    b.U32(40).U32(720).U32(480).U16(0).U16(0).U32(0).U32(0).U32(2000).U32(53031).U32(0).U32(0);
    b.U32(0x6F498).U32(86).U32(2).U32(2).U32(0);
    b.Hex("000001b32d01e02409c4238110111112121213131313141414141415151515151516161616161616171717171717171718181819"
          "181818191a1a1a1a191b1b1b1b1b1c1c1c1c1e1e1e1f1f21000001b5148200010000");
    return b.data;
}

std::vector<BYTE> ExpectedAudioBlock() {
    Bytes b;
    b.U16(0x50).U16(2).U32(48000).U32(32000).U16(768).U16(0).U16(22);
    b.U16(2).U32(256000).U16(1).U16(1).U16(1).U16(0x1C).U32(0).U32(0);
    return b.data;
}

class MPEG2DemultiplexerTest : public testing::Test {
protected:
    MPEG2DemultiplexerTest() {
        CoInitialize(nullptr);
        RegisterGraphFilterClasses();
        RegisterStationFilterClasses();
        graph = new CRootGraph();
    }
    ~MPEG2DemultiplexerTest() override {
        delete graph;
        CoUninitialize();
    }

    CMPEG2Demultiplexer* AddDemux() {
        return dynamic_cast<CMPEG2Demultiplexer*>(graph->AddFilter(CLSID_MPEG2Demultiplexer, "Demux"));
    }

    // The first media type the pin offers.
    static std::vector<BYTE> OfferedBlock(CRootPin* pin, GUID* major, GUID* sub, GUID* format) {
        CComPtr<IEnumMediaTypes> types;
        EXPECT_EQ(pin->GetPin()->EnumMediaTypes(&types), S_OK);
        AM_MEDIA_TYPE* type = nullptr;
        if (types == nullptr || types->Next(1, &type, nullptr) != S_OK) return {};
        *major = type->majortype;
        *sub = type->subtype;
        *format = type->formattype;
        EXPECT_TRUE(type->bFixedSizeSamples);
        EXPECT_FALSE(type->bTemporalCompression);
        EXPECT_EQ(type->lSampleSize, 0u);
        std::vector<BYTE> block(type->pbFormat, type->pbFormat + type->cbFormat);
        DeleteMediaType(type);
        return block;
    }

    CRootGraph* graph = nullptr;
};

TEST_F(MPEG2DemultiplexerTest, TheRegistryMakesTheWrapperAndItsPinsCarryTheFixedTypes) {
    CMPEG2Demultiplexer* demux = AddDemux();
    ASSERT_NE(demux, nullptr) << "the station's record is tried before the generic one";
    EXPECT_TRUE(demux->IsValid());
    EXPECT_TRUE(demux->IsCreatedByClsid());
    ASSERT_TRUE(demux->CreateOutputPin("Video", 0));
    ASSERT_TRUE(demux->CreateOutputPin("Audio", 1));

    GUID major, sub, format;
    CRootPin* video = demux->FindPin("Video");
    ASSERT_NE(video, nullptr);
    std::vector<BYTE> block = OfferedBlock(video, &major, &sub, &format);
    EXPECT_TRUE(IsEqualGUID(major, MEDIATYPE_Video));
    EXPECT_TRUE(IsEqualGUID(sub, MEDIASUBTYPE_MPEG2_VIDEO));
    EXPECT_TRUE(IsEqualGUID(format, FORMAT_MPEG2Video));
    EXPECT_EQ(block, ExpectedVideoBlock());
    EXPECT_EQ(block.size(), 218u);

    CRootPin* audio = demux->FindPin("Audio");
    ASSERT_NE(audio, nullptr);
    block = OfferedBlock(audio, &major, &sub, &format);
    EXPECT_TRUE(IsEqualGUID(major, MEDIATYPE_Audio));
    EXPECT_TRUE(IsEqualGUID(sub, MEDIASUBTYPE_MPEG2_AUDIO));
    EXPECT_TRUE(IsEqualGUID(format, FORMAT_WaveFormatEx));
    EXPECT_EQ(block, ExpectedAudioBlock());

    EXPECT_FALSE(demux->CreateOutputPin("Video", 0)) << "a second pin of the same name is refused";
    EXPECT_TRUE(demux->SetOutputPinMediaType("Audio", const_cast<AM_MEDIA_TYPE*>(&CMPEG2Demultiplexer::VideoPinType())));
    EXPECT_TRUE(demux->DeleteOutputPin("Audio"));
    EXPECT_EQ(demux->FindPin("Audio"), nullptr);
    EXPECT_FALSE(demux->DeleteOutputPin("Audio"));
}

TEST_F(MPEG2DemultiplexerTest, StreamIdsMapOntoExistingPinsOnly) {
    CMPEG2Demultiplexer* demux = AddDemux();
    ASSERT_NE(demux, nullptr);
    ASSERT_TRUE(demux->CreateOutputPin("Video", 0));
    ASSERT_TRUE(demux->CreateOutputPin("Audio", 1));
    EXPECT_FALSE(demux->MapStreamId("Subtitles", FALSE));
    EXPECT_TRUE(demux->MapStreamId("Video", FALSE));
    EXPECT_TRUE(demux->MapStreamId("Audio", TRUE));

    const struct {
        const char* pin;
        ULONG id;
    } expected[] = {{"Video", 0xE0}, {"Audio", 0xC0}};
    for (const auto& e : expected) {
        CComPtr<IMPEG2StreamIdMap> map;
        ASSERT_EQ(demux->FindPin(e.pin)->GetPin()->QueryInterface(IID_IMPEG2StreamIdMap, reinterpret_cast<void**>(&map)),
                  S_OK);
        CComPtr<IEnumStreamIdMap> ids;
        ASSERT_EQ(map->EnumStreamIdMap(&ids), S_OK);
        STREAM_ID_MAP entries[4] = {};
        ULONG got = 0;
        ids->Next(4, entries, &got);
        ASSERT_EQ(got, 1u) << e.pin << ": one id, the missing pin's mapping went nowhere";
        EXPECT_EQ(entries[0].stream_id, e.id);
        EXPECT_EQ(entries[0].dwMediaSampleContent, static_cast<DWORD>(MPEG2_PROGRAM_ELEMENTARY_STREAM));
    }

    platform::InjectFailure("IMPEG2StreamIdMap::MapStreamId");
    EXPECT_FALSE(demux->MapStreamId("Video", FALSE)) << "the filter's refusal is FALSE";
    platform::InjectFailure("IMpeg2Demultiplexer::CreateOutputPin");
    EXPECT_FALSE(demux->CreateOutputPin("Other", 1));
    EXPECT_EQ(demux->FindPin("Other"), nullptr);
}

TEST_F(MPEG2DemultiplexerTest, AFilterWithoutPinControlLeavesAnInvalidWrapper) {
    CMPEG2Demultiplexer wrapper(graph, CLSID_Dump);
    EXPECT_FALSE(wrapper.SetUp());
    EXPECT_FALSE(wrapper.IsValid());
    EXPECT_EQ(wrapper.GetFilter(), nullptr) << "the filter is let go";
    EXPECT_FALSE(wrapper.CreateOutputPin("Video", 0));
    EXPECT_FALSE(wrapper.SetOutputPinMediaType("Video", const_cast<AM_MEDIA_TYPE*>(&CMPEG2Demultiplexer::VideoPinType())));
    EXPECT_FALSE(wrapper.DeleteOutputPin("Video"));
    EXPECT_FALSE(wrapper.MapStreamId("Video", FALSE));

    platform::InjectFailure("CoCreateInstance");
    EXPECT_EQ(graph->AddFilter(CLSID_MPEG2Demultiplexer, "Demux"), nullptr) << "no filter, no wrapper in the graph";
    EXPECT_EQ(graph->GetFilterList(), nullptr);
}

}  // namespace
