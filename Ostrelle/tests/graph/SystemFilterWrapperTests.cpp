// The file writer, multiplexer, switch, delay and H.264 decoder wrappers, and the file names of
// every file-sink wrapper, over the stand-in's system filters and the simulated PC's installed
// makers' filters.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "graph/AVSwitchFilter.h"
#include "graph/DumpFilter.h"
#include "graph/FileWriteFilter.h"
#include "graph/IVStreamFilters.h"
#include "graph/LigosFilters.h"
#include "graph/MCH264DecoderFilter.h"
#include "graph/MCH264EncoderFilter.h"
#include "graph/MCMpegCodecFilters.h"
#include "graph/MCMpegEncoderFilter.h"
#include "graph/MuxFilter.h"
#include "graph/TimeDelayFilter.h"
#include "hwsim/installed/VorlaneFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

using SystemWrappers = SystemBench;

std::wstring CurrentFile(CRootFilter* wrapper) {
    CComPtr<IFileSinkFilter> sink;
    LPOLESTR name = nullptr;
    if (wrapper->GetFilter()->QueryInterface(IID_IFileSinkFilter, reinterpret_cast<void**>(&sink)) != S_OK ||
        sink->GetCurFile(&name, nullptr) != S_OK || name == nullptr)
        return L"(none)";
    std::wstring file(name);
    CoTaskMemFree(name);
    return file;
}

// The multiplexer's set-up: the old-style index, stream 0 as the master stream.
void ExpectOldIndexAndMasterStream0(IConfigAviMux* config) {
    BOOL oldIndex = FALSE;
    LONG master = -1;
    config->GetOutputCompatibilityIndex(&oldIndex);
    config->GetMasterStream(&master);
    EXPECT_TRUE(oldIndex);
    EXPECT_EQ(master, 0);
}

}  // namespace

TEST_F(SystemWrappers, FileWriterNamesItsFileAndReadsItBackWhenItFits) {
    CRootGraph graph;
    auto* writer = AddOf<CFileWriteFilter>(graph, CLSID_FileWriter);
    ASSERT_NE(writer, nullptr);
    char name[MAX_PATH] = "stale";
    EXPECT_TRUE(writer->GetFileName(name));
    EXPECT_STREQ(name, "");
    EXPECT_TRUE(writer->SetFileName("C:\\Record\\12_30_00.avi"));
    EXPECT_TRUE(writer->GetFileName(name));
    EXPECT_STREQ(name, "C:\\Record\\12_30_00.avi");

    char small[8] = "stale";
    EXPECT_FALSE(writer->GetFileName(small, sizeof(small)));
    EXPECT_STREQ(small, "");

    platform::InjectFailure("IFileSinkFilter::GetCurFile");
    EXPECT_FALSE(writer->GetFileName(name));
}

TEST_F(SystemWrappers, MultiplexerIsConfiguredAtSetUp) {
    CRootGraph graph;
    auto* mux = AddOf<CMuxFilter>(graph, CLSID_AviDest);
    ASSERT_NE(mux, nullptr);
    EXPECT_TRUE(mux->IsDyncPin());
    CComPtr<IConfigAviMux> config;
    CComPtr<IConfigInterleaving> interleaving;
    ASSERT_EQ(mux->GetFilter()->QueryInterface(IID_IConfigAviMux, reinterpret_cast<void**>(&config)), S_OK);
    ASSERT_EQ(mux->GetFilter()->QueryInterface(IID_IConfigInterleaving, reinterpret_cast<void**>(&interleaving)), S_OK);
    ExpectOldIndexAndMasterStream0(config);
    REFERENCE_TIME interleave = 0, preroll = 0;
    InterleavingMode mode = INTERLEAVE_FULL;
    interleaving->get_Interleaving(&interleave, &preroll);
    interleaving->get_Mode(&mode);
    EXPECT_EQ(interleave, 1000);
    EXPECT_EQ(preroll, 750);
    EXPECT_EQ(mode, INTERLEAVE_NONE);

    // The settings' own results are not looked at.
    platform::InjectFailure("IConfigInterleaving::put_Mode");
    platform::InjectFailure("IConfigAviMux::SetMasterStream");
    EXPECT_TRUE(mux->ConfigureMux(1));
    platform::InjectFailure("IConfigAviMux::SetOutputCompatibilityIndex");
    EXPECT_FALSE(mux->ConfigureMux(1));
}

TEST_F(SystemWrappers, MultiplexerWithoutInterleavingIsInvalidAfterItsIndexWasSet) {
    platform::InjectFailure("QueryInterface:IConfigInterleaving", -1);
    CRootGraph graph;
    EXPECT_EQ(graph.AddFilter(CLSID_AviDest, "Mux"), nullptr);
    CMuxFilter mux(&graph, CLSID_AviDest);
    EXPECT_FALSE(mux.SetUp());
    CComPtr<IConfigAviMux> config;
    ASSERT_EQ(mux.GetFilter()->QueryInterface(IID_IConfigAviMux, reinterpret_cast<void**>(&config)), S_OK);
    ExpectOldIndexAndMasterStream0(config);
}

