// Media types: deep copies with their format blocks, and matching with wildcards.
#include <cstring>

#include "DShowTestFilters.h"

using namespace dshowtest;

namespace {

TEST(MediaTypes, CopiesOwnTheirFormatBlockAndHoldTheirObject) {
    MediaType source = Yuy2();
    CComPtr<IBaseFilter> object = MakeFilter({});
    AM_MEDIA_TYPE with = source.Get();
    with.pUnk = object;
    AM_MEDIA_TYPE* copy = CreateMediaType(&with);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->pbFormat, source.Get().pbFormat);
    EXPECT_EQ(std::memcmp(copy->pbFormat, source.Get().pbFormat, sizeof(VIDEOINFOHEADER)), 0);
    EXPECT_EQ(copy->pUnk, object.p);
    EXPECT_EQ(object->AddRef(), 3u) << "the copy holds a reference of its own";
    object->Release();
    DeleteMediaType(copy);
    EXPECT_EQ(object->AddRef(), 2u);
    object->Release();
    DeleteMediaType(nullptr);
}

TEST(MediaTypes, WildcardsAcceptAnyValueAndAFormatBlockMustBeEqual) {
    MediaType anyVideo(MEDIATYPE_Video, GUID_NULL);
    EXPECT_TRUE(anyVideo.Accepts(Yuy2().Get()));
    EXPECT_TRUE(anyVideo.Accepts(Rgb24().Get()));
    EXPECT_FALSE(anyVideo.Accepts(platform::dshow::PcmAudioType(2, 48000, 16).Get()));
    EXPECT_FALSE(anyVideo.IsComplete());
    EXPECT_TRUE(Yuy2().IsComplete());
    EXPECT_TRUE(Yuy2().Accepts(Yuy2().Get()));
    EXPECT_FALSE(Yuy2().Accepts(platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 352, 288, 16).Get()))
        << "another picture size is another format";
}

TEST(MediaTypes, VideoInfoTypesCarryTheFourCCAndImageSize) {
    MediaType uyvy = platform::dshow::VideoInfoType(MEDIASUBTYPE_UYVY, 720, 480, 16);
    const VIDEOINFOHEADER* vih = uyvy.FormatAs<VIDEOINFOHEADER>();
    ASSERT_NE(vih, nullptr);
    EXPECT_EQ(vih->bmiHeader.biCompression, MAKEFOURCC('U', 'Y', 'V', 'Y'));
    EXPECT_EQ(vih->bmiHeader.biSizeImage, 720u * 480u * 2u);
    EXPECT_EQ(platform::FormatGuid(MEDIASUBTYPE_UYVY), "{59565955-0000-0010-8000-00AA00389B71}");
    EXPECT_EQ(platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB24, 4, 2, 24).FormatAs<VIDEOINFOHEADER>()->bmiHeader.biCompression,
              DWORD(BI_RGB));
}

}  // namespace
