#include "support/CardBench.h"

#include <strmif.h>

#include "cards/base/CardFilterClasses.h"
#include "graph/FilterClassRecord.h"
#include "access/Kesh713xAccess.h"
#include "access/KsPropertyAccess.h"
#include "hwsim/drivers/BoxDriver.h"

namespace {

bool IsKesh(const hwsim::Card& board) { return std::string(board.FriendlyName()) == "713x BDA Analog Capture"; }

}  // namespace

std::vector<int> BoxRegisterReads(hwsim::KsDriver& driver) {
    std::vector<int> registers;
    for (const hwsim::WireRequest& request : driver.Log().Requests()) {
        if (request.verb == hwsim::WireRequest::Verb::Get && request.id == hwsim::BoxDriver::kRegisterProperty) {
            registers.push_back(request.instance[5]);
        }
    }
    return registers;
}

CardBench::CardBench() {
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
}

CardBench::~CardBench() = default;

void CardBench::Load(const char* benchText) {
    m_graph.reset();
    m_devices.reset();
    m_bench.reset();
    m_bench = hwsim::Bench::FromText(benchText);
    m_devices = std::make_unique<hwsim::BenchDevices>(*m_bench);
}

void CardBench::TearDown() {
    m_graph.reset();
    m_devices.reset();
    m_bench.reset();
    // A card opened by instance leaves the process-wide device index behind it.
    CRootFilter::SetDeviceIndex(0);
}

CCustomDataAccess* CardBench::NewAccess(hwsim::Card& board) {
    CComPtr<IBaseFilter> capture;
    EXPECT_EQ(S_OK, platform::BindDevice(m_devices->CaptureDevice(board), IID_IBaseFilter,
                                         reinterpret_cast<void**>(&capture)));
    CCustomDataAccess* access = IsKesh(board) ? static_cast<CCustomDataAccess*>(new CKesh713xAccess())
                                              : static_cast<CCustomDataAccess*>(new CKsPropertyAccess());
    EXPECT_EQ(S_OK, access->Init(capture, nullptr));
    return access;
}

CRootGraph& CardBench::Graph() {
    if (!m_graph) m_graph = std::make_unique<CRootGraph>();
    return *m_graph;
}

CTVCardFilter* CardBench::OpenCard(hwsim::Card& board, int instance) {
    CRootFilter* filter = Graph().AddDeviceFilter(CLSID_VideoInputDeviceCategory, board.FriendlyName(), "Card", 0,
                                                  instance);
    return dynamic_cast<CTVCardFilter*>(filter);
}

void CardBench::Poke(hwsim::Card& board, BYTE address, std::initializer_list<BYTE> bytes) {
    for (BYTE value : bytes) board.Eeprom().Poke(address++, value);
}

void CardBench::ExpectWholeEepromThroughTheCard(CTVCardFilter& card, hwsim::Card& board, const std::string& what) {
    std::vector<BYTE> image(256);
    for (int i = 0; i < 256; ++i) image[i] = static_cast<BYTE>(i * 7 + 3);
    int count = 256;
    EXPECT_EQ(S_OK, card.WriteEeprom(image.data(), 0, &count, 0)) << what;
    EXPECT_EQ(image, board.Eeprom().Contents()) << what;
    std::vector<BYTE> back(256);
    EXPECT_EQ(S_OK, card.ReadEeprom(back.data(), 0, &count)) << what;
    EXPECT_EQ(256, count) << what;
    EXPECT_EQ(image, back) << what;
}

// ---- KeyWindow ----

KeyWindow::KeyWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "KeyWindow";
    RegisterClassA(&wc);
    m_window = CreateWindowExA(0, "KeyWindow", "keys", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

KeyWindow::~KeyWindow() {
    if (IsWindow(m_window)) DestroyWindow(m_window);
}

std::vector<WPARAM> KeyWindow::WaitForKeys(size_t count, DWORD limitMs) {
    std::vector<WPARAM> keys;
    const UINT_PTR timer = SetTimer(m_window, 1, limitMs, nullptr);
    MSG msg;
    while (keys.size() < count && GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_TIMER && msg.hwnd == m_window) break;
        if (msg.message == WM_REMOTE_KEY && msg.hwnd == m_window) {
            EXPECT_EQ(0, msg.lParam);
            keys.push_back(msg.wParam);
            continue;
        }
        DispatchMessageA(&msg);
    }
    KillTimer(m_window, timer);
    return keys;
}
