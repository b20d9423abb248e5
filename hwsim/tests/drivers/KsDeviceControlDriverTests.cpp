// The device-control driver through the capture filter's kernel handle: the SET and GET of
// each command, the I2C primitives on the card's bus, the port word and the GPIO lines, what
// it refuses, and several threads.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "hwsim/drivers/KsDeviceControlDriver.h"
#include "ksproxy.h"
#include "platform/runtime.h"
#include "support/BenchFixture.h"
#include "support/TestBoard.h"

namespace hwsim {
namespace {

// One command block, filled as the host fills it.
struct Block {
    alignas(8) BYTE bytes[KsDeviceControlDriver::kLargeSize] = {};
    DWORD id;
    DWORD size;

    explicit Block(bool large)
        : id(large ? KsDeviceControlDriver::kLargeId : KsDeviceControlDriver::kCommandId),
          size(large ? KsDeviceControlDriver::kLargeSize : KsDeviceControlDriver::kCommandSize) {}
    void PutDword(size_t at, DWORD value) { std::memcpy(bytes + at, &value, 4); }
    DWORD Dword(size_t at) const {
        DWORD value;
        std::memcpy(&value, bytes + at, 4);
        return value;
    }
    void Header(DWORD flags) {
        std::memcpy(bytes, &kDeviceControlSet, sizeof(GUID));
        PutDword(16, id);
        PutDword(20, flags);
    }
};

class KsDeviceControlDriverTest : public BenchFixture {
protected:
    void SetUp() override {
        BenchFixture::SetUp();
        board = std::make_unique<TestBoard>();
        driver = &board->Fit<KsDeviceControlDriver>(false);
        CComPtr<IKsObject> object;
        ASSERT_EQ(S_OK, board->Filter()->QueryInterface(IID_IKsObject, reinterpret_cast<void**>(&object)));
        handle = object->KsGetObjectHandle();
        ASSERT_NE(nullptr, handle);
    }
    void TearDown() override {
        board.reset();
        BenchFixture::TearDown();
    }

    HRESULT Send(Block& block, DWORD flags) {
        block.Header(flags);
        ULONG returned = 0;
        return KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block.bytes, block.size, block.bytes, block.size,
                                          &returned);
    }
    // The SET of `code`, then its GET; the block keeps the answers.
    HRESULT Command(DWORD code, Block& block) {
        block.PutDword(24, code);
        HRESULT hr = Send(block, KSPROPERTY_TYPE_SET);
        return FAILED(hr) ? hr : Send(block, KSPROPERTY_TYPE_GET);
    }
    HRESULT Command(DWORD code) {
        Block block(false);
        return Command(code, block);
    }
    HRESULT ByteOut(BYTE value) {
        Block block(false);
        block.bytes[50] = value;
        return Command(0x1100000E, block);
    }
    HRESULT ByteIn(BYTE* value) {
        Block block(false);
        const HRESULT hr = Command(0x1100000D, block);
        *value = block.bytes[50];
        return hr;
    }
    HRESULT PortWord(DWORD value) {
        Block block(true);
        block.PutDword(36, value);
        return Command(2, block);
    }

    std::unique_ptr<TestBoard> board;
    KsDeviceControlDriver* driver = nullptr;
    HANDLE handle = nullptr;
};

TEST_F(KsDeviceControlDriverTest, FilterAnswersTheSetAndHasAKernelHandle) {
    CComPtr<IKsPropertySet> properties;
    ASSERT_EQ(S_OK, board->Filter()->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties)));
    DWORD support = 0;
    EXPECT_EQ(S_OK, properties->QuerySupported(kDeviceControlSet, 4, &support));
    EXPECT_EQ(DWORD(KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET), support);
    EXPECT_EQ(S_OK, properties->QuerySupported(kDeviceControlSet, 2, &support));
    EXPECT_EQ(E_PROP_ID_UNSUPPORTED, properties->QuerySupported(kDeviceControlSet, 3, &support));
}

TEST_F(KsDeviceControlDriverTest, PrimitivesWriteAndReadAnEepromByteOnTheBus) {
    EXPECT_EQ(S_OK, Command(0x1100000B));
    EXPECT_EQ(S_OK, ByteOut(0xA0));
    EXPECT_EQ(S_OK, ByteOut(0x41));
    EXPECT_EQ(S_OK, ByteOut(0x5A));
    EXPECT_EQ(S_OK, Command(0x1100000C));
    EXPECT_EQ(0x5A, board->GetCard().Eeprom().Peek(0x41));

    BYTE value = 0;
    EXPECT_EQ(S_OK, Command(0x1100000B));
    EXPECT_EQ(S_OK, ByteOut(0xA0));
    EXPECT_EQ(S_OK, ByteOut(0x41));
    EXPECT_EQ(S_OK, Command(0x1100000B));  // repeated start
    EXPECT_EQ(S_OK, ByteOut(0xA1));
    EXPECT_EQ(S_OK, ByteIn(&value));
    EXPECT_EQ(S_OK, Command(0x11000010));
    EXPECT_EQ(S_OK, Command(0x1100000C));
    EXPECT_EQ(0x5A, value);
    EXPECT_EQ("A0 W 41 5A\nA0 W 41\nA1 R 5A\n", board->GetCard().Bus().LogText());
    const std::vector<std::string> lines = driver->Log().Lines();
    ASSERT_EQ(26u, lines.size());
    EXPECT_EQ("Set DC.4 [120/120] i2c in 5A -> S_OK", lines[20]);
    EXPECT_EQ("Get DC.4 [120/120] i2c in 5A -> S_OK", lines[21]);
    EXPECT_EQ("Set DC.4 [120/120] i2c ack -> S_OK", lines[22]);
}

