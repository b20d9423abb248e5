// The InterVideo wrappers (encoders, file writer, multiplexer, still capture, down-scaler) over
// the simulated PC's installed InterVideo filters: what reaches each filter's parameter
// interface, in which order, and what the wrappers answer when the filter refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graph/IVEncoderFilter.h"
#include "graph/IVStreamFilters.h"
#include "hwsim/installed/InterVideoFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

class InterVideoWrappers : public SystemBench {
protected:
    // (slot, id, value) of every call, value 0 for reads.
    std::vector<std::vector<ULONGLONG>> Sent(REFCLSID clsid) {
        std::vector<std::vector<ULONGLONG>> sent;
        for (const auto& call : Behaviour(clsid).Calls()) {
            std::vector<ULONGLONG> row{ULONGLONG(call.slot)};
            row.insert(row.end(), call.args.begin(), call.args.end());
            if (row.size() == 2) row.push_back(0);
            sent.push_back(row);
        }
        return sent;
    }
    std::string TestPath(const char* name) const {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        auto dir = std::filesystem::temp_directory_path() / ("intervideo-" + std::string(info->name()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        return (dir / name).string();
    }
    static std::vector<BYTE> FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
    }
    static DWORD Le32(const std::vector<BYTE>& bytes, size_t at) {
        return DWORD(bytes[at]) | DWORD(bytes[at + 1]) << 8 | DWORD(bytes[at + 2]) << 16 | DWORD(bytes[at + 3]) << 24;
    }
};

}  // namespace

TEST_F(InterVideoWrappers, PresetsFillTheirRecordsAndLeaveField11) {
    using Preset = BOOL (*)(IVVideoConfig*, int);
    struct Expected {
        Preset preset;
        int standard;
        int field[17];
    };
    const Preset dvd = [](IVVideoConfig* c, int s) { return CIVVideoEncoderFilter::GetPresetDVD(c, s, FALSE); };
    const Preset dvdHigh = [](IVVideoConfig* c, int s) { return CIVVideoEncoderFilter::GetPresetDVD(c, s, TRUE); };
    const Expected expected[] = {
        {dvd, 2, {6, 3, 5, 5, 720, 480, 4500, 9800, 112, 1, 2, -7, 4, 2, 2, 1, 2}},
        {dvdHigh, 1, {6, 3, 5, 5, 720, 576, 7200, 9800, 112, 1, 2, -7, 3, 2, 1, 1, 2}},
        {&CIVVideoEncoderFilter::GetPresetVCD, 1, {12, 3, 16, 16, 352, 288, 1120, 9800, 112, 1, 2, -7, 3, 2, 1, 0, 0}},
        {&CIVVideoEncoderFilter::GetPresetSVCD, 2, {15, 3, 8, 8, 480, 480, 2200, 9800, 112, 1, 2, -7, 4, 2, 2, 1, 2}},
        {&CIVVideoEncoderFilter::GetPresetMPEG1, 2, {15, 3, 5, 5, 352, 240, 4500, 9800, 112, 1, 2, -7, 4, 2, 2, 0, 0}},
        {&CIVVideoEncoderFilter::GetPresetMPEG1, 1, {12, 3, 5, 5, 352, 288, 4500, 9800, 112, 1, 2, -7, 3, 2, 1, 0, 0}},
        {&CIVVideoEncoderFilter::GetPresetMPEG2, 1, {6, 3, 5, 5, 720, 576, 4500, 9800, 112, 1, 2, -7, 3, 2, 1, 1, 2}},
        {&CIVVideoEncoderFilter::GetPresetMPEG2, 2, {6, 3, 5, 5, 720, 480, 4500, 9800, 112, 1, 2, -7, 4, 2, 2, 1, 2}},
    };
    for (const Expected& row : expected) {
        IVVideoConfig config;
        for (int& f : config.field) f = -7;
        EXPECT_TRUE(row.preset(&config, row.standard));
        for (int i = 0; i < 17; ++i) EXPECT_EQ(config.field[i], row.field[i]) << i;
        EXPECT_FALSE(row.preset(nullptr, 1));
    }
    IVAudioConfig audio;
    EXPECT_TRUE(CIVAudioEncoderFilter::GetPresetDVD(&audio));
    EXPECT_EQ(audio.field[0], 48000);
    EXPECT_TRUE(CIVAudioEncoderFilter::GetPresetSVCD(&audio));
    const int svcd[6] = {44100, 224, 100, 1, 2, 0};
    EXPECT_TRUE(std::equal(audio.field, audio.field + 6, svcd));
    EXPECT_FALSE(CIVAudioEncoderFilter::GetPresetMPEG2(nullptr));
}