TEST_F(SystemWrappers, SwitchSendsVariantBoolsAndReadsOnAfterAFailure) {
    CRootGraph graph;
    auto* avSwitch = AddOf<CAVSwitchFilter>(graph, CLSID_VorlaneAVSwitch);
    ASSERT_NE(avSwitch, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_VorlaneAVSwitch);
    EXPECT_TRUE(avSwitch->SetSwitch(FALSE));
    EXPECT_TRUE(avSwitch->SetSwitch(7));
    auto calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].slot, 4);
    EXPECT_EQ(calls[0].args[0], 0u);
    EXPECT_EQ(calls[1].args[0], 0xFFFFu);

    BOOL on = FALSE;
    behaviour.Store(hwsim::AvSwitchControl::kSwitchParam, VARIANT_FALSE);
    EXPECT_TRUE(avSwitch->GetSwitch(&on));
    EXPECT_FALSE(on);
    behaviour.FailSlot("IAVSwitch", 3, E_FAIL);
    EXPECT_FALSE(avSwitch->GetSwitch(&on));
    EXPECT_TRUE(on);
}

TEST_F(SystemWrappers, SwitchNeedsItsInterfaceExactly) {
    Behaviour(CLSID_VorlaneAVSwitch).AnswerSFalse("IAVSwitch");
    CRootGraph graph;
    EXPECT_EQ(graph.AddFilter(CLSID_VorlaneAVSwitch, "Switch"), nullptr);
    Behaviour(CLSID_VorlaneAVSwitch).AnswerSFalse("IAVSwitch", false);
    Behaviour(CLSID_VorlaneAVSwitch).RefuseInterface("IAVSwitch");
    EXPECT_EQ(graph.AddFilter(CLSID_VorlaneAVSwitch, "Switch"), nullptr);
}

// A decoder whose interface answers S_FALSE is still taken.
TEST_F(SystemWrappers, DecoderInterfaceGivenWithSFalseIsTaken) {
    CRootGraph graph;
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_MCH264VideoDecoder);
    behaviour.AnswerSFalse("IMCH264DecoderOutput");
    EXPECT_NE(graph.AddFilter(CLSID_MCH264VideoDecoder, "Decoder 2"), nullptr);
    behaviour.RefuseInterface("IMCH264DecoderOutput");
    EXPECT_EQ(graph.AddFilter(CLSID_MCH264VideoDecoder, "Decoder 3"), nullptr);
}

// A name of 260 characters does not convert whole: cut, it would name another file.
TEST_F(SystemWrappers, EveryFileSinkWrapperTakesANameWholeOrRefusesIt) {
    CRootGraph graph;
    auto* mpeg = AddOf<CMCMpegEncoderFilter>(graph, CLSID_MCMpegEncoder);
    auto* h264 = AddOf<CMCH264EncoderFilter>(graph, CLSID_MCH264Encoder);
    auto* mux = AddOf<CMCMuxFilter>(graph, CLSID_MCMpegMultiplexer);
    auto* writer = AddOf<CFileWriteFilter>(graph, CLSID_FileWriter);
    auto* ivWriter = AddOf<CIVFileWriterFilter>(graph, CLSID_IVFileWriter);
    auto* ligos = AddOf<CLigosEncoderFilter>(graph, CLSID_LigosEncoder);
    auto* transcoder = AddOf<CLigosTranscodeFilter>(graph, CLSID_LigosTranscoder);
    auto* dump = AddOf<CDumpFilter>(graph, CLSID_Dump);
    ASSERT_TRUE(mpeg && h264 && mux && writer && ivWriter && ligos && transcoder && dump);
    const std::pair<CRootFilter*, std::function<BOOL(const char*)>> sinks[] = {
        {mpeg, [&](const char* name) { return mpeg->SetFileName(name); }},
        {h264, [&](const char* name) { return h264->SetFileName(name); }},
        {mux, [&](const char* name) { return mux->SetFileName(name); }},
        {writer, [&](const char* name) { return writer->SetFileName(name); }},
        {ivWriter, [&](const char* name) { return ivWriter->SetFileName(name); }},
        {ligos, [&](const char* name) { return ligos->SetOutputFile(name); }},
        {transcoder, [&](const char* name) { return transcoder->SetOutputFile(name); }},
        {dump, [&](const char* name) { return dump->SetFileName(name); }},
    };
    const std::string fits = "C:\\" + std::string(256, 'n');
    const std::string tooLong = "D:\\" + std::string(257, 'n');
    for (const auto& [wrapper, setFileName] : sinks) {
        EXPECT_TRUE(setFileName(fits.c_str())) << wrapper->GetDeviceName();
        EXPECT_FALSE(setFileName(tooLong.c_str())) << wrapper->GetDeviceName();
        EXPECT_EQ(CurrentFile(wrapper), std::wstring(fits.begin(), fits.end())) << wrapper->GetDeviceName();
    }
}