TEST_F(KsDeviceControlDriverTest, GetAnswersOnlyTheSetBeforeItOnTheSameThread) {
    Block block(false);
    block.PutDword(24, 0x1100000B);
    EXPECT_EQ(E_INVALIDARG, Send(block, KSPROPERTY_TYPE_GET));  // no SET
    EXPECT_EQ(S_OK, Send(block, KSPROPERTY_TYPE_SET));
    block.PutDword(24, 0x1100000C);
    EXPECT_EQ(E_INVALIDARG, Send(block, KSPROPERTY_TYPE_GET));  // another code
    block.PutDword(24, 0x1100000B);
    EXPECT_EQ(E_INVALIDARG, Send(block, KSPROPERTY_TYPE_GET));  // the answer went with the refusal

    // Another thread's SET is not this thread's.
    EXPECT_EQ(S_OK, Send(block, KSPROPERTY_TYPE_SET));
    std::thread other([&] {
        Block mine(false);
        mine.PutDword(24, 0x1100000B);
        EXPECT_EQ(E_INVALIDARG, Send(mine, KSPROPERTY_TYPE_GET));
    });
    other.join();
    EXPECT_EQ(S_OK, Send(block, KSPROPERTY_TYPE_GET));
    EXPECT_EQ(S_OK, Command(0x1100000C));
}

TEST_F(KsDeviceControlDriverTest, RefusesMalformedBlocksWithoutTouchingTheCard) {
    struct Case {
        const char* what;
        bool large;
        std::function<void(Block&)> spoil;
        DWORD flags = KSPROPERTY_TYPE_SET;
        DWORD length = 0;  // 0: the block's own
    };
    const Case cases[] = {
        {"unknown command code", false, [](Block& b) { b.PutDword(24, 0x11000013); }},
        {"large code in a command block", false, [](Block& b) { b.PutDword(24, 10); }},
        {"command code in a large block", true, [](Block& b) { b.PutDword(24, 0x1100000B); }},
        {"both verbs", false, [](Block& b) { b.PutDword(24, 0x1100000B); }, KSPROPERTY_TYPE_GET | KSPROPERTY_TYPE_SET},
        {"short block", false, [](Block& b) { b.PutDword(24, 0x1100000B); }, KSPROPERTY_TYPE_SET, 116},
        {"command block as large", true, [](Block& b) { b.PutDword(24, 0x10000002); }, KSPROPERTY_TYPE_SET, 120},
        {"GPIO read of two words", true,
         [](Block& b) {
             b.PutDword(24, 0x1000000A);
             b.PutDword(40, 2);
         }},
        {"GPIO write without its flags", true,
         [](Block& b) {
             b.PutDword(24, 10);
             b.PutDword(72, 1);
             b.PutDword(76, 1);
             b.PutDword(48, 1);
         }},
        {"GPIO write above line 27", true,
         [](Block& b) {
             b.PutDword(24, 10);
             b.PutDword(76, 0x10000000);
             b.PutDword(48, 1);
             b.PutDword(52, 1);
         }},
    };
    driver->SetPortWord(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Block block(c.large);
        c.spoil(block);
        block.Header(c.flags);
        const DWORD length = c.length ? c.length : block.size;
        ULONG returned = 0;
        EXPECT_EQ(E_INVALIDARG,
                  KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block.bytes, length, block.bytes, length, &returned));
    }
    // Through IKsPropertySet with two buffers.
    CComPtr<IKsPropertySet> properties;
    ASSERT_EQ(S_OK, board->Filter()->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&properties)));
    Block in(false), out(false);
    in.PutDword(24, 0x1100000B);
    in.Header(KSPROPERTY_TYPE_SET);
    EXPECT_EQ(E_INVALIDARG, properties->Set(kDeviceControlSet, 4, in.bytes, 120, out.bytes, 120));
    EXPECT_EQ(driver->Log().Size(), 10u);
    EXPECT_EQ("", board->GetCard().Bus().LogText());
    EXPECT_EQ(0u, board->GetCard().Bridge().Directions());
}

