// An Xceive XC2028/XC3028 silicon tuner.
#include "hwsim/chips/XceiveTuner.h"

#include <cmath>

#include "hwsim/chips/Saa713x.h"
#include "platform/analogvideo.h"
#include "platform/runtime.h"

namespace hwsim {

namespace {

// The firmware lists by identity, and the base family each belongs to.
// The standards of the chip maker's firmware table.
constexpr long kMn = AnalogVideo_NTSC_M | AnalogVideo_NTSC_M_J | AnalogVideo_NTSC_433 | AnalogVideo_PAL_H |
                     AnalogVideo_PAL_M | AnalogVideo_PAL_N | AnalogVideo_PAL_60;
constexpr long kSecamDk = AnalogVideo_SECAM_D | AnalogVideo_SECAM_H | AnalogVideo_SECAM_K | AnalogVideo_SECAM_K1;
constexpr long kSecamL = AnalogVideo_SECAM_L | AnalogVideo_SECAM_L1;

struct ListInfo {
    const char* name;
    int family;  // 0: PAL/SECAM, 1: NTSC, -1: a sound-IF patch, which fits either base
    bool base;
    long standards;  // a patch: the standards it serves
};
constexpr ListInfo kLists[] = {
    {"XcBasePalSecam", 0, true, 0},
    {"XcBaseNtsc", 1, true, 0},
    {"XcPatchPalBg", 0, false, AnalogVideo_PAL_B | AnalogVideo_PAL_G},
    {"XcPatchDk", 0, false, AnalogVideo_PAL_D | kSecamDk},
    {"XcPatchPalI", 0, false, AnalogVideo_PAL_I},
    {"XcPatchSecamBgL", 0, false, AnalogVideo_SECAM_B | AnalogVideo_SECAM_G | kSecamL},
    {"XcPatchMn", 1, false, kMn},
    {"XcPatchSifBgi", -1, false,
     AnalogVideo_PAL_B | AnalogVideo_PAL_D | AnalogVideo_PAL_G | AnalogVideo_PAL_I | AnalogVideo_SECAM_B |
         AnalogVideo_SECAM_G},
    {"XcPatchSifDk", -1, false, kSecamDk},
    {"XcPatchSifL", -1, false, kSecamL},
    {"XcPatchSifMn", -1, false, kMn},
};
constexpr int kListCount = static_cast<int>(std::size(kLists));

// Record layout: d[0] = (list id + 1) << 4 | length code; sequence low byte; sequence bits
// 9-8, last flag, filler; check; with length code 0, the payload length high byte first.
// The firmware generator (tuners/XcFirmwareGenerator.h) writes the same format: change both.
constexpr size_t kHeaderBytes = 4;
constexpr size_t kExtendedHeaderBytes = 6;
constexpr size_t kCheckAt = 3;
constexpr BYTE kLastRecord = 0x20;

BYTE RecordCheck(const std::vector<BYTE>& record) {
    BYTE crc = 0;
    for (size_t i = 0; i < record.size(); ++i) {
        if (i == kCheckAt) continue;
        crc ^= record[i];
        for (int bit = 0; bit < 8; ++bit) crc = static_cast<BYTE>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    }
    return crc;
}

std::string ListName(int id) { return id >= 0 && id < kListCount ? kLists[id].name : ""; }

}  // namespace

// The reset input on a GPIO line of an SAA713x bridge.
class XceiveTuner::GpioReset : public GpioListener {
public:
    GpioReset(XceiveTuner& chip, Saa713x& bridge, DWORD line) : m_chip(chip), m_bridge(bridge), m_line(line) {
        m_bridge.Attach(this);
        OnHostLines(m_bridge.HostLatches() & m_bridge.Directions(), m_bridge.Directions());
    }
    ~GpioReset() override { m_bridge.Detach(this); }
    void OnHostLines(DWORD levels, DWORD driven) override {
        m_chip.SetReset((driven & m_line) != 0 && (levels & m_line) == 0);
    }

private:
    XceiveTuner& m_chip;
    Saa713x& m_bridge;
    const DWORD m_line;
};

XceiveTuner::XceiveTuner(const RfEnvironment& rf, BYTE address7) : I2CDevice(address7), m_rf(rf) {}

XceiveTuner::~XceiveTuner() { m_gpioReset.reset(); }

// ---- reset ----

void XceiveTuner::SetReset(bool asserted) {
    std::lock_guard<std::mutex> lock(ChipLock());
    if (asserted == m_inReset) return;
    m_inReset = asserted;
    const ULONGLONG now = platform::ClockNow();
    if (asserted) {
        m_pulses.push_back(ResetPulse{now, 0});
        ClearLocked();
    } else if (!m_pulses.empty()) {
        m_pulses.back().releasedAt = now;
        m_pulsed = true;
    }
}

void XceiveTuner::WireResetToGpio(Saa713x& bridge, DWORD line) {
    m_gpioReset.reset();
    m_gpioReset = std::make_unique<GpioReset>(*this, bridge, line);
}

bool XceiveTuner::InReset() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_inReset;
}

std::vector<XceiveTuner::ResetPulse> XceiveTuner::ResetPulses() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_pulses;
}

void XceiveTuner::ClearLocked() {
    m_record.clear();
    m_base = m_patch = m_loading = -1;
    m_nextSequence = 0;
    m_broken = false;
    m_error.clear();
    m_accepted = 0;
    m_tuned = false;
    m_word = 0;
    m_readRegister = kLockRegister;
}

// ---- bus side ----

bool XceiveTuner::OnSelect(bool read) {
    if (m_inReset) return false;
    m_reading = read;
    m_readIndex = 0;
    m_write.clear();
    return true;
}

