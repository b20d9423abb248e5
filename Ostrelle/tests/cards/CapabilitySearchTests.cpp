// The largest-capability search that the Trident cards' UYVY size and the USB boxes' YUY2 size
// share, over a pin whose capability records are of a size the test chooses: records larger
// than a VIDEO_STREAM_CONFIG_CAPS are read whole into a buffer of their size, smaller ones are
// refused, the walk stops at a failing GetStreamCaps, and a capability of zero area is never
// taken.
#include <gtest/gtest.h>

#include <dshow.h>

#include <cstring>
#include <vector>

#include "cards/base/CaptureFormat.h"
#include "platform/dshow/StreamConfigMixin.h"

namespace {

using platform::dshow::MediaType;
using platform::dshow::StreamCapability;

// A pin's IAMStreamConfig on the stack with records of `recordSize` bytes; GetStreamCaps fails
// at index `failAt`.
class CapsPin : public platform::dshow::StreamConfigMixin {
public:
    struct Cap {
        GUID subtype;
        LONG cx, cy;
        ULONG standard;
    };
    CapsPin(size_t recordSize, std::vector<Cap> caps, int failAt = -1) : m_failAt(failAt) {
        std::vector<StreamCapability> all;
        for (const Cap& c : caps) {
            AM_MEDIA_TYPE mt = {};
            mt.majortype = MEDIATYPE_Video;
            mt.subtype = c.subtype;
            mt.formattype = FORMAT_VideoInfo;
            VIDEO_STREAM_CONFIG_CAPS vscc = {};
            vscc.VideoStandard = c.standard;
            vscc.MaxCroppingSize = {c.cx, c.cy};
            std::vector<BYTE> record(recordSize, 0xEE);
            std::memcpy(record.data(), &vscc, std::min(recordSize, sizeof(vscc)));
            all.push_back(StreamCapability{MediaType(mt), record});
        }
        SetCapabilities(std::move(all));
    }
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* record) override {
        if (index == m_failAt) return E_FAIL;
        return StreamConfigMixin::GetStreamCaps(index, type, record);
    }

private:
    const int m_failAt;
};

constexpr ULONG kPal = AnalogVideo_PAL_D;

}  // namespace

TEST(LargestCapability, RecordsOfTheirOwnSizeAreReadWholeAndSmallerOnesRefused) {
    for (size_t recordSize : {sizeof(VIDEO_STREAM_CONFIG_CAPS), size_t(192)}) {
        SCOPED_TRACE(recordSize);
        CapsPin pin(recordSize, {{MEDIASUBTYPE_UYVY, 352, 288, kPal}, {MEDIASUBTYPE_UYVY, 720, 576, kPal}});
        SIZE size = {};
        ASSERT_TRUE(FindLargestVideoCapability(&pin, MEDIASUBTYPE_UYVY, &size));
        EXPECT_EQ(720, size.cx);
        EXPECT_EQ(576, size.cy);
    }
    CapsPin small(100, {{MEDIASUBTYPE_UYVY, 720, 576, kPal}});
    SIZE size = {1, 1};
    EXPECT_FALSE(FindLargestVideoCapability(&small, MEDIASUBTYPE_UYVY, &size));
    EXPECT_EQ(1, size.cx);
}

TEST(LargestCapability, TakesOnlyTheSubtypeWithAStandardStopsAtAFailureAndNeverAZeroArea) {
    const std::vector<CapsPin::Cap> caps = {
        {MEDIASUBTYPE_YUY2, 0, 0, kPal},          // no area
        {MEDIASUBTYPE_YUY2, 320, 240, kPal},
        {MEDIASUBTYPE_UYVY, 768, 576, kPal},      // another subtype
        {MEDIASUBTYPE_YUY2, 800, 600, 0},         // no standard
        {MEDIASUBTYPE_YUY2, 640, 480, kPal},
    };
    CapsPin pin(sizeof(VIDEO_STREAM_CONFIG_CAPS), caps);
    SIZE size = {};
    ASSERT_TRUE(FindLargestVideoCapability(&pin, MEDIASUBTYPE_YUY2, &size));
    EXPECT_EQ(640, size.cx);
    EXPECT_EQ(480, size.cy);

    CapsPin failing(sizeof(VIDEO_STREAM_CONFIG_CAPS), caps, 2);
    ASSERT_TRUE(FindLargestVideoCapability(&failing, MEDIASUBTYPE_YUY2, &size));
    EXPECT_EQ(320, size.cx);  // nothing after the failed index

    CapsPin zero(sizeof(VIDEO_STREAM_CONFIG_CAPS), {{MEDIASUBTYPE_YUY2, 0, 0, kPal}});
    size = {7, 7};
    EXPECT_FALSE(FindLargestVideoCapability(&zero, MEDIASUBTYPE_YUY2, &size));
    EXPECT_EQ(7, size.cx);
}
