// The Empia, PCI Express and WIS drivers: what they refuse before the bus or a line is
// touched, what an unplugged board answers, and the private interfaces on the capture filter.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "empiadriver.h"
#include "hwsim/drivers/EmpiaDriver.h"
#include "hwsim/drivers/PcieDriver.h"
#include "hwsim/drivers/WisDriver.h"
#include "support/TestBoard.h"
#include "wisdriver.h"

namespace hwsim {
namespace {

struct Refused {
    const char* what;
    std::function<HRESULT()> call;
    HRESULT expected = E_INVALIDARG;
};

// Each call answers its refusal; the bus and the GPIO lines see nothing.
void ExpectRefused(Card& card, const std::vector<Refused>& rows) {
    card.Bus().ClearLog();
    const DWORD lines = card.Bridge().PinLevels();
    for (const Refused& row : rows) EXPECT_EQ(row.expected, row.call()) << row.what;
    EXPECT_EQ("", card.Bus().LogText());
    EXPECT_EQ(lines, card.Bridge().PinLevels());
}

template <class I>
CComPtr<I> Interface(IBaseFilter* filter, REFIID iid) {
    CComPtr<I> itf;
    EXPECT_EQ(S_OK, filter->QueryInterface(iid, reinterpret_cast<void**>(&itf)));
    return itf;
}

TEST(EmpiaDriverTest, RefusesMalformedDescriptorsAndTransfersWithoutTheirDescriptor) {
    TestBoard board;
    board.Fit<EmpiaDriver>(false);
    CComPtr<IEmpiaDriver> empia = Interface<IEmpiaDriver>(board.Filter(), IID_IEmpiaDriver);
    // The interface answers for the filter's identity.
    CComPtr<IUnknown> fromInterface;
    CComPtr<IUnknown> fromFilter;
    empia->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromInterface));
    board.Filter()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromFilter));
    EXPECT_EQ(fromFilter, fromInterface);

    BYTE data[4] = {};
    auto set = [&](DWORD id, DWORD value) { return empia->Set(id, &value); };
    ExpectRefused(board.GetCard(), {
        {"mode 2", [&] { return set(0x1007, 0x02A00001); }},
        {"count 0", [&] { return set(0x1007, 0x01A00500); }},
        {"raw with a sub-address", [&] { return set(0x1007, 0x00A00501); }},
        {"register bits 16 on", [&] { return set(0x1005, 0x00010801); }},
        {"data without descriptor", [&] { return empia->Get(0x1008, data); }},
        {"null value", [&] { return empia->Set(0x1007, nullptr); }, E_POINTER},
        {"i2c data on a register descriptor", [&] { return set(0x1005, 0x0801) == S_OK ? empia->Get(0x1008, data) : S_OK; }},
        {"register data after a cancel", [&] { return set(0x1005, 0) == S_OK ? empia->Set(0x1006, data) : S_OK; }},
    });
    EXPECT_EQ(E_NOTIMPL, empia->Reserved3());

    board.GetCard().Unplug();
    board.Driver().Log().Clear();
    EXPECT_EQ(kDeviceGone, set(0x1007, 0x01A00501));
    EXPECT_EQ(kDeviceGone, empia->Get(0x1008, data));
    EXPECT_EQ("", board.GetCard().Bus().LogText());
}

