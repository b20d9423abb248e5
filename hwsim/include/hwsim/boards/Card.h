// One plugged card of the bench: its SAA713x bridge with the GPIO lines and the on-board
// controller on them (or, on the boards of kinds without a controller layout, the low-bit key
// presenter), its I2C bus with the EEPROM, the fitted tuner and, on the kinds that have one,
// the I2C remote-key controller, its EEPROM state file, and whether it is still plugged.
//
// Chips are known by their role on the card ("eeprom", "tuner"); tuner fittings that carry
// more than one chip add them under roles of their own. Chips are fitted and refitted while no
// other thread uses the card; the EEPROM stays fitted for the card's life.
//
// Unplugging is one-way: from then on IsPlugged() is false and the card's drivers answer every
// request with kDeviceGone without touching the bus. Hooks registered with OnUnplug run once,
// on the unplugging thread.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hwsim/bench/BenchSpec.h"
#include "hwsim/chips/Eeprom24C02.h"
#include "hwsim/chips/I2CKeyController.h"
#include "hwsim/chips/LowBitKeyPresenter.h"
#include "hwsim/bench/EepromStateFile.h"
#include "hwsim/bus/I2CBus.h"
#include "hwsim/chips/OnboardController.h"
#include "hwsim/bench/RfEnvironment.h"
#include "hwsim/chips/Saa713x.h"
#include "platform/winerror.h"

namespace hwsim {

// What a driver answers for a card that has been unplugged.
inline constexpr HRESULT kDeviceGone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

// The chip role of the I2C remote-key controller.
inline constexpr const char kKeyControllerRole[] = "remote";

class Card {
public:
    // Throws BenchError when the state file is unusable or a fault names no chip of the card.
    Card(const CardSpec& desc, const RfEnvironment& rf, const std::string& stateFile);
    ~Card();
    Card(const Card&) = delete;
    Card& operator=(const Card&) = delete;

    const CardKind& Kind() const { return *m_kind; }
    const char* FriendlyName() const { return m_kind->captureName; }
    int Instance() const { return m_instance; }
    int TunerModel() const { return m_tunerModel; }
    const std::string& Remote() const { return m_remote; }
    // The remote keys the bench presses at plug-in, in order.
    const std::vector<BYTE>& Keys() const { return m_keys; }
    // The crossbar filter's pin count (the bench entry's choice, else the kind's).
    int CrossbarPins() const { return m_crossbarPins; }
    // Whether the capture filter has its interleaved capture pin.
    bool InterleavedCapture() const { return m_interleaved; }
    const std::string& StateFile() const { return m_state.Path(); }
    // FALSE once a write of the EEPROM's state file has failed.
    bool StateKept() const { return m_state.Kept(); }
    // The bench entry's choice of driver; empty: the kind's own.
    const std::string& DriverChoice() const { return m_driverChoice; }
    // The tuner device's FriendlyName: the kind's unless the bench entry named another; null
    // when the card has none.
    const char* TunerDeviceName() const;
    // The EM28xx box controller's tuner type code (the bench entry's, else 0).
    int TunerTypeCode() const { return m_tunerTypeCode; }

    I2CBus& Bus() { return m_bus; }
    Saa713x& Bridge() { return m_bridge; }
    Eeprom24C02& Eeprom() { return *m_eeprom; }
    // Throws std::logic_error on a board without a controller.
    OnboardController& Controller();
    // Throws std::logic_error on a board without the presenter.
    LowBitKeyPresenter& KeyPresenter();
    // The I2C key controller fitted under kKeyControllerRole; throws std::logic_error on a
    // board without one.
    I2CKeyController& KeyController();
    // Queues a remote key on the board's I2C key controller, else on its on-board controller,
    // else on its presenter.
    void PressKey(BYTE code);
    // Has the remote press `round` now and again `pauseMs` after each round was taken, where
    // PressKey queues; an empty round stops the rounds.
    void RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs);
    // Rewires the on-board controller in another pin layout (a fresh controller).
    void RefitController(const ControllerPinLayout& layout);
    const RfEnvironment& Rf() const { return m_rf; }
    // Whether the board carries the MPEG encoder, and what the bench plugged into its inputs.
    bool HasEncoder() const { return m_encoder; }
    // How far into a run the encoder codes before it stops (0: it does not stop).
    DWORD EncoderStopsAfterMs() const { return m_encoderStopsAfterMs; }
    DWORD EncoderStopsAfterBytes() const { return m_encoderStopsAfterBytes; }
    const InputSignal& Composite() const { return m_composite; }
    const InputSignal& SVideo() const { return m_svideo; }

