// The 1394 DV device ("Microsoft DV Camera and VCR") through the graph on its simulated device:
// the access object over the three transport interfaces, the monitor thread's WM_DV_STATUS
// every 200 ms of clock, and the alert for a device without them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cards/devices/1394DVFilter.h"
#include "hwsim/boards/DvDevice.h"
#include "platform/runtime.h"
#include "support/CardBench.h"

namespace {

struct Status {
    WPARAM wParam;
    LPARAM lParam;
    DWORD at;
};

// Reads the test thread's queue for `limitMs` of platform time; the WM_DV_STATUS posted to
// `window`, with the time each was posted (the time it is read can lag behind under load).
std::vector<Status> CollectStatus(HWND window, DWORD limitMs) {
    std::vector<Status> seen;
    const UINT_PTR timer = SetTimer(window, 2, limitMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_TIMER && msg.hwnd == window) break;
        if (msg.message == WM_DV_STATUS && msg.hwnd == window) {
            seen.push_back({msg.wParam, msg.lParam, msg.time});
            continue;
        }
        DispatchMessageA(&msg);
    }
    KillTimer(window, timer);
    return seen;
}

class DvDevice : public CardBench {
protected:
    void SetUp() override { Load(R"({"cards": [{"kind": "Microsoft DV Camera and VCR"}]})"); }
    hwsim::DvDeviceDriver& Device() { return static_cast<hwsim::DvDeviceDriver&>(Driver(Board(0))); }
    C1394DVFilter* Open() {
        return dynamic_cast<C1394DVFilter*>(
            Graph().AddDeviceFilter(CLSID_VideoInputDeviceCategory, C1394DVFilter::kDeviceName, "DV", 0, 0));
    }
    void SetState(long type, long mode, DWORD timecode) {
        hwsim::DvDeviceDriver::State state = Device().Get();
        state.deviceType = type;
        state.mode = mode;
        state.timecode = timecode;
        Device().Set(state);
    }
};

TEST_F(DvDevice, ACameraWithoutTypeReportsTypeOneAndNoTimecode) {
    SetState(0, 0x1234, 0x01020304);
    C1394DVFilter* dv = Open();
    ASSERT_NE(nullptr, dv);
    EXPECT_EQ(DV_TYPE_NONE, dv->GetDeviceType());
    KeyWindow window;
    dv->SetNotify(window.Window());
    ASSERT_TRUE(dv->StartMonitor());
    const std::vector<Status> seen = CollectStatus(window.Window(), 450);
    dv->StopMonitor();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(0x10000u, seen[0].wParam);
    EXPECT_EQ(0, seen[0].lParam);
}

TEST_F(DvDevice, AVcrPostsItsModeAndTimecodeEvery200Ms) {
    SetState(ED_DEVTYPE_VCR, 0x1234, 0x01020304);
    C1394DVFilter* dv = Open();
    ASSERT_NE(nullptr, dv);
    KeyWindow window;
    dv->SetNotify(window.Window());
    ASSERT_TRUE(dv->StartMonitor());
    const std::vector<Status> seen = CollectStatus(window.Window(), 650);
    ASSERT_EQ(3u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(0x21234u, seen[i].wParam);
        EXPECT_EQ(0x04030201, seen[i].lParam);
        if (i > 0) {
            EXPECT_GE(seen[i].at - seen[i - 1].at, 200u);
            EXPECT_LE(seen[i].at - seen[i - 1].at, 210u);
        }
    }
    // The stop event ends the thread without waiting out its period.
    const DWORD before = GetTickCount();
    dv->StopMonitor();
    EXPECT_LT(GetTickCount() - before, 200u);
}

TEST_F(DvDevice, WithoutANotifyWindowTheMonitorPostsNothing) {
    C1394DVFilter* dv = Open();
    ASSERT_NE(nullptr, dv);
    KeyWindow window;
    ASSERT_TRUE(dv->StartMonitor());
    EXPECT_TRUE(CollectStatus(window.Window(), 500).empty());
    dv->StopMonitor();
}

TEST_F(DvDevice, ADeviceWithoutItsTransportInterfacesAlertsAndIsDropped) {
    std::vector<std::string> alerts;
    platform::SetMessageBoxHandler([&](HWND owner, const char* text, const char* caption, UINT type) {
        EXPECT_EQ(nullptr, owner);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), type);
        alerts.push_back(std::string(caption) + "|" + text);
        return IDOK;
    });
    Device().SetAbsent("IAMTimecodeReader", true);
    EXPECT_EQ(nullptr, Open());
    platform::SetMessageBoxHandler(nullptr);
    EXPECT_EQ((std::vector<std::string>{"Alert| Create C1394Access Failed ! \n Please Insert 1394Card!"}), alerts);
}

TEST_F(DvDevice, AccessReadsTransportAndTimecodeAndReportsEachFailure) {
    hwsim::DvDeviceDriver::State state = Device().Get();
    state.mode = 0xFF;
    state.rate = -1.75;
    state.timecode = 0x0A0B0C0D;
    state.trackNumber = 77;
    state.user = 1;
    state.status = {{5, 42}};
    Device().Set(state);
    C1394DVFilter* dv = Open();
    ASSERT_NE(nullptr, dv);
    C1394Access* access = dv->GetAccess();

    long mode = 0;
    EXPECT_FALSE(access->PollMode(&mode));  // 0xFF is the mode it starts from
    EXPECT_TRUE(dv->SetMode(0x20));
    EXPECT_TRUE(access->PollMode(&mode));
    EXPECT_EQ(0x20, mode);
    EXPECT_FALSE(access->PollMode(&mode));
    int rate = 0;
    EXPECT_TRUE(access->GetRate(&rate));
    EXPECT_EQ(-1, rate);
    long value = 0;
    EXPECT_TRUE(access->GetStatus(5, &value));
    EXPECT_EQ(42, value);
    EXPECT_FALSE(access->GetStatus(6, &value));
    DWORD track = 0;
    EXPECT_TRUE(access->GetTrackNumber(&track));
    EXPECT_EQ(77u, track);
    BYTE bytes[4];
    int user = 0;
    EXPECT_TRUE(access->GetTimecodeEx(bytes, &user));
    EXPECT_EQ(1, user);
    char h[3], m[3], s[3], f[3];
    EXPECT_TRUE(access->GetTimecodeText(h, m, s, f));
    EXPECT_EQ("0a0b0c0d", std::string(h) + m + s + f);

    Device().SetFailing("GetTimecode", true);
    Device().SetFailing("get_Mode", true);
    Device().SetFailing("GetCapability", true);
    EXPECT_FALSE(dv->GetTimecode(bytes));
    EXPECT_EQ(0, bytes[0]);
    EXPECT_EQ(0, dv->GetMode());
    EXPECT_EQ(0, dv->GetDeviceType());
}

}  // namespace
