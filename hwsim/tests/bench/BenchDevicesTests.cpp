// The bench's cards in the device tree: their filters in bench order, the capture filter's
// property sets reaching the card's driver, the crossbar upstream of the capture filter, and
// unplugging.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/BenchFixture.h"
#include "dshow.h"
#include "hwsim/bench/BenchDevices.h"
#include "hwsim/boards/CaptureFilter.h"
#include "hwsim/drivers/Kesh713xDriver.h"
#include "hwsim/drivers/Saa713xPropertyDriver.h"
#include "platform/winuser.h"

namespace hwsim {
namespace {

std::vector<MSG>* g_deviceChanges = nullptr;

LRESULT CALLBACK DeviceChangeRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DEVICECHANGE) {
        g_deviceChanges->push_back(MSG{window, message, wParam, lParam});
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

template <class I>
CComPtr<I> Bind(platform::DeviceId device) {
    CComPtr<I> object;
    EXPECT_EQ(S_OK, platform::BindDevice(device, platform::InterfaceTraits<I>::Iid(), reinterpret_cast<void**>(&object)));
    return object;
}

std::vector<std::wstring> Names(REFGUID category) {
    std::vector<std::wstring> names;
    for (platform::DeviceId id : platform::DevicesInCategory(category)) {
        platform::DeviceEntry entry;
        EXPECT_TRUE(platform::GetDevice(id, &entry));
        names.push_back(entry.friendlyName);
    }
    return names;
}

class BenchDevicesTest : public BenchFixture {
protected:
    void SetUp() override {
        BenchFixture::SetUp();
        bench = Bench::FromText(R"({"cards": [
            {"kind": "713x BDA Analog Capture"},
            {"kind": "713x_4 TV Card Capture"},
            {"kind": "713x BDA Analog Capture"}]})");
        devices = std::make_unique<BenchDevices>(*bench);
    }
    void TearDown() override {
        devices.reset();
        bench.reset();
        BenchFixture::TearDown();
    }

    Card& CardAt(size_t index) { return *bench->Cards()[index]; }

    std::unique_ptr<Bench> bench;
    std::unique_ptr<BenchDevices> devices;
};

TEST_F(BenchDevicesTest, RegistersEveryCardsCaptureAndCrossbarInBenchOrder) {
    EXPECT_EQ((std::vector<std::wstring>{L"713x BDA Analog Capture", L"713x_4 TV Card Capture",
                                         L"713x BDA Analog Capture"}),
              Names(CLSID_VideoInputDeviceCategory));
    EXPECT_EQ((std::vector<std::wstring>{L"713x BDA Analog Xbar", L"713x_4 TV Card Crossbar", L"713x BDA Analog Xbar"}),
              Names(AM_KSCATEGORY_CROSSBAR));
    for (size_t i = 0; i < 3; ++i) {
        platform::DeviceEntry capture;
        ASSERT_TRUE(platform::GetDevice(devices->CaptureDevice(CardAt(i)), &capture));
        ASSERT_EQ(2u, capture.upstream.size());
        EXPECT_EQ(devices->CrossbarDevice(CardAt(i)), capture.upstream[0].device);
        EXPECT_EQ(L"Capture", capture.upstream[0].upstreamPin);
        EXPECT_EQ(L"Analog Video In", capture.upstream[0].pin);
        EXPECT_EQ(kCaptureFilterClsid, capture.clsid);
    }
    EXPECT_NE(nullptr, dynamic_cast<Kesh713xDriver*>(&devices->Driver(CardAt(0))));
    EXPECT_NE(nullptr, dynamic_cast<Saa713xPropertyDriver*>(&devices->Driver(CardAt(1))));
    EXPECT_NE(&devices->Driver(CardAt(0)), &devices->Driver(CardAt(2)));

    devices.reset();
    EXPECT_TRUE(platform::DevicesInCategory(CLSID_VideoInputDeviceCategory).empty());
    EXPECT_TRUE(platform::DevicesInCategory(AM_KSCATEGORY_CROSSBAR).empty());
}

TEST_F(BenchDevicesTest, CaptureFiltersCarryPropertyRequestsToTheirOwnCardsDriver) {
    auto first = Bind<IKsPropertySet>(devices->CaptureDevice(CardAt(0)));
    auto third = Bind<IKsPropertySet>(devices->CaptureDevice(CardAt(2)));
    ASSERT_TRUE(first && third);
    DWORD support = 0;
    ASSERT_EQ(S_OK, first->QuerySupported(kKesh713xRegisterSet, 0, &support));
    EXPECT_EQ(3u, support);
    EXPECT_EQ(E_PROP_SET_UNSUPPORTED, first->QuerySupported(kSaa713xPropertySet, 0, &support));

    DWORD record[2] = {0x16C, 0};
    DWORD value = 0xBB;
    ASSERT_EQ(S_OK, third->Set(kKesh713xRegisterSet, 0, record, 8, &value, 4));
    EXPECT_EQ(0xBBu, CardAt(2).Bridge().Read(0x16C));
    EXPECT_EQ(0u, CardAt(0).Bridge().Read(0x16C));
    value = 0;
    DWORD returned = 0;
    ASSERT_EQ(S_OK, third->Get(kKesh713xRegisterSet, 0, record, 8, &value, 4, &returned));
    EXPECT_EQ(0xBBu, value);
    EXPECT_EQ(4u, returned);
    EXPECT_EQ((std::vector<std::string>{"Set REG.0 [8/4] reg 16C write 000000BB -> S_OK",
                                        "Get REG.0 [8/4] reg 16C read 000000BB -> S_OK"}),
              devices->Driver(CardAt(2)).Log().Lines());

    // Each bind makes a filter of its own over the same driver.
    auto again = Bind<IKsPropertySet>(devices->CaptureDevice(CardAt(2)));
    EXPECT_NE(third.p, again.p);
    ASSERT_EQ(S_OK, again->Get(kKesh713xRegisterSet, 0, record, 8, &value, 4, &returned));
    EXPECT_EQ(3u, devices->Driver(CardAt(2)).Log().Size());
}

