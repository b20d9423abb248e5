// The card library's graph wrappers over the stand-in's tee and MPEG-1 splitter and the simulated
// PC's installed filters: each class through the registry, pins made on connection, what reaches
// the colour converter's and the time-shift filter's private interfaces, and the requests the
// time-shift wrapper refuses before sending anything.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cards/base/CardFilterClasses.h"
#include "cards/filters/StreamFilters.h"
#include "cards/filters/TimeShiftFilter.h"
#include "hwsim/installed/CardGraphFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

class StreamFilterWrappers : public SystemBench {
protected:
    void SetUp() override {
        SystemBench::SetUp();
        RegisterCardFilterClasses();
    }
    template <class T>
    T* AddOf(REFCLSID clsid, const char* name = "Wrapped") {
        return dynamic_cast<T*>(graph.AddFilter(clsid, name));
    }
    CTimeShiftFilter* TimeShift() {
        CTimeShiftFilter* filter = AddOf<CTimeShiftFilter>(CLSID_IVTimeShift);
        EXPECT_NE(filter, nullptr);
        Behaviour(CLSID_IVTimeShift).ClearCalls();
        return filter;
    }
    std::vector<int> Slots(REFCLSID clsid) {
        std::vector<int> slots;
        for (const auto& call : Behaviour(clsid).Calls()) slots.push_back(call.slot);
        return slots;
    }
    static TimeShiftRequest Request(const char* path, int first, int second, int third) {
        TimeShiftRequest request = {};
        std::strncpy(request.path, path, sizeof(request.path) - 1);
        request.first = first;
        request.second = second;
        request.third = third;
        return request;
    }
    static std::string Text(const std::vector<BYTE>& wideBytes) {
        std::string text;
        for (size_t i = 0; i + 1 < wideBytes.size(); i += sizeof(wchar_t)) text += char(wideBytes[i]);
        return text;
    }

    CRootGraph graph;
};

}  // namespace

TEST_F(StreamFilterWrappers, EachClsidGetsItsClassAndTheFiltersThatMakePinsAreReread) {
    CInfTeeFilter* tee = AddOf<CInfTeeFilter>(CLSID_InfTee, "Tee");
    CColorConvertFilter* convert = AddOf<CColorConvertFilter>(CLSID_VorlaneColorConvert, "Convert");
    CMpeg2SplitterFilter* mpeg2 = AddOf<CMpeg2SplitterFilter>(CLSID_VorlaneMpeg2Splitter, "Mpeg2");
    CIVVideoDecoderFilter* decoder = AddOf<CIVVideoDecoderFilter>(CLSID_IVVideoDecoder, "Decoder");
    CTimeShiftFilter* timeShift = AddOf<CTimeShiftFilter>(CLSID_IVTimeShift, "TimeShift");
    CMpeg1SplitterFilter* mpeg1 = AddOf<CMpeg1SplitterFilter>(CLSID_MPEG1Splitter, "Mpeg1");
    ASSERT_TRUE(tee && convert && mpeg2 && decoder && timeShift && mpeg1);
    EXPECT_TRUE(tee->IsDyncPin());
    EXPECT_TRUE(mpeg2->IsDyncPin());
    EXPECT_TRUE(decoder->IsDyncPin());
    EXPECT_TRUE(mpeg1->IsDyncPin());
    EXPECT_FALSE(convert->IsDyncPin());
    EXPECT_FALSE(timeShift->IsDyncPin());
    EXPECT_STREQ(CTimeShiftFilter::s_classRecord.GetName(), "InterVideo Time Shift Filter for vorlane");
    EXPECT_STREQ(CInfTeeFilter::s_classRecord.GetName(), "Infinite Pin Tee Filter");
}

TEST_F(StreamFilterWrappers, TheTeesSecondOutputMadeAfterTheFirstConnectionConnectsByName) {
    RegisterTestFilterClass(kSourceClsid, {OutputPin(L"Out")});
    RegisterTestFilterClass(kSinkClsid, {InputPin(L"In")});
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    CRootFilter* first = graph.AddFilter(kSinkClsid, "First");
    CRootFilter* second = graph.AddFilter(kSinkClsid, "Second");
    CInfTeeFilter* tee = AddOf<CInfTeeFilter>(CLSID_InfTee, "Tee");
    ASSERT_TRUE(source && first && second && tee);
    EXPECT_EQ(tee->FindPin("Output2"), nullptr);

    ASSERT_TRUE(graph.ConnectByPinName(source, tee, "Out", "Input"));
    ASSERT_TRUE(graph.ConnectByPinName(tee, first, "Output1", "In"));
    ASSERT_NE(tee->FindPin("Output2"), nullptr);
    EXPECT_TRUE(graph.ConnectByPinName(tee, second, "Output2", "In"));
    EXPECT_NE(tee->FindPin("Output3"), nullptr);
}

