// The on-board controller of the maker's SAA713x and CX2388x boards: remote-control receiver,
// audio-source switch and power-on timer, wired to the bridge's GPIO lines in one of the pin
// layouts (the CX2388x boards' GPIO lines are modelled by the same bridge).
//
// What it understands (a frame is an idle word, one command word, an idle word):
//   phase high,    byte b     the high byte of the timer word
//   phase low,     byte b     the low byte; completes the word begun by a high byte just before
//   phase command, byte 0x01  answer the timer word's high byte (in the high-byte phase)
//   phase command, byte 0x10  answer the low byte (in the low-byte phase)
//   phase command, byte 0x33  timer on;  answer 0xCA with the phase and strobe lines low
//   phase command, byte 0x11  timer off; answer 0xBA likewise
// An answer is presented with the strobe line low for kAnswerSamples samples of the host, then
// the strobe rises. A pressed remote key is presented while nothing else is: the command phase
// with the strobe low and the key's inverse on the data lines, for kKeySamples samples. Only
// samples of a listening host count (one that does not drive the request line, or on a layout
// that shares it, holds it high); a host that takes the request line interrupts a key, which
// is shown again from the start afterwards.
//
// It checks what it is given and answers nothing that breaks the protocol: a command word not
// after an idle word, a command word held for less than kMinHoldMs, a command word that changes
// the audio lines of its idle word, an unknown phase or command, a low byte without its high
// byte. Each refusal is logged with its reason.
//
// Idle, the controller holds its strobe and phase lines high, its data lines low, and pulls the
// request line up. The layout's shared lines are made shared on the bridge for the
// controller's life.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "hwsim/chips/ControllerPinLayout.h"
#include "hwsim/chips/KeyQueue.h"
#include "hwsim/chips/Saa713x.h"

namespace hwsim {

class OnboardController : public GpioListener {
public:
    static constexpr int kAnswerSamples = 2;
    static constexpr int kKeySamples = 3;
    static constexpr ULONGLONG kMinHoldMs = 5;

    // Attaches to the bridge's lines; the bridge must outlive the controller.
    OnboardController(Saa713x& bridge, const ControllerPinLayout& layout);
    ~OnboardController() override;
    OnboardController(const OnboardController&) = delete;
    OnboardController& operator=(const OnboardController&) = delete;

    const ControllerPinLayout& Layout() const { return m_layout; }

    // ---- remote control ----
    // Queues a key; keys are presented one after another.
    void PressKey(BYTE code);
    // Presses `round` now and again `pauseMs` after each round was taken (KeyQueue).
    void RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs);
    size_t PendingKeys() const;

    // ---- power-on timer ----
    WORD TimerWord() const;
    void SetTimerWord(WORD value);
    bool TimerOn() const;

    // ---- audio switch ----
    // The audio-source lines as they are now, shifted down to bit 0 (0 without audio lines).
    DWORD AudioLines() const;

    // ---- faults ----
    // A silent controller takes no command and presents nothing.
    void SetSilent(bool silent);

    // ---- what happened ----
    // One line per frame taken ("write high 0x12", "read low", "command on") or refused
    // ("refused: ...").
    std::vector<std::string> Log() const;
    int Refusals() const;
    void ClearLog();

    void OnHostLines(DWORD levels, DWORD driven) override;
    void OnSample() override;

private:
    enum class Frame { Open, Idle, Command };
    enum class Showing { Nothing, Answer, Key };

    void CloseFrameLocked();
    void TakeCommandLocked(DWORD phase, BYTE data);
    void AnswerLocked(DWORD phase, BYTE data);
    void ShowIdleLocked();
    void Refuse(const std::string& reason);
    void Note(const std::string& line);
    DWORD OwnLines() const;
    bool HostListens() const;

    Saa713x& m_bridge;
    const ControllerPinLayout& m_layout;

    mutable std::mutex m_lock;
    Frame m_frame = Frame::Open;
    DWORD m_idleAudio = 0;
    DWORD m_idleAudioDriven = 0;
    DWORD m_command = 0;
    ULONGLONG m_commandAt = 0;
    ULONGLONG m_heldMs = 0;
    bool m_released = false;
    bool m_haveHigh = false;
    BYTE m_high = 0;

    Showing m_showing = Showing::Nothing;
    int m_shownSamples = 0;

    KeyQueue m_keys;
    WORD m_timer = 0;
    bool m_timerOn = false;
    bool m_silent = false;
    std::vector<std::string> m_log;
    int m_refusals = 0;
};

}  // namespace hwsim
