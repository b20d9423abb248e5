// The bench's cards as the PC's device tree lists them: each card's driver with its filters.
//
// At construction every card of the bench gets the driver its kind's row makes
// (CardKind::makeDriver; the device-control driver for a card whose bench entry chose it), and its
// filters enter the platform's device tree in bench order (a kind without tuner or crossbar has its
// capture filter only, in its own category): the TV tuner in the TV tuner category under the card's
// tuner device name (Card::TunerDeviceName; none when the bench entry took it away), carrying the
// driver's property sets where the row says so (CardKind::setsOn: on the CX2388x kinds, whose
// capture filter then publishes none, and on the Rivesk and Prisko kinds, beside the capture
// filter's); the TV-audio device of a kind that has one (the tuner's audio into it); the crossbar
// in the crossbar category under the kind's crossbar FriendlyName with the tuner as its upstream
// device (video and audio outputs into the tuner inputs; the TV-audio device's output into the
// tuner audio input where there is one), then the capture filter in the video input device category
// under the capture FriendlyName (the filter the row makes, or CaptureFilter), with the crossbar as
// its upstream device (video and audio decoder outputs into the analog inputs), and the MPEG
// encoder (EncoderFilter, in KSCATEGORY_ENCODER) of a kind that carries one under the kind's
// encoder name ("Prisko MPEG Encoder"), or on a board the bench fits with it as "Rivesk MPEG
// Encoder". The Lurvan board's PCI Express driver enters its device interface, and the board two
// capture devices, one after the other, with the same upstream devices (a second board's two
// follow).
//
// The first DVB-C board's chip library is installed as the PC's DM1105 library, and the first
// EMP audio device's control object enters the COM class table, both until destruction.
// Then the bench's sound cards are plugged (SoundCard; the first one's mixer serves wave-out
// device 0), the three MPEG-4 VKI video compressors enter the video-compressor category, and the
// bench's makers' packages are installed (InstalledPackages).
//
// Unplugging a card (Card::Unplug) takes its devices out of the tree, after which its drivers
// answer every request with kDeviceGone, and posts WM_DEVICECHANGE (DBT_DEVNODES_CHANGED) to
// every top-level window. Destruction takes the remaining devices out. Filters made from the
// devices must be released before the bench goes.
#pragma once

#include <memory>
#include <vector>

#include "hwsim/bench/Bench.h"
#include "hwsim/bench/SoundCard.h"
#include "hwsim/installed/InstalledPackages.h"
#include "hwsim/bus/WireLog.h"
#include "hwsim/drivers/KsDriver.h"
#include "platform/devicetree.h"

namespace hwsim {

class BenchDevices {
public:
    explicit BenchDevices(Bench& bench);
    ~BenchDevices();
    BenchDevices(const BenchDevices&) = delete;
    BenchDevices& operator=(const BenchDevices&) = delete;

    // The card's driver, with its wire log. Throws std::out_of_range for a card of another bench.
    KsDriver& Driver(const Card& card) const;
    // The card's devices in the tree (they stay valid ids after an unplug, but no longer bind).
    platform::DeviceId CaptureDevice(const Card& card) const;
    // The second capture device of a board that has two (0 on the others).
    platform::DeviceId SecondCaptureDevice(const Card& card) const;
    platform::DeviceId CrossbarDevice(const Card& card) const;
    platform::DeviceId TunerDevice(const Card& card) const;
    platform::DeviceId TVAudioDevice(const Card& card) const;
    // The board's MPEG encoder device (0 on a board without one) and its wire log.
    platform::DeviceId EncoderDevice(const Card& card) const;
    WireLog& EncoderLog(const Card& card) const;

    // The sound cards, in bench order.
    const std::vector<std::unique_ptr<SoundCard>>& SoundCards() const { return m_soundCards; }
    // The video compressors' devices: V1, V2, V3.
    const std::vector<platform::DeviceId>& CompressorDevices() const { return m_compressors; }
    InstalledPackages& Packages() const { return *m_packages; }

private:
    struct Plugged;
    const Plugged& Find(const Card& card) const;
    void InstallDeviceServices(const std::shared_ptr<KsDriver>& driver);

    std::vector<std::unique_ptr<Plugged>> m_cards;
    bool m_dm1105Installed = false;
    DWORD m_empControl = 0;
    std::vector<std::unique_ptr<SoundCard>> m_soundCards;
    std::vector<platform::DeviceId> m_compressors;
    std::unique_ptr<InstalledPackages> m_packages;
};

}  // namespace hwsim
