// The sample grabber wrapper and the station's grabber callback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graph/GrabberCallback.h"
#include "graph/SampleGrabberFilter.h"
#include "platform/dshow/SampleGrabberSettings.h"
#include "support/GraphTestDoubles.h"

using namespace graphtest;

namespace {

const GUID kRgbSource = TestClsid(0x0283);
const GUID kShortSource = TestClsid(0x0284);
const GUID kVideoSink = TestClsid(0x0285);

class Grabber : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        RegisterTestFilterClass(kRgbSource, {PinDescription{PINDIR_OUTPUT, L"Out", L"", GUID_NULL,
                                                            {platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB24, 4, 2, 24)}}});
        const BYTE shortBlock[40] = {};
        RegisterTestFilterClass(kShortSource,
                                {PinDescription{PINDIR_OUTPUT, L"Out", L"", GUID_NULL,
                                                {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo,
                                                           shortBlock, sizeof(shortBlock))}}});
        RegisterTestFilterClass(kVideoSink, {PinDescription{PINDIR_INPUT, L"In", L"", GUID_NULL,
                                                            {MediaType(MEDIATYPE_Video, GUID_NULL)}}});
        m_callback = new CGrabberCallback;
        m_other = new CGrabberCallback;
    }
    void TearDown() override {
        m_other->Release();
        m_callback->Release();
        GraphTest::TearDown();
    }
    // Source -> grabber (-> sink when `connectOutput`).
    CSampleGrabberFilter* Build(CRootGraph& graph, REFCLSID source, bool connectOutput) {
        auto* grabber = dynamic_cast<CSampleGrabberFilter*>(graph.AddFilter(CLSID_SampleGrabber, "Grabber"));
        if (grabber == nullptr || !grabber->SetMediaTypeRGB24()) return nullptr;
        CRootFilter* up = graph.AddFilter(source, "Source");
        if (up == nullptr || !graph.ConnectByPinName(up, grabber, "Out", "Input")) return nullptr;
        if (connectOutput) {
            CRootFilter* sink = graph.AddFilter(kVideoSink, "Sink");
            if (sink == nullptr || !graph.ConnectByPinName(grabber, sink, "Output", "In")) return nullptr;
        }
        return grabber;
    }
    static platform::dshow::SampleGrabberSettings Settings(CSampleGrabberFilter* grabber) {
        platform::dshow::SampleGrabberSettings settings;
        EXPECT_TRUE(platform::dshow::ReadSampleGrabberSettings(grabber->GetFilter(), &settings));
        return settings;
    }
    std::string TestPath(const char* name) const {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        auto dir = std::filesystem::temp_directory_path() / ("grabber-" + std::string(info->name()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }

    CGrabberCallback* m_callback = nullptr;
    CGrabberCallback* m_other = nullptr;
};

}  // namespace

TEST_F(Grabber, CallbackSetOnAConnectedGrabberTurnsBufferingAndOneShotOff) {
    CRootGraph graph;
    CSampleGrabberFilter* grabber = Build(graph, kRgbSource, true);
    ASSERT_NE(grabber, nullptr);
    CComPtr<ISampleGrabber> control;
    grabber->GetFilter()->QueryInterface(IID_ISampleGrabber, reinterpret_cast<void**>(&control));
    control->SetBufferSamples(TRUE);
    control->SetOneShot(TRUE);

    EXPECT_TRUE(grabber->SetCallback(m_callback));
    const auto settings = Settings(grabber);
    EXPECT_FALSE(settings.bufferSamples);
    EXPECT_FALSE(settings.oneShot);
    EXPECT_EQ(settings.callback, static_cast<ISampleGrabberCB*>(m_callback));
    EXPECT_EQ(settings.method, 1);
    EXPECT_EQ(m_callback->GetVideoFormat().biWidth, 4);
    EXPECT_EQ(m_callback->GetVideoFormat().biBitCount, 24);
}

TEST_F(Grabber, FreeOutputPinKeepsThePreviousCallback) {
    CRootGraph graph;
    CSampleGrabberFilter* grabber = Build(graph, kRgbSource, true);
    ASSERT_NE(grabber, nullptr);
    ASSERT_TRUE(grabber->SetCallback(m_callback));
    graph.Disconnect(grabber->FindPin("Output"));
    EXPECT_FALSE(grabber->SetCallback(m_other));
    EXPECT_EQ(grabber->GetCallback(), m_callback);
    EXPECT_EQ(Settings(grabber).callback, static_cast<ISampleGrabberCB*>(m_callback));
}

// Dropping the callback takes it from the grabber too, so the grabber never calls it again.
TEST_F(Grabber, NullCallbackIsTakenFromTheGrabber) {
    CRootGraph graph;
    CSampleGrabberFilter* grabber = Build(graph, kRgbSource, true);
    ASSERT_NE(grabber, nullptr);
    ASSERT_TRUE(grabber->SetCallback(m_callback));
    EXPECT_FALSE(grabber->SetCallback(nullptr));
    EXPECT_EQ(grabber->GetCallback(), nullptr);
    EXPECT_EQ(Settings(grabber).callback, nullptr);
    EXPECT_FALSE(grabber->RequestSnapshot("x.bmp"));
}

// A VIDEOINFOHEADER block shorter than the structure is not read.
TEST_F(Grabber, ShortVideoFormatBlockIsNotHandedOn) {
    CRootGraph graph;
    CSampleGrabberFilter* grabber = Build(graph, kShortSource, true);
    ASSERT_NE(grabber, nullptr);
    EXPECT_TRUE(grabber->SetCallback(m_callback));
    EXPECT_EQ(m_callback->GetVideoFormat().biSize, 0u);
}

