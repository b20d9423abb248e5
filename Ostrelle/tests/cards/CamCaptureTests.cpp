// The USB camera ("Usb_Cam_Capture") through the graph on its simulated device: the I420 test,
// the capture size, the formats and colour codes, the standard, and the property pages.
#include <gtest/gtest.h>

#include <mtype.h>

#include "cards/filters/AcmWrapperFilter.h"
#include "cards/devices/CamCaptureFilter.h"
#include "hwsim/boards/UsbCamera.h"
#include "platform/comservices.h"
#include "platform/dshow/CapabilityPin.h"
#include "platform/runtime.h"
#include "support/CardBench.h"

namespace {

class UsbCamera : public CardBench {
protected:
    void SetUp() override { Load(R"({"cards": [{"kind": "Usb_Cam_Capture"}]})"); }
    CUsbCamFilter* Open() {
        return dynamic_cast<CUsbCamFilter*>(
            Graph().AddDeviceFilter(CLSID_VideoInputDeviceCategory, CUsbCamFilter::kDeviceName, "Cam", 0, 0));
    }
};

TEST_F(UsbCamera, CaptureSizeIsCappedAt640By480) {
    CUsbCamFilter* cam = Open();
    ASSERT_NE(nullptr, cam);
    EXPECT_TRUE(cam->IsI420());
    VideoFormatInfo info;
    const struct {
        int width, height, wantWidth, wantHeight;
    } cases[] = {{800, 600, 640, 480}, {640, 360, 640, 360}, {320, 720, 640, 480}, {320, 240, 320, 240}};
    for (const auto& c : cases) {
        EXPECT_TRUE(cam->SetCaptureSize(c.width, c.height));
        ASSERT_EQ(S_OK, cam->GetVideoFormat(&info, 1));
        EXPECT_EQ(c.wantWidth, info.bmiHeader.biWidth) << c.width << "x" << c.height;
        EXPECT_EQ(c.wantHeight, info.bmiHeader.biHeight) << c.width << "x" << c.height;
    }
}

TEST_F(UsbCamera, ColourCodesAndTheImageSizeOfPlanarFormats) {
    CUsbCamFilter* cam = Open();
    ASSERT_NE(nullptr, cam);
    VideoFormatInfo info;
    ASSERT_EQ(S_OK, cam->GetVideoFormat(&info, 1));
    EXPECT_EQ(-1, info.nColorFormat);  // I420 has no code to read back
    info.nColorFormat = 9;
    info.bmiHeader.biBitCount = 16;
    ASSERT_EQ(S_OK, cam->SetVideoFormat(info, 1));
    AM_MEDIA_TYPE* type = nullptr;
    ASSERT_EQ(S_OK, cam->GetPinFormat(&type, 1));
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, type->subtype));
    DeleteMediaType(type);
    ASSERT_EQ(S_OK, cam->GetVideoFormat(&info, 1));
    EXPECT_EQ(2, info.nColorFormat);

    info.nColorFormat = 5;
    info.bmiHeader.biBitCount = 12;
    info.bmiHeader.biHeight = -480;  // top-down
    ASSERT_EQ(S_OK, cam->SetVideoFormat(info, 1));
    ASSERT_EQ(S_OK, cam->GetPinFormat(&type, 1));
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_I420, type->subtype));
    EXPECT_EQ(640u * 480u * 3u / 2u, reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader.biSizeImage);
    DeleteMediaType(type);
    EXPECT_EQ(E_INVALIDARG, cam->GetPinFormat(nullptr, 1));
}

TEST_F(UsbCamera, APreviewPinWhoseStreamConfigFailsYieldsItsFirstType) {
    CUsbCamFilter* cam = Open();
    ASSERT_NE(nullptr, cam);
    platform::InjectFailure("IAMStreamConfig::GetFormat", 1);
    AM_MEDIA_TYPE* type = nullptr;
    EXPECT_EQ(S_OK, cam->GetPinFormat(&type, 0));
    platform::ClearFailures();
    ASSERT_NE(nullptr, type);
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, type->subtype));
    DeleteMediaType(type);
}

TEST_F(UsbCamera, StandardAndProcAmp) {
    CUsbCamFilter* cam = Open();
    ASSERT_NE(nullptr, cam);
    long current = 0;
    long available = 0;
    EXPECT_EQ(S_OK, cam->GetVideoStandard(&current, &available));
    EXPECT_EQ(AnalogVideo_PAL_B, current);
    EXPECT_EQ(AnalogVideo_NTSC_M | AnalogVideo_PAL_B, available);
    EXPECT_EQ(S_OK, cam->SetVideoStandard(AnalogVideo_NTSC_M));
    EXPECT_EQ(S_OK, cam->GetVideoStandard(&current, nullptr));
    EXPECT_EQ(AnalogVideo_NTSC_M, current);

    EXPECT_EQ(S_OK, cam->SetProcAmp(VideoProcAmp_Contrast, 70));
    ProcAmpInfo info = {};
    EXPECT_EQ(S_OK, cam->GetProcAmp(VideoProcAmp_Contrast, &info));
    EXPECT_EQ(70, info.lValue);
    EXPECT_EQ(0, info.lMin);
    EXPECT_EQ(100, info.lMax);
    EXPECT_EQ(50, info.lDefault);
    EXPECT_EQ(E_INVALIDARG, cam->GetProcAmp(VideoProcAmp_Contrast, nullptr));
    info = {};
    EXPECT_NE(S_OK, cam->GetProcAmp(VideoProcAmp_Gamma, &info));
    EXPECT_EQ(0, info.lValue);
}