TEST_F(StreamFilterWrappers, SplittersAndDecoderShowTheOutputsTheirFiltersMakeOnConnection) {
    RegisterTestFilterClass(kSourceClsid, {{PINDIR_OUTPUT, L"Out", L"", GUID_NULL,
                                            {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM)}}});
    CRootFilter* source = graph.AddFilter(kSourceClsid, "Source");
    CMpeg2SplitterFilter* splitter = AddOf<CMpeg2SplitterFilter>(CLSID_VorlaneMpeg2Splitter, "Splitter");
    CIVVideoDecoderFilter* decoder = AddOf<CIVVideoDecoderFilter>(CLSID_IVVideoDecoder, "Decoder");
    ASSERT_TRUE(source && splitter && decoder);
    EXPECT_EQ(splitter->FindPin("Video"), nullptr);
    EXPECT_EQ(decoder->FindPin("Video Output"), nullptr);

    ASSERT_TRUE(graph.ConnectByPinName(source, splitter, "Out", "Input"));
    EXPECT_NE(splitter->FindPin("Audio"), nullptr);
    ASSERT_TRUE(graph.ConnectByPinName(splitter, decoder, "Video", "Video Input"));
    EXPECT_NE(decoder->FindPin("Video Output"), nullptr);
}

TEST_F(StreamFilterWrappers, AttachFilterGivesATeeOrSplitterAlreadyInTheGraphItsClass) {
    CComPtr<IBaseFilter> tee, splitter;
    ASSERT_EQ(CoCreateInstance(CLSID_InfTee, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(&tee)),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_MPEG1Splitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               reinterpret_cast<void**>(&splitter)),
              S_OK);
    ASSERT_EQ(graph.GetGraphBuilder()->AddFilter(tee, L"Tee"), S_OK);
    ASSERT_EQ(graph.GetGraphBuilder()->AddFilter(splitter, L"Splitter"), S_OK);
    graph.AttachFilter(tee);
    graph.AttachFilter(splitter);
    auto* teeWrapper = dynamic_cast<CInfTeeFilter*>(graph.FindFilterByInterface(tee));
    ASSERT_NE(teeWrapper, nullptr);
    EXPECT_TRUE(teeWrapper->IsDyncPin());
    EXPECT_NE(dynamic_cast<CMpeg1SplitterFilter*>(graph.FindFilterByInterface(splitter)), nullptr);
}

TEST_F(StreamFilterWrappers, ColourConverterSettersReachTheirSlotsAndAnswerTheFiltersResult) {
    CColorConvertFilter* convert = AddOf<CColorConvertFilter>(CLSID_VorlaneColorConvert);
    ASSERT_NE(convert, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_VorlaneColorConvert);
    EXPECT_EQ(convert->SetParameterA(7), S_OK);
    EXPECT_EQ(convert->SetParameterB(0x12345678), S_OK);
    auto calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].slot, 3);
    EXPECT_EQ(calls[0].args, (std::vector<ULONGLONG>{7}));
    EXPECT_EQ(calls[1].slot, 4);
    EXPECT_EQ(calls[1].args, (std::vector<ULONGLONG>{0x12345678}));

    behaviour.FailSlot("IVorlaneColorConvert", 4, E_UNEXPECTED);
    EXPECT_EQ(convert->SetParameterB(1), E_UNEXPECTED);
    // Without the interface the wrapper stays (it needs none to be valid); the setters answer
    // the query's result and send nothing.
    behaviour.RefuseInterface("IVorlaneColorConvert");
    behaviour.ClearCalls();
    EXPECT_EQ(convert->SetParameterA(1), E_NOINTERFACE);
    EXPECT_TRUE(behaviour.Calls().empty());
    EXPECT_NE(AddOf<CColorConvertFilter>(CLSID_VorlaneColorConvert, "Again"), nullptr);
}