TEST_F(KsDeviceControlDriverTest, EveryByteOfATransferToAMissingDeviceFails) {
    BYTE value = 0;
    EXPECT_EQ(S_OK, Command(0x1100000B));
    EXPECT_EQ(kI2CNoAck, ByteOut(0x40));  // nobody at 0x20
    EXPECT_EQ(kI2CNoAck, ByteOut(0x00));
    EXPECT_EQ(S_OK, Command(0x1100000B));
    EXPECT_EQ(kI2CNoAck, ByteOut(0x41));
    EXPECT_EQ(kI2CNoAck, ByteIn(&value));
    EXPECT_EQ(S_OK, Command(0x1100000C));

    // A byte the chip refuses fails its command; the transfer goes on to its stop.
    board->GetCard().Eeprom().NackTransfers(0, 2);
    EXPECT_EQ(S_OK, Command(0x1100000B));
    EXPECT_EQ(S_OK, ByteOut(0xA0));
    EXPECT_EQ(S_OK, ByteOut(0x10));
    EXPECT_EQ(kI2CNoAck, ByteOut(0x77));
    EXPECT_EQ(S_OK, Command(0x1100000C));
    EXPECT_EQ(0xFF, board->GetCard().Eeprom().Peek(0x10));

    // A stuck bus.
    board->GetCard().Eeprom().SetStuck(true);
    EXPECT_EQ(S_OK, Command(0x1100000B));
    EXPECT_EQ(kI2CBusStuck, ByteOut(0xC3));
    EXPECT_EQ(kI2CBusStuck, ByteIn(&value));
    EXPECT_EQ(S_OK, Command(0x1100000C));
}

TEST_F(KsDeviceControlDriverTest, BytesWithoutAStartTouchNothing) {
    BYTE value = 0;
    EXPECT_EQ(kI2CNoAck, ByteOut(0xA0));
    EXPECT_EQ(kI2CNoAck, ByteIn(&value));
    EXPECT_EQ(S_OK, Command(0x1100000C));
    EXPECT_EQ("", board->GetCard().Bus().LogText());
}

TEST_F(KsDeviceControlDriverTest, GpioNeedsPortWordZeroAndReachesTheLines) {
    Saa713x& bridge = board->GetCard().Bridge();
    Block read(true);
    read.PutDword(40, 1);
    Block read0 = read;
    EXPECT_EQ(E_INVALIDARG, Command(0x1000000A, read));  // the port word is not 0 at start

    Block port(true);
    ASSERT_EQ(S_OK, Command(0x10000002, port));
    EXPECT_EQ(KsDeviceControlDriver::kPortWordAtStart, port.Dword(28));
    ASSERT_EQ(S_OK, PortWord(0));
    EXPECT_EQ(0u, driver->PortWord());

    Block write(true);
    write.PutDword(72, 0x00000ABC);
    write.PutDword(76, 0x00000FFF);
    write.PutDword(48, 1);
    write.PutDword(52, 1);
    ASSERT_EQ(S_OK, Command(10, write));
    EXPECT_EQ(0xFFFu, bridge.Directions());
    EXPECT_EQ(0xABCu, bridge.HostLatches());

    bridge.DriveExternal(0x00F00000, 0x00500000);
    ASSERT_EQ(S_OK, Command(0x1000000A, read0));
    EXPECT_EQ(bridge.PinLevels(), read0.Dword(72));
    EXPECT_EQ(0x00500ABCu, read0.Dword(72) & 0x00F00FFF);
}

TEST_F(KsDeviceControlDriverTest, StartWaitsForTheStopOfAnotherThreadsTransfer) {
    ASSERT_EQ(S_OK, Command(0x1100000B));
    ASSERT_EQ(S_OK, ByteOut(0xA0));
    std::thread other([&] {
        EXPECT_EQ(S_OK, Command(0x1100000B));
        EXPECT_EQ(S_OK, ByteOut(0xA0));
        EXPECT_EQ(S_OK, ByteOut(0x02));
        EXPECT_EQ(S_OK, ByteOut(0x22));
        EXPECT_EQ(S_OK, Command(0x1100000C));
    });
    Sleep(50);
    ASSERT_EQ(S_OK, ByteOut(0x01));
    ASSERT_EQ(S_OK, ByteOut(0x11));
    ASSERT_EQ(S_OK, Command(0x1100000C));
    other.join();
    EXPECT_EQ("A0 W 01 11\nA0 W 02 22\n", board->GetCard().Bus().LogText());
}

TEST_F(KsDeviceControlDriverTest, UnpluggedCardAnswersDeviceGone) {
    board->GetCard().Unplug();
    EXPECT_EQ(kDeviceGone, Command(0x1100000B));
    EXPECT_EQ("", board->GetCard().Bus().LogText());
}

}  // namespace
}  // namespace hwsim
