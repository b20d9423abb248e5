// SetupAPI over the device-interface table, CreateFileA on a DevicePath and DeviceIoControl
// to the driver behind the handle: the cases the system relies on.
#include <gtest/gtest.h>

#include <setupapi.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/deviceinterfaces.h"
#include "platform/runtime.h"

namespace {

constexpr GUID kClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
constexpr GUID kOtherClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x56}};

// A driver that answers every code with its input reversed into the output, or fails with the
// error in the code's low 16 bits when they are not 0.
DWORD Echo(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) {
    if (code & 0xFFFF) return code & 0xFFFF;
    for (DWORD i = 0; i < inSize && i < outSize; ++i) static_cast<BYTE*>(out)[i] = static_cast<BYTE*>(in)[inSize - 1 - i];
    *returned = std::min(inSize, outSize);
    return ERROR_SUCCESS;
}

class DeviceInterfaceTest : public testing::Test {
protected:
    void SetUp() override {
        first = platform::AddDeviceInterface({kClass, "\\\\?\\test#first#{class}", Echo});
        other = platform::AddDeviceInterface({kOtherClass, "\\\\?\\test#other#{class}", Echo});
        second = platform::AddDeviceInterface({kClass, "\\\\?\\test#second#{class}", Echo});
    }
    void TearDown() override {
        for (auto id : {first, other, second}) platform::RemoveDeviceInterface(id);
        platform::ClearFailures();
    }
    // The DevicePaths of the class's list, index by index, through the two detail calls.
    static std::vector<std::string> Paths(const GUID& cls) {
        HDEVINFO set = SetupDiGetClassDevsA(&cls, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        EXPECT_NE(INVALID_HANDLE_VALUE, set);
        std::vector<std::string> paths;
        SP_DEVICE_INTERFACE_DATA data = {28};
        for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &cls, index, &data); ++index) {
            DWORD size = 0;
            EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &size, nullptr));
            EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
            auto* detail = static_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(std::malloc(size));
            detail->cbSize = 5;
            EXPECT_TRUE(SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr));
            paths.push_back(reinterpret_cast<const char*>(detail) + 4);
            std::free(detail);
        }
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), GetLastError());
        EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
        return paths;
    }

    platform::DeviceInterfaceId first = 0, other = 0, second = 0;
};

TEST_F(DeviceInterfaceTest, ListsAClassInRegistrationOrderWithTheTwoDetailCalls) {
    EXPECT_EQ((std::vector<std::string>{"\\\\?\\test#first#{class}", "\\\\?\\test#second#{class}"}), Paths(kClass));
    platform::RemoveDeviceInterface(first);
    EXPECT_EQ((std::vector<std::string>{"\\\\?\\test#second#{class}"}), Paths(kClass));
    EXPECT_EQ(INVALID_HANDLE_VALUE, SetupDiGetClassDevsA(&kClass, nullptr, nullptr, DIGCF_PRESENT));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    platform::InjectFailure("SetupDiGetClassDevsA", 1, ERROR_NOT_READY);
    EXPECT_EQ(INVALID_HANDLE_VALUE, SetupDiGetClassDevsA(&kClass, nullptr, nullptr, 0x12));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_READY), GetLastError());
}

TEST_F(DeviceInterfaceTest, DeviceIoControlReachesTheDriverBehindTheOpenedPath) {
    HANDLE device = CreateFileA("\\\\?\\TEST#Second#{class}", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    BYTE in[3] = {1, 2, 3};
    BYTE out[3] = {};
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(device, 0x220000, in, 3, out, 3, &returned, nullptr));
    EXPECT_EQ(3u, returned);
    EXPECT_EQ(3, out[0]);
    EXPECT_FALSE(DeviceIoControl(device, 0x220000 | ERROR_IO_DEVICE, in, 3, out, 3, &returned, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_DEVICE), GetLastError());
    EXPECT_FALSE(DeviceIoControl(device, 0x220000, nullptr, 3, out, 3, &returned, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

    platform::RemoveDeviceInterface(second);
    EXPECT_FALSE(DeviceIoControl(device, 0x220000, in, 3, out, 3, &returned, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED), GetLastError());
    EXPECT_TRUE(CloseHandle(device));
    EXPECT_FALSE(DeviceIoControl(device, 0x220000, in, 3, out, 3, &returned, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileA("\\\\?\\test#second#{class}", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST_F(DeviceInterfaceTest, RecordsOfAnotherSizeAreRefusedAsAWrongUserBuffer) {
    HDEVINFO set = SetupDiGetClassDevsA(&kClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVICE_INTERFACE_DATA data = {0};
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(set, nullptr, &kClass, 0, &data));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    data.cbSize = 16;
    EXPECT_FALSE(SetupDiEnumDeviceInterfaces(set, nullptr, &kClass, 0, &data));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    data.cbSize = 28;
    ASSERT_TRUE(SetupDiEnumDeviceInterfaces(set, nullptr, &kClass, 0, &data));
    DWORD size = 0;
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &size, nullptr));
    std::vector<char> buffer(size);
    auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(buffer.data());
    detail->cbSize = DWORD(size);  // the whole buffer, not the record
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    detail->cbSize = 5;
    data.cbSize = 0;
    EXPECT_FALSE(SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    data.cbSize = 28;
    EXPECT_TRUE(SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, nullptr));
    EXPECT_STREQ(detail->DevicePath, "\\\\?\\test#first#{class}");
    SetupDiDestroyDeviceInfoList(set);
}

// A driver that says it answered more bytes than it was given room for.
DWORD Boastful(DWORD, void*, DWORD, void*, DWORD, DWORD* returned) {
    *returned = 4096;
    return ERROR_SUCCESS;
}

TEST_F(DeviceInterfaceTest, DeviceIoControlNeedsAByteCountAndReportsNoMoreThanTheOutputHolds) {
    HANDLE device = CreateFileA("\\\\?\\test#first#{class}", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    BYTE in[2] = {1, 2};
    BYTE out[2] = {};
    EXPECT_FALSE(DeviceIoControl(device, 0x220000, in, 2, out, 2, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(0, out[0]) << "the driver was not called";
    CloseHandle(device);

    auto boastful = platform::AddDeviceInterface({kClass, "\\\\?\\test#boastful#{class}", Boastful});
    device = CreateFileA("\\\\?\\test#boastful#{class}", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(device, 0x220000, in, 2, out, 2, &returned, nullptr));
    EXPECT_EQ(2u, returned);
    EXPECT_TRUE(DeviceIoControl(device, 0x220000, in, 2, nullptr, 0, &returned, nullptr));
    EXPECT_EQ(0u, returned);
    CloseHandle(device);
    platform::RemoveDeviceInterface(boastful);
}

}  // namespace