TEST_F(StreamFilterWrappers, TimeShiftWithoutItsInterfaceIsDropped) {
    Behaviour(CLSID_IVTimeShift).RefuseInterface("IIVTimeShift");
    EXPECT_EQ(graph.AddFilter(CLSID_IVTimeShift, "TimeShift"), nullptr);
    EXPECT_EQ(graph.FindFilter("TimeShift"), nullptr);
}

TEST_F(StreamFilterWrappers, SetStorageSendsDirectoryAndFileNameApartWithTheBufferSizes) {
    CTimeShiftFilter* timeShift = TimeShift();
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_IVTimeShift);
    ASSERT_TRUE(timeShift->SetStorage(Request("D:\\Shift\\buffer.tsf", 3, 4000, 10)));
    auto calls = behaviour.Calls();
    ASSERT_EQ(Slots(CLSID_IVTimeShift), (std::vector<int>{3, 4, 9}));
    // KB, the fourth word as the filter gave it, bytes, the first value.
    EXPECT_EQ(calls[1].args, (std::vector<ULONGLONG>{5000, ULONGLONG(hwsim::TimeShiftControl::kDefaultFourth),
                                                      5120000, 3}));
    EXPECT_EQ(Text(calls[1].records[0]), "D:\\Shift");
    EXPECT_EQ(Text(calls[1].records[1]), "buffer.tsf");
    EXPECT_EQ(calls[2].args, (std::vector<ULONGLONG>{4000}));

    // A path ending in a backslash: the directory and an empty file name.
    behaviour.ClearCalls();
    ASSERT_TRUE(timeShift->SetStorage(Request("E:\\Buffers\\", 0, 8, 1)));
    calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(Text(calls[1].records[0]), "E:\\Buffers");
    EXPECT_TRUE(calls[1].records[1].empty());
    EXPECT_EQ(calls[1].args[0], 1u);
    EXPECT_EQ(calls[1].args[2], 1024u);

    // No backslash: FALSE, nothing set.
    behaviour.ClearCalls();
    EXPECT_FALSE(timeShift->SetStorage(Request("buffer.tsf", 0, 4000, 10)));
    EXPECT_EQ(Slots(CLSID_IVTimeShift), (std::vector<int>{3}));
}

TEST_F(StreamFilterWrappers, SetStorageFailsWhenTheFilterRefusesAnyStep) {
    CTimeShiftFilter* timeShift = TimeShift();
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_IVTimeShift);
    behaviour.FailSlot("IIVTimeShift", 3, E_FAIL);
    EXPECT_FALSE(timeShift->SetStorage(Request("D:\\a\\b", 0, 8, 8)));
    EXPECT_EQ(Slots(CLSID_IVTimeShift), (std::vector<int>{3}));

    behaviour.ClearCalls();
    behaviour.FailSlot("IIVTimeShift", 4, E_FAIL);
    EXPECT_FALSE(timeShift->SetStorage(Request("D:\\a\\b", 0, 8, 8)));
    EXPECT_EQ(Slots(CLSID_IVTimeShift), (std::vector<int>{3, 4, 9}));

    behaviour.ClearCalls();
    behaviour.FailSlot("IIVTimeShift", 9, E_FAIL);
    EXPECT_FALSE(timeShift->SetStorage(Request("D:\\a\\b", 0, 8, 8)));
    EXPECT_EQ(Slots(CLSID_IVTimeShift), (std::vector<int>{3, 4, 9}));
}

TEST_F(StreamFilterWrappers, SetStorageRefusesAnUnterminatedPathAndSizesBeyondThirtyTwoBits) {
    CTimeShiftFilter* timeShift = TimeShift();
    // 260 characters, a backslash among them, and no terminator.
    TimeShiftRequest unterminated = Request("", 0, 8, 8);
    std::memset(unterminated.path, 'a', sizeof(unterminated.path));
    unterminated.path[3] = '\\';
    EXPECT_FALSE(timeShift->SetStorage(unterminated));
    // 0x7FFFFFFF x 8 / 8 KB fits its word, but not as bytes; 600000 x 60000 does not fit 32 bits
    // even before the division.
    EXPECT_FALSE(timeShift->SetStorage(Request("D:\\a\\b", 0, 0x7FFFFFFF, 8)));
    EXPECT_FALSE(timeShift->SetStorage(Request("D:\\a\\b", 0, 600000, 60000)));
    EXPECT_FALSE(timeShift->SetStorage(Request("D:\\a\\b", 0, -0x7FFFFFFF, 8)));
    EXPECT_TRUE(Behaviour(CLSID_IVTimeShift).Calls().empty());

    // The largest buffer that fits: 2097151 KB.
    ASSERT_TRUE(timeShift->SetStorage(Request("D:\\a\\b", 0, 2097151, 8)));
    auto calls = Behaviour(CLSID_IVTimeShift).Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1].args[0], 2097151u);
    EXPECT_EQ(calls[1].args[2], 2097151u * 1024u);
}

