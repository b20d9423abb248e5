// The system filters' calls that tests make fail, and the grabber's settings read back.
#include <gtest/gtest.h>

#include <dshow.h>
#include <qedit.h>

#include "DShowTestFilters.h"
#include "platform/dshow/SampleGrabberSettings.h"

namespace {

using dshowtest::Create;
using SystemFilterFailures = dshowtest::DShowTest;

}  // namespace

TEST_F(SystemFilterFailures, GrabberSettingsFailAndReadBack) {
    CComPtr<IBaseFilter> filter = Create<IBaseFilter>(CLSID_SampleGrabber);
    ASSERT_NE(filter, nullptr);
    CComPtr<ISampleGrabber> grabber;
    ASSERT_EQ(filter->QueryInterface(IID_ISampleGrabber, reinterpret_cast<void**>(&grabber)), S_OK);
    EXPECT_EQ(grabber->SetBufferSamples(TRUE), S_OK);
    platform::InjectFailure("ISampleGrabber::SetOneShot");
    platform::InjectFailure("ISampleGrabber::SetBufferSamples");
    EXPECT_EQ(grabber->SetOneShot(TRUE), E_FAIL);
    EXPECT_EQ(grabber->SetBufferSamples(FALSE), E_FAIL);
    platform::InjectFailure("ISampleGrabber::GetConnectedMediaType", 1, VFW_E_NOT_CONNECTED);
    AM_MEDIA_TYPE mt = {};
    EXPECT_EQ(grabber->GetConnectedMediaType(&mt), VFW_E_NOT_CONNECTED);

    platform::dshow::SampleGrabberSettings settings;
    ASSERT_TRUE(platform::dshow::ReadSampleGrabberSettings(filter, &settings));
    EXPECT_TRUE(settings.bufferSamples);
    EXPECT_FALSE(settings.oneShot);
    EXPECT_EQ(settings.callback, nullptr);

    CComPtr<IBaseFilter> other = Create<IBaseFilter>(CLSID_AviDest);
    EXPECT_FALSE(platform::dshow::ReadSampleGrabberSettings(other, &settings));
}

TEST_F(SystemFilterFailures, WriterAndMultiplexerCallsFail) {
    CComPtr<IFileSinkFilter> sink = Create<IFileSinkFilter>(CLSID_FileWriter);
    ASSERT_NE(sink, nullptr);
    platform::InjectFailure("IFileSinkFilter::GetCurFile");
    LPOLESTR name = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(sink->GetCurFile(&name, nullptr), E_FAIL);
    EXPECT_EQ(name, nullptr);

    CComPtr<IConfigInterleaving> interleaving = Create<IConfigInterleaving>(CLSID_AviDest);
    ASSERT_NE(interleaving, nullptr);
    platform::InjectFailure("IConfigInterleaving::put_Mode");
    EXPECT_EQ(interleaving->put_Mode(INTERLEAVE_NONE), E_FAIL);
    InterleavingMode mode = INTERLEAVE_NONE;
    interleaving->get_Mode(&mode);
    EXPECT_EQ(mode, INTERLEAVE_CAPTURE);
}
