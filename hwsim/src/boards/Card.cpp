// One plugged card of the bench.
#include "hwsim/boards/Card.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "hwsim/bench/TunerFitting.h"

namespace hwsim {

namespace {

Eeprom24C02::Options EepromOptions(const CardSpec& desc) {
    Eeprom24C02::Options options;
    options.writeProtect = desc.writeProtect;
    options.writeCycleMs = desc.writeCycleMs;
    options.address7 = static_cast<BYTE>(desc.kind->eepromAddress >> 1);
    return options;
}

}  // namespace

Card::Card(const CardSpec& desc, const RfEnvironment& rf, const std::string& stateFile)
    : m_kind(desc.kind),
      m_instance(desc.instance),
      m_tunerModel(desc.tunerModel),
      m_remote(desc.remote),
      m_keys(desc.keys),
      m_driverChoice(desc.driver),
      m_crossbarPins(desc.crossbarPins != 0 ? desc.crossbarPins : desc.kind->crossbarPins),
      m_interleaved(desc.kind->interleavedCapture && desc.interleaved),
      m_tunerDevice(desc.tunerDevice),
      m_tunerTypeCode(desc.tunerTypeCode),
      m_rf(rf),
      m_encoder(desc.encoder),
      m_encoderStopsAfterMs(desc.encoderStopsAfterMs),
      m_encoderStopsAfterBytes(desc.encoderStopsAfterBytes),
      m_remoteFault(desc.remoteFault),
      m_composite(desc.composite),
      m_svideo(desc.svideo),
      m_state(stateFile, EepromStateFile::Load(stateFile, desc.kind->eepromSize).value_or(desc.eeprom),
              desc.kind->eepromSize) {
    if (desc.kind->controllerLayout != nullptr) {
        m_controller = std::make_unique<OnboardController>(m_bridge, desc.kind->controllerLayout());
    } else {
        m_keyPresenter = std::make_unique<LowBitKeyPresenter>(m_bridge);
    }
    auto eeprom = std::make_unique<Eeprom24C02>(EepromOptions(desc));
    eeprom->Load(m_state.Contents());
    eeprom->SetStoreObserver([this](BYTE offset, BYTE value) { m_state.Store(offset, value); });
    m_eeprom = static_cast<Eeprom24C02*>(AddChip("eeprom", std::move(eeprom)));
    FitTuner(*this, desc.tunerModel);
    if (desc.kind->keyController != nullptr) {
        AddChip(kKeyControllerRole, std::make_unique<I2CKeyController>(*desc.kind->keyController));
    }
    if (desc.kind->fitChips != nullptr) desc.kind->fitChips(*this);
    for (const FaultSpec& fault : desc.faults) ApplyFault(fault);
    if (desc.keysRepeatMs != 0) {
        RepeatKeys(desc.keys, desc.keysRepeatMs);
    } else {
        for (BYTE key : desc.keys) PressKey(key);
    }
}

const char* Card::TunerDeviceName() const {
    if (!m_tunerDevice) return m_kind->tunerName;
    return m_tunerDevice->empty() ? nullptr : m_tunerDevice->c_str();
}

OnboardController& Card::Controller() {
    if (!m_controller) throw std::logic_error(std::string(FriendlyName()) + " has no on-board controller");
    return *m_controller;
}

LowBitKeyPresenter& Card::KeyPresenter() {
    if (!m_keyPresenter) throw std::logic_error(std::string(FriendlyName()) + " has no key presenter");
    return *m_keyPresenter;
}

I2CKeyController& Card::KeyController() {
    auto* keys = dynamic_cast<I2CKeyController*>(Chip(kKeyControllerRole));
    if (!keys) throw std::logic_error(std::string(FriendlyName()) + " has no I2C key controller");
    return *keys;
}

template <class Use>
void Card::WithKeyReceiver(Use use) {
    if (auto* keys = dynamic_cast<I2CKeyController*>(Chip(kKeyControllerRole))) {
        use(*keys);
    } else if (m_controller) {
        use(*m_controller);
    } else {
        use(*m_keyPresenter);
    }
}

std::vector<BYTE> Card::Heard(const std::vector<BYTE>& pressed) {
    if (m_remoteFault == CardSpec::RemoteFault::NoKeys) return {};
    if (m_remoteFault == CardSpec::RemoteFault::None || pressed.empty()) return pressed;
    int expected = -1;
    m_stuckKey.compare_exchange_strong(expected, pressed.front());
    return std::vector<BYTE>(pressed.size(), BYTE(m_stuckKey.load()));
}

void Card::PressKey(BYTE code) {
    for (BYTE heard : Heard({code})) WithKeyReceiver([heard](auto& receiver) { receiver.PressKey(heard); });
}

void Card::RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs) {
    // A deaf receiver hears no round; an empty round still stops the rounds.
    const std::vector<BYTE> heard = Heard(round);
    if (heard.empty() && !round.empty()) return;
    WithKeyReceiver([&](auto& receiver) { receiver.RepeatKeys(heard, pauseMs); });
}