TEST(PcieDriverTest, RefusesRequestsOfOtherSizesOrFieldsThroughDeviceIoControl) {
    TestBoard board;
    auto& driver = board.Fit<PcieDriver>(false);
    HANDLE device = CreateFileA(driver.DevicePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    BYTE request[260] = {};
    BYTE answer[260] = {};
    DWORD returned = 0;
    auto control = [&](DWORD code, DWORD inSize, DWORD outSize) -> HRESULT {
        if (DeviceIoControl(device, code, request, inSize, outSize ? answer : nullptr, outSize, &returned, nullptr)) {
            return S_OK;
        }
        return HRESULT_FROM_WIN32(GetLastError());
    };
    auto fill = [&](std::vector<BYTE> head) {
        std::fill(std::begin(request), std::end(request), 0);
        std::copy(head.begin(), head.end(), request);
    };
    ExpectRefused(board.GetCard(), {
        {"read request of 252", [&] { fill({0xA0, 1, 1, 0}); return control(PcieDriver::kI2CRead, 252, 2); }},
        {"sub read answer of 3", [&] { fill({0xA0, 1, 1, 0}); return control(PcieDriver::kI2CRead, 253, 3); }},
        {"sub-address of 3", [&] { fill({0xA0, 3, 3, 0}); return control(PcieDriver::kI2CRead, 253, 2); }},
        {"raw read of 0", [&] { fill({0xC3, 1, 0}); return control(PcieDriver::kI2CRead, 253, 1); }},
        {"raw read answer short", [&] { fill({0xC3, 1, 4}); return control(PcieDriver::kI2CRead, 253, 3); }},
        {"write request of 251", [&] { fill({0xC2, 1, 5}); return control(PcieDriver::kI2CWrite, 251, 0); }},
        {"write with an answer", [&] { fill({0xC2, 1, 5}); return control(PcieDriver::kI2CWrite, 252, 1); }},
        {"write to a read address", [&] { fill({0xC3, 1, 5}); return control(PcieDriver::kI2CWrite, 252, 0); }},
        {"write of 251 bytes", [&] { fill({0xC2, 251}); return control(PcieDriver::kI2CWrite, 252, 0); }},
        {"gpio of 3 bytes", [&] { fill({3, 1}); return control(PcieDriver::kGpio, 3, 0); }},
        {"gpio selector 5", [&] { fill({5, 1}); return control(PcieDriver::kGpio, 2, 0); }},
        {"gpio level 2", [&] { fill({3, 2}); return control(PcieDriver::kGpio, 2, 0); }},
        {"unknown code", [&] { fill({0xA0}); return control(0x226004, 253, 2); }},
    }
    );
    EXPECT_EQ(13u, driver.Log().Size());  // each one logged

    fill({0x50, 1, 1, 0});  // nobody at 0x50
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_IO_DEVICE), control(PcieDriver::kI2CRead, 253, 2));
    board.GetCard().Unplug();
    board.GetCard().Bus().ClearLog();
    fill({3, 1});
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), control(PcieDriver::kGpio, 2, 0));
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileA(driver.DevicePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                                nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_TRUE(CloseHandle(device));
}

TEST(WisDriverTest, RefusesOtherFlagsWidthsAndLengthsAndAnswersTheOtherEntriesNotImplemented) {
    TestBoard board;
    board.Fit<WisDriver>(false);
    CComPtr<IWisI2C> wis = Interface<IWisI2C>(board.Filter(), IID_IWisI2C);
    BYTE data[4] = {1, 2, 3, 4};
    BYTE header[3] = {0xA0, 0x10, 0};
    ExpectRefused(board.GetCard(), {
        {"flags 0", [&] { return wis->WriteSub(0xA0, 8, 0x10, 1, 0); }},
        {"width 12", [&] { return wis->ReadSub(0xA0, 12, 0x10, data, 0x8000); }},
        {"width 8, sub 0x100", [&] { return wis->WriteSub(0xA0, 8, 0x100, 1, 0x8000); }},
        {"raw write with a width", [&] { return wis->WriteRaw(0xA0, 8, 0, 2, data, 0x8000); }},
        {"raw write to a read address", [&] { return wis->WriteRaw(0xA1, 0, 0, 2, data, 0x8000); }},
        {"header of 3", [&] { return wis->WriteHeadered(3, header, 1, data, 0x8000); }},
        {"data count 2", [&] { return wis->WriteHeadered(2, header, 2, data, 0x8000); }},
        {"headered, flags 0", [&] { return wis->WriteHeadered(2, header, 1, data, 0); }},
        {"null header", [&] { return wis->WriteHeadered(2, nullptr, 1, data, 0x8000); }, E_POINTER},
        {"null data", [&] { return wis->ReadSub(0xA0, 8, 0, nullptr, 0x8000); }, E_POINTER},
        {"entry 3", [&] { return wis->Reserved3(); }, E_NOTIMPL},
        {"entry 12", [&] { return wis->Reserved12(); }, E_NOTIMPL},
    });
    EXPECT_EQ(S_OK, wis->WriteSub(0xA0, 16, 0x0110, 0x77, 0x8000));
    EXPECT_EQ("A0 W 01 10 77\n", board.GetCard().Bus().LogText());
}

}  // namespace
}  // namespace hwsim