TEST_F(UsbCamera, PropertyPagesOfTheDeviceAndTheStreamConfigButNotWhileRunning) {
    CUsbCamFilter* cam = Open();
    ASSERT_NE(nullptr, cam);
    platform::ClearPropertyFrameCalls();
    ASSERT_TRUE(Graph().Run());
    EXPECT_FALSE(cam->ShowPropertyPages(0, nullptr, "Camera", 1));
    EXPECT_TRUE(platform::PropertyFrameCalls().empty());
    ASSERT_TRUE(Graph().Stop());

    EXPECT_TRUE(cam->ShowPropertyPages(0, nullptr, "Camera", 1));
    EXPECT_TRUE(cam->ShowPropertyPages(1, nullptr, nullptr, 1));
    EXPECT_FALSE(cam->ShowPropertyPages(2, nullptr, "Camera", 1));
    const auto frames = platform::PropertyFrameCalls();
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(L"Camera", frames[0].caption);
    EXPECT_EQ((std::vector<CLSID>{hwsim::kCameraPage}), frames[0].pages);
    EXPECT_EQ((std::vector<CLSID>{hwsim::kCameraFormatPage}), frames[1].pages);
}

}  // namespace

namespace {

// A filter of the test's own whose one output offers `types` through IAMStreamConfig.
CComPtr<IBaseFilter> OfferingFilter(REFCLSID clsid, const GUID& category,
                                    std::vector<platform::dshow::StreamCapability> capabilities) {
    auto* filter = new platform::dshow::FilterBase(clsid);
    CComPtr<platform::dshow::PinBase> pin;
    pin.Attach(new platform::dshow::CapabilityPin(
        filter, platform::dshow::PinDescription{PINDIR_OUTPUT, L"Out", L"", category, {}}, std::move(capabilities)));
    filter->AddPin(pin);
    CComPtr<IBaseFilter> result;
    result.Attach(filter);
    return result;
}

TEST_F(UsbCamera, FormatOperationsRefuseAFormatBlockShorterThanAVideoInfoHeader) {
    VIDEOINFOHEADER video = {};
    video.bmiHeader.biWidth = 640;
    const platform::dshow::MediaType shortType(MEDIATYPE_Video, MEDIASUBTYPE_YUY2, FORMAT_VideoInfo, &video, 20);
    CComPtr<IBaseFilter> filter =
        OfferingFilter(CLSID_NULL, PIN_CATEGORY_CAPTURE, {{shortType, std::vector<BYTE>(128)}});
    ASSERT_EQ(S_OK, Graph().GetGraphBuilder()->AddFilter(filter, L"Short"));
    VideoFormatInfo info = {};
    EXPECT_EQ(E_INVALIDARG, ReadVideoFormat(&Graph(), filter, &info, 1, ColorFormatTable{nullptr, 0}));
    EXPECT_EQ(E_INVALIDARG, WriteVideoFormat(&Graph(), filter, info, 1, ColorFormatTable{nullptr, 0}, true));
}

TEST_F(UsbCamera, AcmWrapperSkipsAnAudioTypeShorterThanAWaveFormat) {
    const platform::dshow::MediaType good = platform::dshow::PcmAudioType(2, 48000, 16);
    const platform::dshow::MediaType shortType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, good.Format(), 8);
    CComPtr<IBaseFilter> filter = OfferingFilter(CLSID_ACMWrapper, GUID_NULL,
                                                 {{shortType, std::vector<BYTE>(40)}, {good, std::vector<BYTE>(40)}});
    ASSERT_EQ(S_OK, Graph().GetGraphBuilder()->AddFilter(filter, L"Converter"));
    CAcmWrapperFilter acm(&Graph(), filter);
    ASSERT_TRUE(acm.SetUp());
    AM_MEDIA_TYPE* type = nullptr;
    ASSERT_TRUE(acm.FindAudioType(&type, 48000, 16));
    EXPECT_EQ(sizeof(WAVEFORMATEX), type->cbFormat);
    DeleteMediaType(type);
    EXPECT_TRUE(acm.SetAudioFormat(48000, 16));
}

}  // namespace
