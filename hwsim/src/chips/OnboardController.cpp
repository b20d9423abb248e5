// The on-board controller of the maker's SAA713x and CX2388x boards.
#include "hwsim/chips/OnboardController.h"

#include <cstdio>

#include "platform/runtime.h"

namespace hwsim {

namespace {

std::string Hex(const char* format, unsigned value) {
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

}  // namespace

OnboardController::OnboardController(Saa713x& bridge, const ControllerPinLayout& layout)
    : m_bridge(bridge), m_layout(layout) {
    m_bridge.SetSharedLines(m_layout.sharedLines);
    ShowIdleLocked();
    m_bridge.Attach(this);
}

OnboardController::~OnboardController() {
    m_bridge.Detach(this);
    m_bridge.SetSharedLines(0);
}

bool OnboardController::HostListens() const {
    const DWORD request = m_layout.requestLine;
    if (!(m_bridge.Directions() & request)) return true;
    return (m_layout.sharedLines & request) && (m_bridge.HostLatches() & request);
}

DWORD OnboardController::OwnLines() const {
    return m_layout.requestLine | m_layout.phaseLines | m_layout.strobeLine | m_layout.dataLines;
}

void OnboardController::ShowIdleLocked() {
    m_bridge.DriveExternal(OwnLines(), m_layout.requestLine | m_layout.phaseLines | m_layout.strobeLine);
}

void OnboardController::AnswerLocked(DWORD phase, BYTE data) {
    m_bridge.DriveExternal(OwnLines(), m_layout.requestLine | phase | m_layout.ToLines(data));
    m_showing = Showing::Answer;
    m_shownSamples = 0;
}

void OnboardController::Note(const std::string& line) { m_log.push_back(line); }

void OnboardController::Refuse(const std::string& reason) {
    ++m_refusals;
    m_log.push_back("refused: " + reason);
}

void OnboardController::PressKey(BYTE code) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_keys.Push(code);
}

void OnboardController::RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_keys.RepeatRounds(round, pauseMs);
}

size_t OnboardController::PendingKeys() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_keys.Size();
}

WORD OnboardController::TimerWord() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_timer;
}

void OnboardController::SetTimerWord(WORD value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_timer = value;
}

bool OnboardController::TimerOn() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_timerOn;
}

DWORD OnboardController::AudioLines() const {
    const DWORD lines = m_layout.audioLines;
    if (lines == 0) return 0;
    DWORD shift = 0;
    while (!((lines >> shift) & 1)) ++shift;
    return (m_bridge.PinLevels() & lines) >> shift;
}

void OnboardController::SetSilent(bool silent) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_silent = silent;
}

std::vector<std::string> OnboardController::Log() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_log;
}

int OnboardController::Refusals() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_refusals;
}

void OnboardController::ClearLog() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_log.clear();
    m_refusals = 0;
}

void OnboardController::OnHostLines(DWORD levels, DWORD driven) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_silent) return;
    const ControllerPinLayout& layout = m_layout;

    // The host lets go of the request line: a command word's hold ends here.
    if (!(driven & layout.requestLine)) {
        if (m_frame == Frame::Command && !m_released) {
            m_heldMs = platform::ClockNow() - m_commandAt;
            m_released = true;
        }
        return;
    }

    // The host takes the request line: a key being shown is interrupted (and shown again later).
    if (m_showing == Showing::Key) {
        ShowIdleLocked();
        m_showing = Showing::Nothing;
    }

    if (levels & layout.requestLine) {
        // An idle word drives the phase lines high as well; anything less is a word in the
        // making (the host sets its directions before its levels).
        if ((driven & layout.phaseLines) != layout.phaseLines || (levels & layout.phaseLines) != layout.phaseLines) {
            return;
        }
        if (m_frame == Frame::Command) CloseFrameLocked();
        m_frame = Frame::Idle;
        m_idleAudioDriven = driven & layout.audioLines;
        m_idleAudio = levels & m_idleAudioDriven;
        return;
    }

    // Request line low: a command word once the phase and data lines are driven with it.
    const DWORD word = layout.requestLine | layout.phaseLines | layout.dataLines;
    if ((driven & word) != word) return;
    if (m_frame == Frame::Command) {
        if ((levels & word) == (m_command & word)) return;
        Refuse(Hex("command word %08X follows a command word without an idle word", levels));
        m_frame = Frame::Open;
        return;
    }
    if (m_frame != Frame::Idle) {
        Refuse(Hex("command word %08X without an idle word before it", levels));
        return;
    }
    if ((levels ^ m_idleAudio) & driven & m_idleAudioDriven) {
        Refuse(Hex("command word %08X changes the audio lines of its idle word", levels));
        m_frame = Frame::Open;
        return;
    }
    m_frame = Frame::Command;
    m_command = levels;
    m_commandAt = platform::ClockNow();
    m_released = false;
    // The host has the lines: an answer or a key being shown is dropped (the key stays queued).
    if (m_showing != Showing::Nothing) {
        ShowIdleLocked();
        m_showing = Showing::Nothing;
    }
}