TEST_F(InterVideoWrappers, VideoPresetOfAnotherStandardStopsAfterItsFirstFiveFields) {
    IVVideoConfig config;
    for (int& f : config.field) f = -7;
    EXPECT_FALSE(CIVVideoEncoderFilter::GetPresetVCD(&config, 3));
    EXPECT_EQ(config.field[15], 0);
    EXPECT_EQ(config.field[6], 1120);
    EXPECT_EQ(config.field[16], 0);
    EXPECT_EQ(config.field[7], 9800);
    EXPECT_EQ(config.field[8], 112);
    for (int i : {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14}) EXPECT_EQ(config.field[i], -7) << i;
}

TEST_F(InterVideoWrappers, VideoRecordIsWrittenInOrderEndingWithTheCommitAndReadWithoutIt) {
    CRootGraph graph;
    auto* video = AddOf<CIVVideoEncoderFilter>(graph, CLSID_IVVideoEncoder);
    ASSERT_NE(video, nullptr);
    IVVideoConfig config;
    ASSERT_TRUE(CIVVideoEncoderFilter::GetPresetSVCD(&config, 1));
    config.field[11] = 99;
    EXPECT_TRUE(video->SetVideoConfig(&config));
    // (id, value): the SVCD preset of standard 1 in the encoder's order, then the commit.
    const std::vector<std::pair<DWORD, int>> wire = {
        {5, 3},   {7, 1}, {8, 1},  {13, 8},   {14, 8}, {11, 12},  {12, 3},   {9, 2200}, {6, 2},
        {18, 2}, {3, 480}, {4, 576}, {10, 1}, {16, 2}, {17, 9800}, {19, 112}, {20, 1}};
    auto sent = Sent(CLSID_IVVideoEncoder);
    ASSERT_EQ(sent.size(), wire.size());
    for (size_t i = 0; i < wire.size(); ++i)
        EXPECT_EQ(sent[i], (std::vector<ULONGLONG>{4, wire[i].first, ULONGLONG(wire[i].second)})) << i;

    Behaviour(CLSID_IVVideoEncoder).ClearCalls();
    IVVideoConfig read;
    for (int& f : read.field) f = -1;
    EXPECT_TRUE(video->GetVideoConfig(&read));
    for (int i = 0; i < 17; ++i) EXPECT_EQ(read.field[i], i == 11 ? -1 : config.field[i]) << i;
    sent = Sent(CLSID_IVVideoEncoder);
    ASSERT_EQ(sent.size(), wire.size() - 1);
    for (size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i], (std::vector<ULONGLONG>{3, wire[i].first, 0})) << i;
}

// A record the filter did not take whole is not reported as taken; every field is still sent.
// S_FALSE is a success: the parameter was taken, or its value read.
TEST_F(InterVideoWrappers, OnlyAFailureCodeMakesTheRecordOperationFalseAfterSendingTheRest) {
    CRootGraph graph;
    auto* audio = AddOf<CIVAudioEncoderFilter>(graph, CLSID_IVAudioEncoder);
    ASSERT_NE(audio, nullptr);
    IVAudioConfig config;
    ASSERT_TRUE(CIVAudioEncoderFilter::GetPresetVCD(&config));
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_IVAudioEncoder);
    behaviour.FailParam(0x105, E_INVALIDARG);
    EXPECT_FALSE(audio->SetAudioConfig(&config));
    const std::vector<std::vector<ULONGLONG>> wire = {
        {4, 0x102, 224}, {4, 0x105, 44100}, {4, 0x108, 1}, {4, 0x104, 100}, {4, 0x103, 0}, {4, 0x101, 2}};
    EXPECT_EQ(Sent(CLSID_IVAudioEncoder), wire);
    LONG stored = 0;
    EXPECT_FALSE(behaviour.Load(0x105, &stored));
    EXPECT_TRUE(behaviour.Load(0x101, &stored));
    EXPECT_EQ(stored, 2);
    behaviour.FailParam(0x105, S_FALSE);
    EXPECT_TRUE(audio->SetAudioConfig(&config));

    // A failed read keeps the field; one read with S_FALSE takes it.
    IVAudioConfig read = {{-1, -1, -1, -1, -1, -1}};
    behaviour.FailParam(0x102, E_FAIL);
    EXPECT_FALSE(audio->GetAudioConfig(&read));
    EXPECT_EQ(read.field[1], -1);
    EXPECT_EQ(read.field[4], 2);
    behaviour.FailParam(0x105, S_FALSE);
    EXPECT_TRUE(audio->GetAudioConfig(&read));
    EXPECT_EQ(read.field[0], 44100);
}

