// The remote-key receiver of the Cranlow family of boards: no controller to talk to, only a
// latch on the bridge's GPIO lines 0 to 8. Idle it shows 0x1FF (line 8 high: no key). A key
// shows with line 8 low and, on lines 0 to 7, the complement of the key code with its two
// nibbles swapped; the host's read of the lines sees it for the length of a press.
//
// A queued key is pressed at the first sample of the lines after it reaches the front of the
// queue and is held for kPressMs of platform time; the next key follows at the first sample
// after that. A host polling less often than every kPressMs therefore sees each key once.
#pragma once

#include <mutex>
#include <vector>

#include "hwsim/chips/KeyQueue.h"
#include "hwsim/chips/Saa713x.h"

namespace hwsim {

class LowBitKeyPresenter : public GpioListener {
public:
    static constexpr DWORD kLines = 0x1FF;
    static constexpr DWORD kNoKey = 0x100;
    static constexpr ULONGLONG kPressMs = 100;

    // Attaches to the bridge's lines; the bridge must outlive the presenter.
    explicit LowBitKeyPresenter(Saa713x& bridge);
    ~LowBitKeyPresenter() override;
    LowBitKeyPresenter(const LowBitKeyPresenter&) = delete;
    LowBitKeyPresenter& operator=(const LowBitKeyPresenter&) = delete;

    // Queues a key; keys are pressed one after another.
    void PressKey(BYTE code);
    // Presses `round` now and again `pauseMs` after each round was taken (KeyQueue).
    void RepeatKeys(const std::vector<BYTE>& round, ULONGLONG pauseMs);
    // Keys queued and not yet released, the one being pressed included.
    size_t PendingKeys() const;
    // The lines 0 to 8 that show `code`.
    static DWORD LinesOf(BYTE code);

    void OnSample() override;

private:
    Saa713x& m_bridge;
    mutable std::mutex m_lock;
    KeyQueue m_keys;
    bool m_pressed = false;
    ULONGLONG m_pressedAt = 0;
};

}  // namespace hwsim
