// The driver of the USB boxes on Empia EM28xx bridges: its capture filter answers the private
// interface IEmpiaDriver (Set and Get of a property id with a pointer to its value), logged as
// set "EMPIA" with the property id as id, and ISpecifyPropertyPages (one page).
//
// Descriptors and DWORD values travel as a pointer to a DWORD. The driver keeps, per card, the
// descriptor last Set on 0x1005 or 0x1007 (0 cancels it):
//
//   0x1005  bridge registers: bits 8-15 the first register, bits 0-7 the count (1 to 255);
//           0x1006 then reads (Get) or writes (Set) exactly count bytes from that register on
//   0x1007  I2C: bits 24-31 the mode (0: raw, 1: one sub-address byte), 16-23 the 8-bit
//           device address, 8-15 the sub-address (0 in mode 0), 0-7 the count (1 to 255);
//           0x1008 then moves exactly count bytes, byte-packed
//
// A transfer without the descriptor of its kind is refused (E_INVALIDARG), as is a descriptor
// with other bits; a device that does not acknowledge fails the transfer (kI2CNoAck). Further
// ids: 0x100B selects an item, 0x1014 answers whether the selected item is ready, 0x1013 its
// value, 0x1019 the status flag; any other id is a DWORD store.
//
// Bridge registers: 0x08 the GPIO lines 0 to 7 of the card's line model (a write drives them),
// 0x09 the input byte (lines 8 to 15), 0x0C an event byte whose bit 5 a test raises, 0x40 and
// 0x41 the AC97 data word, 0x42 the AC97 command (a register, bit 7 set for a read) and 0x43
// the AC97 busy bit 0, which stays set for a number of polls after each command (or for ever);
// the others are plain bytes. On a board that reads its GPIO byte back (SetGpioReadBack), 0x09
// answers lines 0 to 7 as they stand instead.
//
// A board can list the box's audio devices (the audio capture and KS audio devices under an
// audio name, the renderer "Default WaveOut Device") and preset the registry names the
// system reads.
#pragma once

#include <array>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "hwsim/drivers/KsDriver.h"
#include "platform/devicetree.h"

namespace hwsim {

class EmpiaDriver : public KsDriver {
public:
    static constexpr DWORD kRegisterDescriptor = 0x1005;
    static constexpr DWORD kRegisterData = 0x1006;
    static constexpr DWORD kI2CDescriptor = 0x1007;
    static constexpr DWORD kI2CData = 0x1008;
    static constexpr DWORD kSelectItem = 0x100B;
    static constexpr DWORD kItemValue = 0x1013;
    static constexpr DWORD kItemReady = 0x1014;
    static constexpr DWORD kStatusFlag = 0x1019;
    // AC97 busy for ever.
    static constexpr int kAlwaysBusy = -1;

    explicit EmpiaDriver(Card& card);
    ~EmpiaDriver() override;

    std::vector<GUID> Sets() const override { return {}; }
    HRESULT QueryDriverInterface(IUnknown* filter, REFIID riid, void** ppv) override;

    // IEmpiaDriver's Set and Get, as its capture filter hands them on.
    HRESULT VendorSet(DWORD id, void* data);
    HRESULT VendorGet(DWORD id, void* data);

    // ---- options and inspection ----
    // Polls of 0x43 that see the busy bit after each AC97 command (kAlwaysBusy: for ever).
    void SetAc97BusyPolls(int polls);
    WORD Ac97Register(BYTE reg) const;
    void SetAc97Register(BYTE reg, WORD value);
    void RaiseEvent();  // sets bit 5 of register 0x0C
    BYTE Register(BYTE reg) const;
    void SetRegister(BYTE reg, BYTE value);
    void SetItem(DWORD item, bool ready, DWORD value);
    void SetStatusFlag(DWORD value);
    // The input byte (0x09) reads back the GPIO lines 0 to 7, as the EM28xx boxes wire them.
    void SetGpioReadBack(bool on);
    // The live descriptor of either kind (0: none).
    DWORD Descriptor() const;

    // Lists the audio capture and KS audio devices under `audioName` and the renderer; taken
    // out when the card is unplugged or the driver goes.
    void PlugAudioDevices(const std::string& audioName);
    // Presets "Software\USB2800\Audio" "DeviceName" and "Software\USB2800\TwainDS" "RealDSName"
    // and "DSName" (each one only when not empty).
    static void PresetNames(const std::string& deviceName, const std::string& realDsName, const std::string& dsName);

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    DWORD DataLength(DWORD id) const;
    HRESULT RegisterTransfer(Request& request);
    HRESULT I2CTransfer(Request& request);
    BYTE ReadRegister(BYTE reg);
    void WriteRegister(BYTE reg, BYTE value);
    void RemoveAudioDevices();

    mutable std::mutex m_lock;  // the driver's state; held through a request
    DWORD m_descriptorId = 0;  // kRegisterDescriptor, kI2CDescriptor or 0
    DWORD m_descriptor = 0;
    std::array<BYTE, 256> m_registers = {};
    std::array<WORD, 128> m_ac97 = {};
    int m_busyPolls = 1;
    int m_busyLeft = 0;
    DWORD m_item = 0;
    struct Item {
        bool ready = false;
        DWORD value = 0;
    };
    std::map<DWORD, Item> m_items;
    DWORD m_statusFlag = 0;
    bool m_gpioReadBack = false;
    std::map<DWORD, DWORD> m_store;
    std::mutex m_devicesLock;
    std::vector<platform::DeviceId> m_audioDevices;
    int m_audioUnplugHook = 0;
};

}  // namespace hwsim