TEST_F(Grabber, SnapshotRequestsOneAtATimeWithBoundedPaths) {
    CRootGraph graph;
    CSampleGrabberFilter* grabber = Build(graph, kRgbSource, true);
    ASSERT_NE(grabber, nullptr);
    ASSERT_TRUE(grabber->SetCallback(m_callback));
    EXPECT_FALSE(grabber->RequestSnapshot(nullptr));
    EXPECT_FALSE(grabber->RequestSnapshot(std::string(MAX_PATH, 'a').c_str()));
    EXPECT_FALSE(m_callback->IsSnapshotPending());
    EXPECT_TRUE(grabber->RequestSnapshot(std::string(MAX_PATH - 1, 'a').c_str()));
    EXPECT_FALSE(grabber->RequestSnapshot("second.bmp"));
}

TEST_F(Grabber, BufferCallbackWritesAWholeFrameAsBitmap) {
    BITMAPINFOHEADER format = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    m_callback->SetVideoFormat(&format);
    const std::string path = TestPath("snap.bmp");
    ASSERT_TRUE(m_callback->RequestSnapshot(path.c_str()));
    std::vector<BYTE> frame(24, 0x5A);

    EXPECT_EQ(m_callback->BufferCB(0.0, frame.data(), 23), S_OK);  // short: not written
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(m_callback->IsSnapshotPending());

    EXPECT_EQ(m_callback->BufferCB(0.0, frame.data(), 24), S_OK);
    EXPECT_FALSE(m_callback->IsSnapshotPending());
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 14u + 40u + 24u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[10], 54);  // pixels after both headers
    EXPECT_EQ(bytes.back(), 0x5A);
}

// A paletted or BI_BITFIELDS frame is written with the colour table or masks of its format
// block, its pixels whole behind them; a format whose block lacks them writes nothing.
TEST_F(Grabber, FramesAreWrittenWithTheColourTableOrMasksOfTheirFormat) {
    struct Row {
        const char* what;
        WORD bits;
        DWORD compression;
        DWORD given;   // bytes of table or masks in the format block
        DWORD needed;  // what the header asks for
    };
    for (const Row& row : {Row{"8 bits, 256 colours", 8, BI_RGB, 1024, 1024}, Row{"16 bits, masks", 16, BI_BITFIELDS, 12, 12},
                           Row{"16 bits, masks missing", 16, BI_BITFIELDS, 0, 12}}) {
        SCOPED_TRACE(row.what);
        BITMAPINFOHEADER format = {sizeof(BITMAPINFOHEADER), 32, 32, 1, row.bits, row.compression, 0, 0, 0, 0, 0};
        std::vector<BYTE> block(sizeof(format) + row.given);
        std::memcpy(block.data(), &format, sizeof(format));
        for (DWORD i = 0; i < row.given; ++i) block[sizeof(format) + i] = BYTE(0xC0 + i);
        m_callback->SetVideoFormat(reinterpret_cast<const BITMAPINFOHEADER*>(block.data()), DWORD(block.size()));
        const std::string path = TestPath("snap.bmp");
        ASSERT_TRUE(m_callback->RequestSnapshot(path.c_str()));
        std::vector<BYTE> frame(32 * 32 * row.bits / 8, 0x5A);
        EXPECT_EQ(m_callback->BufferCB(0.0, frame.data(), long(frame.size())), S_OK);
        EXPECT_FALSE(m_callback->IsSnapshotPending());
        if (row.given < row.needed) {
            EXPECT_FALSE(std::filesystem::exists(path));
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(bytes.size(), 14u + 40u + row.given + frame.size());
        DWORD pixelsAt = 0;
        std::memcpy(&pixelsAt, bytes.data() + 10, 4);
        EXPECT_EQ(pixelsAt, 14u + 40u + row.given);
        EXPECT_TRUE(std::equal(block.begin() + 40, block.end(), bytes.begin() + 54));
        EXPECT_EQ(std::vector<BYTE>(bytes.begin() + pixelsAt, bytes.end()), frame);
    }
}

// The writer's temporary file is its own: another program's file beside the target, named as a
// temporary might be, is neither written over nor removed.
TEST_F(Grabber, FailedBitmapWriteLeavesNoFileOfItsOwnAndNobodyElsesIsTouched) {
    BITMAPINFOHEADER format = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    m_callback->SetVideoFormat(&format);
    const std::string path = TestPath("snap.bmp");
    std::ofstream(path + ".part") << "another program's";
    ASSERT_TRUE(m_callback->RequestSnapshot(path.c_str()));
    std::vector<BYTE> frame(24, 0x5A);
    platform::InjectFailure("WriteFile", 1, 0, 1);  // the header goes, the image does not
    m_callback->BufferCB(0.0, frame.data(), 24);
    EXPECT_FALSE(m_callback->IsSnapshotPending());
    const auto folder = std::filesystem::path(path).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    std::ifstream other(path + ".part");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(other), std::istreambuf_iterator<char>()),
              "another program's");
}

// A bitmap another program holds open without FILE_SHARE_DELETE is not replaced: the write is
// traced as refused and leaves no file of its own.
TEST_F(Grabber, ABitmapAnotherProgramHoldsOpenIsNotReplaced) {
    BITMAPINFOHEADER format = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    m_callback->SetVideoFormat(&format);
    const std::string path = TestPath("held.bmp");
    std::ofstream(path) << "shown";
    HANDLE viewer = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(m_callback->RequestSnapshot(path.c_str()));
    std::vector<BYTE> frame(24, 0x5A);
    m_callback->BufferCB(0.0, frame.data(), 24);
    CloseHandle(viewer);
    EXPECT_TRUE(platform::TraceContains("cannot write " + path));
    const auto folder = std::filesystem::path(path).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
    std::ifstream kept(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()), "shown");
}