TEST_F(InterVideoWrappers, ParameterInterfaceMustBeGivenExactly) {
    CRootGraph graph;
    auto* video = AddOf<CIVVideoEncoderFilter>(graph, CLSID_IVVideoEncoder);
    auto* audio = AddOf<CIVAudioEncoderFilter>(graph, CLSID_IVAudioEncoder);
    auto* mux = AddOf<CIVMuxFilter>(graph, CLSID_IVMultiplexer);
    ASSERT_TRUE(video && audio && mux);
    IVVideoConfig config;
    ASSERT_TRUE(CIVVideoEncoderFilter::GetPresetVCD(&config, 1));
    IVAudioConfig audioConfig;
    ASSERT_TRUE(CIVAudioEncoderFilter::GetPresetVCD(&audioConfig));
    IVMuxSettings settings;
    ASSERT_TRUE(CIVMuxFilter::GetMuxPreset1(&settings));

    Behaviour(CLSID_IVVideoEncoder).AnswerSFalse("IIVVideoParams");
    Behaviour(CLSID_IVAudioEncoder).AnswerSFalse("IIVAudioParams");
    Behaviour(CLSID_IVMultiplexer).AnswerSFalse("IIVMuxParams");
    EXPECT_FALSE(video->SetVideoConfig(&config));
    EXPECT_FALSE(video->GetVideoConfig(&config));
    EXPECT_FALSE(audio->SetAudioConfig(&audioConfig));
    EXPECT_FALSE(mux->SetMuxSettings(&settings));
    for (const CLSID* clsid : {&CLSID_IVVideoEncoder, &CLSID_IVAudioEncoder, &CLSID_IVMultiplexer})
        EXPECT_TRUE(Behaviour(*clsid).Calls().empty());

    Behaviour(CLSID_IVVideoEncoder).AnswerSFalse("IIVVideoParams", false);
    EXPECT_FALSE(video->SetVideoConfig(nullptr));
    Behaviour(CLSID_IVVideoEncoder).RefuseInterface("IIVVideoParams");
    EXPECT_FALSE(video->SetVideoConfig(&config));
    EXPECT_TRUE(Behaviour(CLSID_IVVideoEncoder).Calls().empty());
}

TEST_F(InterVideoWrappers, MultiplexerPresetsAreWrittenInTheirOrderAndReadBack) {
    CRootGraph graph;
    auto* mux = AddOf<CIVMuxFilter>(graph, CLSID_IVMultiplexer);
    ASSERT_NE(mux, nullptr);
    using Preset = BOOL (*)(IVMuxSettings*);
    const std::pair<Preset, IVMuxSettings> presets[] = {
        {&CIVMuxFilter::GetMuxPreset1, {{2324, 1, 1, 1, 2, 0}}}, {&CIVMuxFilter::GetMuxPreset2, {{2048, 1, 1, 1, 4, 1}}},
        {&CIVMuxFilter::GetMuxPreset3, {{2324, 1, 1, 1, 3, 1}}}, {&CIVMuxFilter::GetMuxPreset4, {{2048, 1, 1, 1, 0, 1}}},
        {&CIVMuxFilter::GetMuxPreset5, {{2048, 1, 1, 1, 1, 1}}}};
    for (const auto& [preset, values] : presets) {
        IVMuxSettings settings;
        ASSERT_TRUE(preset(&settings));
        EXPECT_TRUE(std::equal(settings.field, settings.field + 6, values.field));
        EXPECT_FALSE(preset(nullptr));
    }
    IVMuxSettings settings;
    ASSERT_TRUE(CIVMuxFilter::GetMuxPreset2(&settings));
    EXPECT_TRUE(mux->SetMuxSettings(&settings));
    const std::vector<std::vector<ULONGLONG>> wire = {
        {4, 0x203, 4}, {4, 0x201, 2048}, {4, 0x202, 1}, {4, 0x205, 1}, {4, 0x204, 1}, {4, 0x206, 1}};
    EXPECT_EQ(Sent(CLSID_IVMultiplexer), wire);
    IVMuxSettings read = {};
    EXPECT_TRUE(mux->GetMuxSettings(&read));
    EXPECT_TRUE(std::equal(read.field, read.field + 6, presets[1].second.field));
}

