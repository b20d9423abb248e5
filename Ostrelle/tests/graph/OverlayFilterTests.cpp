// The Overlay Mixer wrapper over the stand-in's Overlay Mixer.
#include <gtest/gtest.h>

#include "graph/OverlayFilter.h"
#include "support/GraphTestDoubles.h"

using namespace graphtest;

namespace {

using OverlayWrapper = GraphTest;

CComPtr<IMixerPinConfig2> PinConfig(COverlayFilter* overlay) {
    CComPtr<IPin> pin;
    CComPtr<IMixerPinConfig2> config;
    overlay->GetFilter()->FindPin(L"Input0", &pin);
    if (pin) pin->QueryInterface(IID_IMixerPinConfig2, reinterpret_cast<void**>(&config));
    return config;
}

}  // namespace

TEST_F(OverlayWrapper, SendsColourKeyAspectAndOneColourControlAtATime) {
    CRootGraph graph;
    auto* overlay = dynamic_cast<COverlayFilter*>(graph.AddFilter(CLSID_OverlayMixer, "Overlay Mixer"));
    ASSERT_NE(overlay, nullptr);
    CComPtr<IMixerPinConfig2> config = PinConfig(overlay);
    ASSERT_NE(config, nullptr);

    const COLORREF magenta = 0x00FF00FF;
    EXPECT_TRUE(overlay->SetColorKey(magenta));
    COLORKEY key = {};
    ASSERT_EQ(config->GetColorKey(&key, nullptr), S_OK);
    EXPECT_EQ(key.KeyType, DWORD(CK_RGB));
    EXPECT_EQ(key.PaletteIndex, 0u);
    EXPECT_EQ(key.LowColorValue, magenta);
    EXPECT_EQ(key.HighColorValue, magenta);
    COLORREF read = 0;
    EXPECT_TRUE(overlay->GetColorKey(&read));
    EXPECT_EQ(read, magenta);

    BOOL letterBox = FALSE;
    EXPECT_TRUE(overlay->SetAspectRatioMode(TRUE));
    EXPECT_TRUE(overlay->GetAspectRatioMode(&letterBox));
    EXPECT_TRUE(letterBox);

    EXPECT_TRUE(overlay->SetColorControl(COverlayFilter::HUE, -90));
    DDCOLORCONTROL colors = {};
    colors.dwSize = sizeof(colors);
    ASSERT_EQ(config->GetOverlaySurfaceColorControls(&colors), S_OK);
    EXPECT_EQ(colors.lHue, -90);
    EXPECT_EQ(colors.lBrightness, 750);  // untouched: only the hue's flag was sent
    LONG value = 0;
    EXPECT_TRUE(overlay->GetColorControl(COverlayFilter::HUE, &value));
    EXPECT_EQ(value, -90);

    LONG maximum = 0;
    EXPECT_TRUE(overlay->GetColorControlRange(COverlayFilter::SHARPNESS, nullptr, &maximum, nullptr));
    EXPECT_EQ(maximum, 10);
    EXPECT_FALSE(overlay->GetColorControl(5, &value));
    EXPECT_FALSE(overlay->SetColorControl(-1, 0));
}

TEST_F(OverlayWrapper, FailedMixerCallsAnswerFalse) {
    CRootGraph graph;
    auto* overlay = dynamic_cast<COverlayFilter*>(graph.AddFilter(CLSID_OverlayMixer, "Overlay Mixer"));
    ASSERT_NE(overlay, nullptr);
    BOOL letterBox = FALSE;
    LONG value = 0;
    COLORREF color = 0;
    for (const char* call : {"IMixerPinConfig::GetAspectRatioMode", "IMixerPinConfig::SetAspectRatioMode",
                             "IMixerPinConfig::GetColorKey", "IMixerPinConfig2::GetOverlaySurfaceColorControls"}) {
        platform::InjectFailure(call);
    }
    EXPECT_FALSE(overlay->GetAspectRatioMode(&letterBox));
    EXPECT_FALSE(overlay->SetAspectRatioMode(TRUE));
    EXPECT_FALSE(overlay->GetColorKey(&color));
    EXPECT_FALSE(overlay->GetColorControl(COverlayFilter::BRIGHTNESS, &value));
}

TEST_F(OverlayWrapper, MixerWithoutInput0IsValidButOffersNothing) {
    const GUID noInput = TestClsid(0x0281);
    RegisterTestFilterClass(noInput, {OutputPin(L"Output")});
    CRootGraph graph;
    COverlayFilter overlay(&graph, noInput);
    EXPECT_TRUE(overlay.SetUp());
    BOOL letterBox = FALSE;
    LONG value = 0;
    COLORREF color = 0;
    EXPECT_FALSE(overlay.SetAspectRatioMode(TRUE));
    EXPECT_FALSE(overlay.GetAspectRatioMode(&letterBox));
    EXPECT_FALSE(overlay.SetColorKey(0));
    EXPECT_FALSE(overlay.GetColorKey(&color));
    EXPECT_FALSE(overlay.SetColorControl(0, 1));
    EXPECT_FALSE(overlay.GetColorControl(0, &value));
    EXPECT_FALSE(overlay.GetColorControlRange(0, &value, &value, &value));
}