void Card::RefitController(const ControllerPinLayout& layout) {
    m_controller.reset();
    m_controller = std::make_unique<OnboardController>(m_bridge, layout);
}

void Card::SetRoute(long output, long input, Source source) {
    if (output == 0) {
        m_videoRoute.store(input);
        m_videoSource.store(source);
    }
    if (output == 1) {
        m_audioRoute.store(input);
        m_audioSource.store(source);
    }
    m_routed.store(true);
}

Card::~Card() {
    std::lock_guard<std::mutex> lock(m_chipsLock);
    for (auto& [role, chip] : m_chips) m_bus.Detach(chip.get());
}

void Card::ApplyFault(const FaultSpec& fault) {
    I2CDevice* chip = Chip(fault.chip);
    if (!chip) {
        throw BenchError(std::string(FriendlyName()) + " #" + std::to_string(m_instance) + ": fault names chip \"" +
                         fault.chip + "\", which the card does not carry");
    }
    switch (fault.kind) {
    case FaultSpec::Kind::Nack: chip->NackTransfers(fault.transfer, fault.byte, fault.count); break;
    case FaultSpec::Kind::Stuck: chip->SetStuck(true); break;
    case FaultSpec::Kind::Absent: chip->SetAbsent(true); break;
    }
}

I2CDevice* Card::Chip(const std::string& role) const {
    std::lock_guard<std::mutex> lock(m_chipsLock);
    auto it = m_chips.find(role);
    return it == m_chips.end() ? nullptr : it->second.get();
}

I2CDevice* Card::AddChip(const std::string& role, std::unique_ptr<I2CDevice> chip) {
    // The bus is taken outside the chip table's lock: a transfer in progress may look a chip up.
    I2CDevice* fitted = chip.get();
    std::unique_ptr<I2CDevice> previous;
    {
        std::lock_guard<std::mutex> lock(m_chipsLock);
        previous = std::exchange(m_chips[role], std::move(chip));
    }
    if (previous) m_bus.Detach(previous.get());
    try {
        m_bus.Attach(fitted);
    } catch (...) {
        std::lock_guard<std::mutex> lock(m_chipsLock);
        m_chips.erase(role);
        throw;
    }
    return fitted;
}

void Card::RemoveChip(const std::string& role) {
    std::unique_ptr<I2CDevice> removed;
    {
        std::lock_guard<std::mutex> lock(m_chipsLock);
        auto it = m_chips.find(role);
        if (it == m_chips.end()) return;
        removed = std::move(it->second);
        m_chips.erase(it);
    }
    m_bus.Detach(removed.get());
}

void Card::NoteGraph(const char* role, bool joined) {
    std::lock_guard<std::mutex> lock(m_graphLogLock);
    m_graphLog.push_back((joined ? "+" : "-") + std::string(role));
}

std::vector<std::string> Card::GraphLog() const {
    std::lock_guard<std::mutex> lock(m_graphLogLock);
    return m_graphLog;
}

void Card::ClearGraphLog() {
    std::lock_guard<std::mutex> lock(m_graphLogLock);
    m_graphLog.clear();
}

void Card::Unplug() {
    std::vector<std::function<void()>> hooks;
    {
        std::lock_guard<std::mutex> lock(m_hooksLock);
        if (!m_plugged.load(std::memory_order_relaxed)) return;
        m_plugged.store(false, std::memory_order_release);
        for (auto& [id, hook] : m_unplugHooks) hooks.push_back(hook);
    }
    for (auto& hook : hooks) hook();
}

int Card::OnUnplug(std::function<void()> hook) {
    int id;
    bool unplugged;
    {
        std::lock_guard<std::mutex> lock(m_hooksLock);
        id = m_nextHook++;
        m_unplugHooks[id] = hook;
        unplugged = !m_plugged.load(std::memory_order_relaxed);
    }
    if (unplugged) hook();
    return id;
}

void Card::RemoveUnplugHook(int id) {
    std::lock_guard<std::mutex> lock(m_hooksLock);
    m_unplugHooks.erase(id);
}

}  // namespace hwsim