void OnboardController::CloseFrameLocked() {
    const ULONGLONG held = m_released ? m_heldMs : platform::ClockNow() - m_commandAt;
    if (held < kMinHoldMs) {
        Refuse(Hex("command word %08X", m_command) + " held " + std::to_string(held) + " ms");
        return;
    }
    TakeCommandLocked(m_command & m_layout.phaseLines, m_layout.FromLines(m_command & m_layout.dataLines));
}

void OnboardController::TakeCommandLocked(DWORD phase, BYTE data) {
    const ControllerPinLayout& layout = m_layout;
    if (phase == layout.phaseHigh) {
        m_high = data;
        m_haveHigh = true;
        Note(Hex("write high 0x%02X", data));
        return;
    }
    if (phase == layout.phaseLow) {
        if (!m_haveHigh) {
            Refuse(Hex("low byte 0x%02X without a high byte", data));
            return;
        }
        m_haveHigh = false;
        m_timer = static_cast<WORD>((m_high << 8) | data);
        Note(Hex("write low 0x%02X", data));
        return;
    }
    if (phase != layout.phaseCommand) {
        Refuse(Hex("command word %08X has no phase", m_command));
        return;
    }
    m_haveHigh = false;
    switch (data) {
    case 0x01:
        Note("read high");
        AnswerLocked(layout.phaseHigh, static_cast<BYTE>(m_timer >> 8));
        break;
    case 0x10:
        Note("read low");
        AnswerLocked(layout.phaseLow, static_cast<BYTE>(m_timer & 0xFF));
        break;
    case 0x33:
        m_timerOn = true;
        Note("command on");
        AnswerLocked(0, 0xCA);
        break;
    case 0x11:
        m_timerOn = false;
        Note("command off");
        AnswerLocked(0, 0xBA);
        break;
    default:
        Refuse(Hex("unknown command 0x%02X", data));
        break;
    }
}

void OnboardController::OnSample() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_silent) return;
    // Only samples of a listening host count (one that does not hold the request line).
    if (!HostListens()) return;
    switch (m_showing) {
    case Showing::Answer:
        if (++m_shownSamples > kAnswerSamples) {
            ShowIdleLocked();
            m_showing = Showing::Nothing;
        }
        return;
    case Showing::Key:
        if (++m_shownSamples > kKeySamples) {
            m_keys.Pop(platform::ClockNow());
            ShowIdleLocked();
            m_showing = Showing::Nothing;
        }
        return;
    case Showing::Nothing:
        break;
    }
    if (m_frame == Frame::Command || !m_keys.Ready(platform::ClockNow())) return;
    const BYTE shown = static_cast<BYTE>(~m_keys.Front());
    m_bridge.DriveExternal(OwnLines(), m_layout.requestLine | m_layout.phaseCommand | m_layout.ToLines(shown));
    m_showing = Showing::Key;
    m_shownSamples = 1;
}

}  // namespace hwsim