    // ---- the crossbar's routes, as the hardware keeps them ----
    // What a crossbar input carries from the board's connectors.
    enum class Source { None, Tuner, Composite, SVideo };
    // The crossbar input routed to the video decoder and to the audio decoder (indexes in the
    // board's crossbar layout, -1 none), and the sources they carry.
    long VideoRoute() const { return m_videoRoute.load(); }
    long AudioRoute() const { return m_audioRoute.load(); }
    Source VideoSource() const { return m_videoSource.load(); }
    Source AudioSource() const { return m_audioSource.load(); }
    // Output 0 is the video decoder's, output 1 the audio decoder's.
    void SetRoute(long output, long input, Source source);
    // False until a crossbar set a route: the crossbar then starts the card on its tuner.
    bool Routed() const { return m_routed.load(); }

    // The chip with this role, or null.
    I2CDevice* Chip(const std::string& role) const;
    // Fits a chip under a role (replacing and detaching any chip of that role) and attaches it
    // to the bus.
    I2CDevice* AddChip(const std::string& role, std::unique_ptr<I2CDevice> chip);
    void RemoveChip(const std::string& role);

    // ---- the board's filters in filter graphs ----
    // Each of the board's filters notes when it joins ("+role") and leaves ("-role") a filter
    // graph: "capture", "tuner", "tv audio", "crossbar". In order, from every thread.
    void NoteGraph(const char* role, bool joined);
    std::vector<std::string> GraphLog() const;
    void ClearGraphLog();

    // ---- unplugging ----
    bool IsPlugged() const { return m_plugged.load(std::memory_order_acquire); }
    void Unplug();
    // Returns an id for RemoveUnplugHook. On a card already unplugged the hook runs at once.
    int OnUnplug(std::function<void()> hook);
    void RemoveUnplugHook(int id);

private:
    // Runs `use` on what takes the remote's keys: the I2C key controller, else the on-board
    // controller, else the presenter.
    template <class Use>
    void WithKeyReceiver(Use use);

    void ApplyFault(const FaultSpec& fault);

    const CardKind* m_kind;
    const int m_instance;
    const int m_tunerModel;
    const std::string m_remote;
    const std::vector<BYTE> m_keys;
    const std::string m_driverChoice;
    const int m_crossbarPins;
    const bool m_interleaved;
    const std::optional<std::string> m_tunerDevice;
    const int m_tunerTypeCode;
    const RfEnvironment& m_rf;
    const bool m_encoder;
    const DWORD m_encoderStopsAfterMs;
    const DWORD m_encoderStopsAfterBytes;
    const CardSpec::RemoteFault m_remoteFault;
    // The key a stuck receiver repeats: the first one it heard (-1 before that).
    std::atomic<int> m_stuckKey{-1};
    // What the remote receiver makes of keys pressed on the remote.
    std::vector<BYTE> Heard(const std::vector<BYTE>& pressed);
    const InputSignal m_composite;
    const InputSignal m_svideo;
    std::atomic<long> m_videoRoute{0};
    std::atomic<long> m_audioRoute{3};
    std::atomic<Source> m_videoSource{Source::Tuner};
    std::atomic<Source> m_audioSource{Source::Tuner};
    std::atomic<bool> m_routed{false};

    I2CBus m_bus;
    Saa713x m_bridge;
    std::unique_ptr<OnboardController> m_controller;
    std::unique_ptr<LowBitKeyPresenter> m_keyPresenter;
    EepromStateFile m_state;

    mutable std::mutex m_chipsLock;
    std::map<std::string, std::unique_ptr<I2CDevice>> m_chips;
    Eeprom24C02* m_eeprom = nullptr;

    mutable std::mutex m_graphLogLock;
    std::vector<std::string> m_graphLog;

    std::atomic<bool> m_plugged{true};
    std::mutex m_hooksLock;
    std::map<int, std::function<void()>> m_unplugHooks;
    int m_nextHook = 1;
};

}  // namespace hwsim