TEST_F(BenchDevicesTest, LookingUpstreamOfTheCaptureFilterBringsTheCardsCrossbar) {
    ASSERT_GE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 0);
    {
        CComPtr<IGraphBuilder> graph;
        CComPtr<ICaptureGraphBuilder2> builder;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph)));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_ICaptureGraphBuilder2, reinterpret_cast<void**>(&builder)));
        ASSERT_EQ(S_OK, builder->SetFiltergraph(graph));
        auto capture = Bind<IBaseFilter>(devices->CaptureDevice(CardAt(1)));
        ASSERT_EQ(S_OK, graph->AddFilter(capture, L"Card"));

        CComPtr<IAMCrossbar> crossbar;
        ASSERT_EQ(S_OK, builder->FindInterface(&LOOK_UPSTREAM_ONLY, nullptr, capture, IID_IAMCrossbar,
                                               reinterpret_cast<void**>(&crossbar)));
        long outputs = 0, inputs = 0;
        ASSERT_EQ(S_OK, crossbar->get_PinCounts(&outputs, &inputs));
        EXPECT_EQ(2, outputs);
        EXPECT_EQ(6, inputs);
        long input = -1;
        ASSERT_EQ(S_OK, crossbar->get_IsRoutedTo(0, &input));
        EXPECT_EQ(0, input);
        long related = 0, type = 0;
        ASSERT_EQ(S_OK, crossbar->get_CrossbarPinInfo(TRUE, 4, &related, &type));
        EXPECT_EQ(1, related);
        EXPECT_EQ(PhysConn_Audio_Line, type);
        EXPECT_EQ(S_OK, crossbar->Route(1, 4));
        EXPECT_EQ(1, platform::DeviceBindCount(devices->CrossbarDevice(CardAt(1))));

        CComPtr<IPin> pin;
        EXPECT_EQ(S_OK, builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, capture, IID_IPin,
                                               reinterpret_cast<void**>(&pin)));
        graph->RemoveFilter(capture);
    }
    CoUninitialize();
}

TEST_F(BenchDevicesTest, UnplugTakesTheCardOutFailsItsFiltersAndTellsTheWindows) {
    std::vector<MSG> changes;
    g_deviceChanges = &changes;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DeviceChangeRecorder;
    windowClass.lpszClassName = "DeviceChangeRecorder";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "DeviceChangeRecorder", "station", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(nullptr, window);

    auto held = Bind<IKsPropertySet>(devices->CaptureDevice(CardAt(0)));
    auto crossbar = Bind<IAMCrossbar>(devices->CrossbarDevice(CardAt(0)));
    CardAt(0).Unplug();

    EXPECT_EQ((std::vector<std::wstring>{L"713x_4 TV Card Capture", L"713x BDA Analog Capture"}),
              Names(CLSID_VideoInputDeviceCategory));
    EXPECT_EQ((std::vector<std::wstring>{L"713x_4 TV Card Crossbar", L"713x BDA Analog Xbar"}),
              Names(AM_KSCATEGORY_CROSSBAR));
    CComPtr<IUnknown> none;
    EXPECT_FALSE(SUCCEEDED(platform::BindDevice(devices->CaptureDevice(CardAt(0)), IID_IUnknown,
                                                reinterpret_cast<void**>(&none))));

    // A filter held from before answers every request, known set or not, with device gone.
    BYTE sub = 0x41, data = 0x5A;
    BYTE transfer[40] = {0xA0};
    BYTE record[16] = {};
    BYTE* pointer = &sub;
    std::memcpy(transfer + 8, &pointer, sizeof(pointer));
    transfer[16] = 1;
    transfer[32] = 1;
    pointer = &data;
    std::memcpy(record, &pointer, sizeof(pointer));
    record[8] = 1;
    EXPECT_EQ(kDeviceGone, held->Set(kKesh713xI2CSet, 0, transfer, 40, record, 16));
    DWORD support = 0;
    EXPECT_EQ(kDeviceGone, held->QuerySupported(kKesh713xI2CSet, 0, &support));
    EXPECT_EQ(kDeviceGone, held->QuerySupported(GUID_NULL, 0, &support));
    EXPECT_EQ(kDeviceGone, crossbar->Route(0, 1));
    EXPECT_EQ("", CardAt(0).Bus().LogText());
    EXPECT_EQ(0xFF, CardAt(0).Eeprom().Peek(0x41));
    EXPECT_EQ(3u, devices->Driver(CardAt(0)).Log().Size());

    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(window, changes[0].hwnd);
    EXPECT_EQ(static_cast<WPARAM>(DBT_DEVNODES_CHANGED), changes[0].wParam);

    // The other cards go on.
    auto other = Bind<IKsPropertySet>(devices->CaptureDevice(CardAt(2)));
    EXPECT_EQ(S_OK, other->Set(kKesh713xI2CSet, 0, transfer, 40, record, 16));
    EXPECT_EQ(0x5A, CardAt(2).Eeprom().Peek(0x41));

    DestroyWindow(window);
    g_deviceChanges = nullptr;
}

}  // namespace
}  // namespace hwsim