bool XceiveTuner::OnReceive(BYTE value) {
    if (m_inReset) return false;
    m_write.push_back(value);
    return true;
}

BYTE XceiveTuner::OnTransmit() {
    WORD value = 0;
    if (m_readRegister == kLockRegister) value = LockedLocked() ? 1 : 0;
    if (m_readRegister == kFrequencyRegister) value = m_word;
    const int index = m_readIndex++;
    if (index == 0) return static_cast<BYTE>(value >> 8);
    if (index == 1) return static_cast<BYTE>(value & 0xFF);
    return 0;
}

void XceiveTuner::OnEnd(bool) {
    if (!m_reading && !m_write.empty() && !m_inReset) ProcessWrite();
    m_write.clear();
}

void XceiveTuner::ProcessWrite() {
    // No firmware record or register write is a lone byte: a write of one byte alone (a block
    // read's sub-address, say) carries nothing the chip acts on.
    if (m_write.size() < 2) return;
    if (m_write[0] == 0x00) {
        RegisterWrite();
    } else {
        FirmwareChunk();
    }
}

void XceiveTuner::RegisterWrite() {
    if (!m_record.empty()) Refuse("register write inside a firmware record");
    if (m_write.size() < 2) return;
    m_readRegister = static_cast<WORD>(m_write[1]);
    const size_t values = m_write.size() - 2;
    if (m_readRegister == kLockRegister && values > 0) ++m_modeWrites;
    if (m_readRegister == kFrequencyRegister && values >= 2) {
        m_word = static_cast<WORD>(m_write[2] << 8 | m_write[3]);
        m_tuned = true;
    }
}

// ---- firmware ----

void XceiveTuner::Refuse(const std::string& reason) {
    if (!m_broken) m_error = reason;
    m_broken = true;
    m_record.clear();
    m_base = m_patch = m_loading = -1;
}

void XceiveTuner::FirmwareChunk() {
    if (m_broken) return;
    if (m_record.empty()) {
        m_record.push_back(m_write[0]);
    } else if (m_record[0] != m_write[0]) {
        return Refuse("record torn: a chunk of another record arrived");
    }
    m_record.insert(m_record.end(), m_write.begin() + 1, m_write.end());
    const BYTE code = m_record[0] & 0x0F;
    size_t expected = 0;
    if (code != 0) {
        expected = code + 1u;
    } else if (m_record.size() >= kExtendedHeaderBytes) {
        expected = (static_cast<size_t>(m_record[4]) << 8 | m_record[5]) + 1u;
        if (expected <= 16) return Refuse("record with a wrong length");
    }
    if (expected == 0 || m_record.size() < expected) return;
    if (m_record.size() > expected) return Refuse("chunk runs past its record");
    CompleteRecord();
}

void XceiveTuner::CompleteRecord() {
    std::vector<BYTE> record;
    record.swap(m_record);
    if (record.size() < kHeaderBytes) return Refuse("record shorter than its header");
    if (RecordCheck(record) != record[kCheckAt]) return Refuse("record check value wrong");
    const int id = (record[0] >> 4) - 1;
    if (id < 0 || id >= kListCount) return Refuse("record of an unknown list");
    const int sequence = record[1] | (record[2] >> 6) << 8;
    const bool last = (record[2] & kLastRecord) != 0;
    const ListInfo& list = kLists[id];
    if (sequence == 0) {
        if (m_loading >= 0) return Refuse(std::string(kLists[m_loading].name) + " torn: " + list.name + " began");
        if (list.base && !m_pulsed) return Refuse(std::string(list.name) + " without a reset");
        if (list.base) m_pulsed = false;
        if (!list.base) {
            if (m_base < 0) return Refuse(std::string(list.name) + " without a base");
            if (list.family >= 0 && kLists[m_base].family != list.family)
                return Refuse(std::string(list.name) + " on " + kLists[m_base].name);
            if (m_patch >= 0) return Refuse(std::string(list.name) + " on a patched base");
        }
        m_loading = id;
    } else if (m_loading != id || sequence != m_nextSequence) {
        return Refuse(std::string(list.name) + " record " + std::to_string(sequence) + " out of order");
    }
    m_nextSequence = sequence + 1;
    ++m_accepted;
    if (!last) return;
    (list.base ? m_base : m_patch) = id;
    m_loading = -1;
    m_nextSequence = 0;
}

bool XceiveTuner::TunableLocked() const { return !m_inReset && !m_broken && m_base >= 0 && m_patch >= 0; }

bool XceiveTuner::ServesStandard(long standard) const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return TunableLocked() && standard != 0 && (kLists[m_patch].standards & standard) == standard;
}

bool XceiveTuner::Tunable() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return TunableLocked();
}

std::string XceiveTuner::Base() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return ListName(m_base);
}

std::string XceiveTuner::Patch() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return ListName(m_patch);
}

std::string XceiveTuner::LoadError() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_error;
}

size_t XceiveTuner::RecordsAccepted() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_accepted;
}

// ---- tuning ----

long XceiveTuner::TunedKHzLocked() const {
    return m_tuned ? static_cast<long>(std::lround(m_word * kWordKHz)) : 0;
}

bool XceiveTuner::LockedLocked() const {
    return TunableLocked() && m_tuned && m_rf.StationNear(TunedKHzLocked(), kWindowKHz).has_value();
}

WORD XceiveTuner::FrequencyWord() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_word;
}

long XceiveTuner::TunedKHz() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return TunedKHzLocked();
}

int XceiveTuner::ModeWrites() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return m_modeWrites;
}

bool XceiveTuner::Locked() const {
    std::lock_guard<std::mutex> lock(ChipLock());
    return LockedLocked();
}

}  // namespace hwsim
