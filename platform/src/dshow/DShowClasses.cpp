// The DirectShow stand-in's classes in the COM class table, and the filters the graph may
// insert or render with; entered when the platform library is loaded.
#include "CaptureGraphBuilder.h"
#include "FilterGraph.h"
#include "SystemDeviceEnum.h"
#include "filters/AcmWrapper.h"
#include "filters/AviMux.h"
#include "filters/ColourConverter.h"
#include "filters/FileWriter.h"
#include "filters/InfTee.h"
#include "filters/Mpeg1Splitter.h"
#include "filters/Mpeg2Demultiplexer.h"
#include "filters/OverlayMixer.h"
#include "filters/AudioRenderer.h"
#include "filters/VideoRenderer.h"
#include "filters/SampleGrabber.h"
#include "platform/dshow/GraphFilters.h"

namespace platform::dshow {

namespace {

struct ClassEntry {
    const CLSID* clsid;
    ComCreator create;
};

bool RegisterClasses() {
    const ClassEntry classes[] = {
        {&CLSID_FilterGraph, ComCreatorOf<FilterGraph>()},
        {&CLSID_CaptureGraphBuilder2, ComCreatorOf<CaptureGraphBuilder>()},
        {&CLSID_SystemDeviceEnum, ComCreatorOf<SystemDeviceEnum>()},
        {&CLSID_VideoRenderer, ComCreatorOf<VideoRendererFilter>(CLSID_VideoRenderer, L"Input")},
        {&CLSID_VideoMixingRenderer, ComCreatorOf<VideoRendererFilter>(CLSID_VideoMixingRenderer, L"VMR Input0")},
        {&CLSID_VideoMixingRenderer9, ComCreatorOf<VideoRendererFilter>(CLSID_VideoMixingRenderer9, L"VMR Input0")},
        {&CLSID_OverlayMixer, ComCreatorOf<OverlayMixerFilter>()},
        {&CLSID_AudioRender, ComCreatorOf<AudioRendererFilter>(CLSID_AudioRender)},
        {&CLSID_DSoundRender, ComCreatorOf<AudioRendererFilter>(CLSID_DSoundRender)},
        {&CLSID_InfTee, ComCreatorOf<InfTeeFilter>()},
        {&CLSID_SampleGrabber, ComCreatorOf<SampleGrabberFilter>()},
        {&CLSID_FileWriter, ComCreatorOf<FileWriterFilter>(CLSID_FileWriter, L"in")},
        {&CLSID_Dump, ComCreatorOf<FileWriterFilter>(CLSID_Dump, L"Input")},
        {&CLSID_AviDest, ComCreatorOf<AviMuxFilter>()},
        {&CLSID_MPEG2Demultiplexer, ComCreatorOf<Mpeg2DemultiplexerFilter>()},
        {&CLSID_Colour, ComCreatorOf<ColourConverterFilter>()},
        {&CLSID_ACMWrapper, ComCreatorOf<AcmWrapperFilter>()},
        {&CLSID_MPEG1Splitter, ComCreatorOf<Mpeg1SplitterFilter>()},
    };
    for (const ClassEntry& c : classes) RegisterComClass(*c.clsid, c.create);

    RegisterGraphFilter({CLSID_Colour, L"Color Space Converter", GraphFilterRole::Intermediate, MERIT_NORMAL});
    RegisterGraphFilter({CLSID_VideoRenderer, L"Video Renderer", GraphFilterRole::Renderer, MERIT_PREFERRED + 1});
    RegisterGraphFilter({CLSID_DSoundRender, L"Default DirectSound Device", GraphFilterRole::Renderer, MERIT_PREFERRED});
    RegisterGraphFilter({CLSID_AudioRender, L"Default WaveOut Device", GraphFilterRole::Renderer, MERIT_NORMAL});
    return true;
}

const bool g_registered = RegisterClasses();

}  // namespace

}  // namespace platform::dshow