TEST_F(InterVideoWrappers, MultiplexerNewInputIsFoundThroughTheWrapperAfterAConnection) {
    CRootGraph graph;
    auto* video = AddOf<CIVVideoEncoderFilter>(graph, CLSID_IVVideoEncoder);
    auto* mux = AddOf<CIVMuxFilter>(graph, CLSID_IVMultiplexer);
    ASSERT_TRUE(video && mux);
    EXPECT_EQ(mux->FindPin("Input 2"), nullptr);
    ASSERT_TRUE(graph.Connect(video->FindPin("Output"), mux->FindPin("Input 1")));
    CRootPin* second = mux->FindPin("Input 2");
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->IsConnected());
}

TEST_F(InterVideoWrappers, FileWriterNamesItsFileAndPassesTheWideParameterThroughAPointer) {
    CRootGraph graph;
    auto* writer = AddOf<CIVFileWriterFilter>(graph, CLSID_IVFileWriter);
    ASSERT_NE(writer, nullptr);
    EXPECT_TRUE(writer->SetFileName("C:\\Record\\capture.mpg"));
    CComPtr<IFileSinkFilter> sink;
    ASSERT_EQ(writer->GetFilter()->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink)), S_OK);
    LPOLESTR name = nullptr;
    ASSERT_EQ(sink->GetCurFile(&name, nullptr), S_OK);
    EXPECT_EQ(std::wstring(name), L"C:\\Record\\capture.mpg");
    CoTaskMemFree(name);

    EXPECT_TRUE(writer->SetParam500(0x89ABCDEF, 0x01234567));
    auto sent = Sent(CLSID_IVFileWriter);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (std::vector<ULONGLONG>{4, 0x500, 0x0123456789ABCDEFull}));
    ULONGLONG value = 0;
    EXPECT_TRUE(writer->GetParam500(&value));
    EXPECT_EQ(value, 0x0123456789ABCDEFull);
    Behaviour(CLSID_IVFileWriter).FailParam(0x500, E_FAIL);
    EXPECT_FALSE(writer->GetParam500(&value));
}

TEST_F(InterVideoWrappers, DownScalerWritesBothSwitchesAndKeepsOutputsOnAFailedRead) {
    CRootGraph graph;
    auto* scaler = AddOf<CIVDownScaleFilter>(graph, CLSID_IVDownScale);
    ASSERT_NE(scaler, nullptr);
    EXPECT_TRUE(scaler->SetDownScale(TRUE, 5));
    auto sent = Sent(CLSID_IVDownScale);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], (std::vector<ULONGLONG>{4, 0x700, 1}));
    EXPECT_EQ(sent[1], (std::vector<ULONGLONG>{4, 0x701, 1}));
    BOOL first = FALSE, second = FALSE;
    EXPECT_TRUE(scaler->GetDownScale(&first, &second));
    EXPECT_TRUE(first);
    EXPECT_TRUE(second);

    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_IVDownScale);
    behaviour.FailParam(0x700, E_FAIL);
    behaviour.ClearCalls();
    first = second = 7;
    EXPECT_FALSE(scaler->GetDownScale(&first, &second));
    EXPECT_EQ(first, 7);
    EXPECT_EQ(second, 7);
    EXPECT_EQ(Sent(CLSID_IVDownScale), (std::vector<std::vector<ULONGLONG>>{{3, 0x700, 0}, {3, 0x701, 0}}));

    // A refused second write keeps the first.
    behaviour.FailParam(0x701, E_FAIL);
    EXPECT_FALSE(scaler->SetDownScale(FALSE, FALSE));
    LONG stored = -1;
    EXPECT_TRUE(behaviour.Load(0x700, &stored));
    EXPECT_EQ(stored, 0);
    behaviour.FailParam(0x700, E_FAIL);
    behaviour.ClearCalls();
    EXPECT_FALSE(scaler->SetDownScale(TRUE, TRUE));
    EXPECT_EQ(Sent(CLSID_IVDownScale).size(), 1u);

    behaviour.AnswerSFalse("IIVDownScaleParams");
    EXPECT_EQ(graph.AddFilter(CLSID_IVDownScale, "Scaler 2"), nullptr);
}