TEST_F(StreamFilterWrappers, TimeShiftWordsCommandsAndFileNameReachTheirSlots) {
    CTimeShiftFilter* timeShift = TimeShift();
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_IVTimeShift);
    const ULONGLONG wide = 0x1122334455667788ull;
    EXPECT_TRUE(timeShift->SetWordA(1));
    EXPECT_TRUE(timeShift->SetLongWord(&wide));
    EXPECT_TRUE(timeShift->SetWordB(2));
    EXPECT_TRUE(timeShift->SetWordC(3));
    EXPECT_TRUE(timeShift->SetWordD(4));
    EXPECT_TRUE(timeShift->CommandA());
    EXPECT_TRUE(timeShift->CommandB());
    EXPECT_TRUE(timeShift->SetFileName("D:\\Shift\\record.mpg"));
    auto calls = behaviour.Calls();
    ASSERT_EQ(Slots(CLSID_IVTimeShift), (std::vector<int>{13, 14, 15, 16, 17, 19, 20, 21}));
    EXPECT_EQ(calls[0].args, (std::vector<ULONGLONG>{1}));
    EXPECT_EQ(calls[1].args, (std::vector<ULONGLONG>{0x55667788, 0x11223344}));
    EXPECT_EQ(calls[4].args, (std::vector<ULONGLONG>{4}));
    EXPECT_EQ(std::string(calls[7].records[0].begin(), calls[7].records[0].end()), "D:\\Shift\\record.mpg");

    behaviour.FailSlot("IIVTimeShift", 19, E_FAIL);
    EXPECT_FALSE(timeShift->CommandA());
    behaviour.ClearCalls();
    EXPECT_FALSE(timeShift->SetLongWord(nullptr));
    EXPECT_FALSE(timeShift->SetFileName(nullptr));
    EXPECT_TRUE(behaviour.Calls().empty());
}

TEST_F(StreamFilterWrappers, SetFileNameRefusesNamesOf260CharactersOrMore) {
    CTimeShiftFilter* timeShift = TimeShift();
    const std::string longest(259, 'n');
    EXPECT_TRUE(timeShift->SetFileName(longest.c_str()));
    ASSERT_EQ(Behaviour(CLSID_IVTimeShift).Calls().size(), 1u);
    EXPECT_EQ(Behaviour(CLSID_IVTimeShift).Calls()[0].records[0].size(), 259u);

    Behaviour(CLSID_IVTimeShift).ClearCalls();
    EXPECT_FALSE(timeShift->SetFileName(std::string(260, 'n').c_str()));
    std::string wide;  // 157 characters of three bytes each: no 260-byte buffer reads it back
    for (int i = 0; i < 157; ++i) wide += "录";
    EXPECT_FALSE(timeShift->SetFileName(wide.c_str()));
    EXPECT_FALSE(timeShift->SetFileName(std::string(1000, 'n').c_str()));
    EXPECT_TRUE(Behaviour(CLSID_IVTimeShift).Calls().empty());
}

// The record as the time-shift filter's interface describes it after construction: no strings,
// a 512 KB buffer (512 x 1024 bytes), 128 in the fourth word, 0 in the sixth.
TEST(TimeShiftSettings, AfterConstructionHoldsNoStringsAndA512KBBuffer) {
    TimeShiftSettings settings;
    EXPECT_EQ(settings.directory, nullptr);
    EXPECT_EQ(settings.fileName, nullptr);
    EXPECT_EQ(settings.bufferKB, 512);
    EXPECT_EQ(settings.fourth, 128);
    EXPECT_EQ(settings.bufferBytes, 512 * 1024);
    EXPECT_EQ(settings.sixth, 0);
    settings.SetFileName(L"a");
    settings.SetFileName(L"b");  // the first copy is freed (the leak checker's build sees it)
    EXPECT_EQ(settings.fileName[0], L'b');
}
