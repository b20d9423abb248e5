// The MPEG-4 VKI compressor wrappers over the simulated PC's video compressors.
#include <gtest/gtest.h>

#include "graph/Mpeg4VkiFilter.h"
#include "platform/dshow/VfwCompressorFilter.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

const char* const kNames[] = {"Microsoft MPEG-4  VKI  Codec V1", "Microsoft MPEG-4  VKI  Codec V2",
                              "Microsoft MPEG-4  VKI  Codec V3"};
const GUID kVideoSink = TestClsid(0x0282);

class Mpeg4Vki : public SystemBench {
protected:
    CMpeg4VkiFilter* Add(CRootGraph& graph, int version) {
        return dynamic_cast<CMpeg4VkiFilter*>(
            graph.AddDeviceFilter(CLSID_VideoCompressorCategory, kNames[version], kNames[version], 0, 0));
    }
    // Connects the compressor's output to a sink that takes any video.
    static void ConnectOutput(CRootGraph& graph, CMpeg4VkiFilter* compressor) {
        RegisterTestFilterClass(kVideoSink, {PinDescription{PINDIR_INPUT, L"In", L"", GUID_NULL,
                                                            {MediaType(MEDIATYPE_Video, GUID_NULL)}}});
        CRootFilter* sink = graph.AddFilter(kVideoSink, "Sink");
        ASSERT_NE(sink, nullptr);
        ASSERT_TRUE(graph.ConnectByPinName(compressor, sink, "Output", "In"));
    }
    static REFERENCE_TIME AvgTimePerFrame(CMpeg4VkiFilter* compressor) {
        CComPtr<IPin> pin;
        CComPtr<IAMStreamConfig> config;
        compressor->GetFilter()->FindPin(L"Output", &pin);
        pin->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config));
        AM_MEDIA_TYPE* mt = nullptr;
        config->GetFormat(&mt);
        const REFERENCE_TIME time = reinterpret_cast<VIDEOINFOHEADER*>(mt->pbFormat)->AvgTimePerFrame;
        DeleteMediaType(mt);
        return time;
    }
    static platform::dshow::VfwCompressorFilter* Compressor(CMpeg4VkiFilter* wrapper) {
        return dynamic_cast<platform::dshow::VfwCompressorFilter*>(FilterOf(wrapper));
    }
};

}  // namespace

TEST_F(Mpeg4Vki, EachVersionBindsItsOwnDevice) {
    CRootGraph graph;
    CMpeg4VkiFilter* v1 = Add(graph, 0);
    CMpeg4VkiFilter* v2 = Add(graph, 1);
    CMpeg4VkiFilter* v3 = Add(graph, 2);
    EXPECT_NE(dynamic_cast<CMpeg4VkiV1Filter*>(v1), nullptr);
    EXPECT_NE(dynamic_cast<CMpeg4VkiV2Filter*>(v2), nullptr);
    EXPECT_NE(dynamic_cast<CMpeg4VkiV3Filter*>(v3), nullptr);
    EXPECT_EQ(BoundDevice(v1), Devices().CompressorDevices()[0]);
    EXPECT_EQ(BoundDevice(v2), Devices().CompressorDevices()[1]);
    EXPECT_EQ(BoundDevice(v3), Devices().CompressorDevices()[2]);
}

TEST_F(Mpeg4Vki, FrameRateSetsTheConnectedOutputsFormat) {
    CRootGraph graph;
    CMpeg4VkiFilter* v3 = Add(graph, 2);
    ASSERT_NE(v3, nullptr);
    EXPECT_FALSE(v3->SetFrameRate(25));  // output not connected
    ConnectOutput(graph, v3);
    const REFERENCE_TIME before = AvgTimePerFrame(v3);
    EXPECT_FALSE(v3->SetFrameRate(0));
    EXPECT_FALSE(v3->SetFrameRate(31));
    EXPECT_EQ(AvgTimePerFrame(v3), before);
    EXPECT_TRUE(v3->SetFrameRate(25));
    EXPECT_EQ(AvgTimePerFrame(v3), 400000);
}

TEST_F(Mpeg4Vki, StateAndDialogsGoToTheCompressor) {
    CRootGraph graph;
    CMpeg4VkiFilter* v1 = Add(graph, 0);
    ASSERT_NE(v1, nullptr);
    BYTE state[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_TRUE(v1->SetState(state, sizeof(state)));
    BYTE read[16] = {};
    int size = sizeof(read);
    EXPECT_TRUE(v1->GetState(read, &size));
    EXPECT_EQ(0, std::memcmp(read, state, sizeof(state)));
    EXPECT_FALSE(v1->GetState(read, nullptr));

    platform::InjectFailure("IAMVfwCompressDialogs::GetState", 1, S_FALSE);
    EXPECT_FALSE(v1->GetState(read, &size));

    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_TRUE(v1->ShowDialog(VfwCompressDialog_Config, owner));
    ASSERT_EQ(Compressor(v1)->DialogsShown().size(), 1u);
    EXPECT_EQ(Compressor(v1)->DialogsShown()[0].owner, owner);
}

TEST_F(Mpeg4Vki, CompressorWithoutDialogsIsValidAndItsDialogOperationsFail) {
    platform::InjectFailure("QueryInterface:IAMVfwCompressDialogs", -1);
    CRootGraph graph;
    CMpeg4VkiFilter* v2 = Add(graph, 1);
    ASSERT_NE(v2, nullptr);
    BYTE state[4] = {};
    int size = sizeof(state);
    EXPECT_FALSE(v2->GetState(state, &size));
    EXPECT_FALSE(v2->SetState(state, size));
    EXPECT_FALSE(v2->ShowDialog(VfwCompressDialog_About, nullptr));
}

// A VIDEOINFOHEADER block shorter than the structure counts as another format: not written.
TEST_F(Mpeg4Vki, ShortVideoFormatBlockIsNotWritten) {
    CRootGraph graph;
    CMpeg4VkiFilter* v1 = Add(graph, 0);
    ASSERT_NE(v1, nullptr);
    ConnectOutput(graph, v1);
    CComPtr<IPin> pin;
    CComPtr<IAMStreamConfig> config;
    v1->GetFilter()->FindPin(L"Output", &pin);
    ASSERT_EQ(pin->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)), S_OK);
    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(config->GetFormat(&mt), S_OK);
    mt->cbFormat = 40;
    ASSERT_EQ(config->SetFormat(mt), S_OK);
    DeleteMediaType(mt);
    EXPECT_FALSE(v1->SetFrameRate(25));
    ASSERT_EQ(config->GetFormat(&mt), S_OK);
    EXPECT_EQ(mt->cbFormat, 40u);
    DeleteMediaType(mt);
}