TEST_F(InterVideoWrappers, StillAccessorsPassTheirArgumentThrough) {
    CRootGraph graph;
    auto* still = AddOf<CIVStillCaptureFilter>(graph, CLSID_IVStillCapture);
    ASSERT_NE(still, nullptr);
    EXPECT_TRUE(still->SetStill601(11));
    EXPECT_TRUE(still->SetStill605(-3));
    LONG value = 0;
    EXPECT_TRUE(still->GetStill601(&value));
    EXPECT_EQ(value, 11);
    EXPECT_TRUE(still->GetStill605(&value));
    EXPECT_EQ(value, -3);
    LONG size = 0;
    EXPECT_TRUE(still->GetStill607(&size));
    std::vector<BYTE> picture(size_t(size), 0xCC);
    EXPECT_TRUE(still->GetStill608(picture.data()));
    EXPECT_EQ(picture[0], 40);
    Behaviour(CLSID_IVStillCapture).FailParam(0x603, E_FAIL);
    EXPECT_FALSE(still->SetStill603(1));
    Behaviour(CLSID_IVStillCapture).AnswerSFalse("IIVStillParams");
    EXPECT_FALSE(still->GetStill601(&value));
}

TEST_F(InterVideoWrappers, SnapshotIsACorrectBmpFileOrNoFileAtAll) {
    CRootGraph graph;
    auto* still = AddOf<CIVStillCaptureFilter>(graph, CLSID_IVStillCapture);
    ASSERT_NE(still, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_IVStillCapture);

    // 100 bytes of a 24-bit picture: the file is 114 bytes and says so.
    std::vector<BYTE> picture = hwsim::IvStillParams::Picture(4, 2, 24);
    picture.resize(100, 0x5A);
    behaviour.SetParam(hwsim::IvStillParams::kPictureParam, picture);
    const std::string path = TestPath("still.bmp");
    EXPECT_TRUE(still->SaveSnapshot(path.c_str()));
    std::vector<BYTE> file = FileBytes(path);
    ASSERT_EQ(file.size(), 114u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), 114u);
    EXPECT_EQ(Le32(file, 6), 0u);
    EXPECT_EQ(Le32(file, 10), 54u);
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), file.begin() + 14));

    // An 8-bit picture's pixels start after its colour table.
    behaviour.SetParam(hwsim::IvStillParams::kPictureParam, hwsim::IvStillParams::Picture(4, 2, 8));
    EXPECT_TRUE(still->SaveSnapshot(path.c_str()));
    EXPECT_EQ(Le32(FileBytes(path), 10), 14u + 40u + 1024u);

    // No picture, one smaller than its header, or one too short for its colour table: no file.
    const std::string none = TestPath("none.bmp");
    std::vector<BYTE> cut = hwsim::IvStillParams::Picture(4, 2, 8);
    cut.resize(48);
    for (const std::vector<BYTE>& bad : {std::vector<BYTE>{}, std::vector<BYTE>(20, 1), cut}) {
        behaviour.SetParam(hwsim::IvStillParams::kPictureParam, bad);
        EXPECT_FALSE(still->SaveSnapshot(none.c_str()));
    }
    EXPECT_FALSE(std::filesystem::exists(none));

    // Three masks follow a 40-byte header with BI_BITFIELDS; a larger header holds them itself.
    std::vector<BYTE> masked = hwsim::IvStillParams::Picture(4, 2, 16);
    masked[16] = BI_BITFIELDS;
    masked.insert(masked.begin() + 40, 12, 0xFF);
    behaviour.SetParam(hwsim::IvStillParams::kPictureParam, masked);
    EXPECT_TRUE(still->SaveSnapshot(path.c_str()));
    EXPECT_EQ(Le32(FileBytes(path), 10), 14u + 40u + 12u);
    masked[0] = 124;
    masked.insert(masked.begin() + 52, 72, 0);
    behaviour.SetParam(hwsim::IvStillParams::kPictureParam, masked);
    EXPECT_TRUE(still->SaveSnapshot(path.c_str()));
    EXPECT_EQ(Le32(FileBytes(path), 10), 14u + 124u);

    // A full disk at the second write keeps the picture that was there, and nothing else.
    const std::vector<BYTE> before = FileBytes(path);
    behaviour.SetParam(hwsim::IvStillParams::kPictureParam, picture);
    platform::InjectFailure("WriteFile", 1, ERROR_DISK_FULL, 1);
    EXPECT_FALSE(still->SaveSnapshot(path.c_str()));
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()), {}), 1);
    platform::InjectFailure("GlobalAlloc");
    EXPECT_FALSE(still->SaveSnapshot(none.c_str()));
    behaviour.FailParam(hwsim::IvStillParams::kPictureParam, E_FAIL);
    EXPECT_FALSE(still->SaveSnapshot(none.c_str()));
    EXPECT_FALSE(std::filesystem::exists(none));
}
