// The DVB-C board's chip library (DM1105.h) as the simulated PC installs it.
#include "hwsim/drivers/Dm1105Library.h"

namespace hwsim {

Dm1105Library::Dm1105Library(Card& card) : m_card(card), m_idle(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {
    for (BYTE key : card.Keys()) m_keys.push_back(key);
}

Dm1105Library::~Dm1105Library() {
    HANDLE thread = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
        m_callback = nullptr;
        thread = m_thread;
    }
    if (thread) {
        SetEvent(m_wake);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    if (m_wake) CloseHandle(m_wake);
    CloseHandle(m_idle);
}

int Dm1105Library::RegIRkeyCallback(PIRKEYCALLBACK callback, DWORD, void*) {
    std::unique_lock<std::mutex> lock(m_lock);
    if (!callback || m_refuse || !m_card.IsPlugged()) return 0;
    if (!m_thread) {
        m_wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        DWORD id = 0;
        m_thread = CreateThread(nullptr, 0, &Dm1105Library::ReceiverProc, this, 0, &id);
        if (!m_thread) return 0;
        m_threadId = id;
    }
    m_callback = callback;
    ++m_registrations;
    while (m_deliverInside && !m_keys.empty()) {
        const BYTE key = m_keys.front();
        m_keys.pop_front();
        ++m_delivered;
        lock.unlock();
        callback(0, kKeyHighBits | key);
        lock.lock();
    }
    if (!m_keys.empty()) SetEvent(m_wake);
    return 1;
}

int Dm1105Library::UnregIRkeyCallback() {
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        hook = m_unregisterHook;
    }
    if (hook) hook();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_callback = nullptr;
    }
    // A call already running ends before this returns (a platform wait, so the clock goes on);
    // the callback itself may unregister, and cannot wait for its own end.
    if (GetCurrentThreadId() != m_threadId) WaitForSingleObject(m_idle, INFINITE);
    return 1;
}

DWORD __stdcall Dm1105Library::ReceiverProc(void* self) {
    static_cast<Dm1105Library*>(self)->Receive();
    return 0;
}

void Dm1105Library::Receive() {
    for (;;) {
        WaitForSingleObject(m_wake, INFINITE);
        std::unique_lock<std::mutex> lock(m_lock);
        while (!m_stop && m_callback && !m_keys.empty()) {
            PIRKEYCALLBACK callback = m_callback;
            const BYTE key = m_keys.front();
            m_keys.pop_front();
            ResetEvent(m_idle);
            ++m_delivered;
            lock.unlock();
            callback(0, kKeyHighBits | key);
            lock.lock();
            SetEvent(m_idle);
        }
        if (m_stop) return;
    }
}

bool Dm1105Library::AddressUsable(BYTE address) const {
    return address < m_card.Kind().eepromSize && !m_failing.count(address);
}

int Dm1105Library::WriteEEPROM(BYTE address, BYTE* data, BYTE count) {
    if (!data || count == 0 || !m_card.IsPlugged()) return 0;
    for (int i = 0; i < count; ++i) {
        const BYTE at = static_cast<BYTE>(address + i);
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (address + i > 0xFF || !AddressUsable(at)) return 0;
            m_writes.push_back(at);
        }
        if (m_card.Bus().WriteSub(m_card.Kind().eepromAddress, at, data + i, 1) != I2CResult::Ack) return 0;
    }
    return 1;
}

int Dm1105Library::ReadEEPROM(BYTE address, BYTE* data, BYTE count) {
    if (!data || count == 0 || !m_card.IsPlugged()) return 0;
    for (int i = 0; i < count; ++i) {
        const BYTE at = static_cast<BYTE>(address + i);
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (address + i > 0xFF || !AddressUsable(at)) return 0;
        }
        if (m_card.Bus().ReadSub(m_card.Kind().eepromAddress, at, data + i, 1) != I2CResult::Ack) return 0;
    }
    return 1;
}

int Dm1105Library::WritePortBYTE(DWORD port, BYTE value) {
    if (!m_card.IsPlugged()) return 0;
    std::lock_guard<std::mutex> lock(m_lock);
    m_ports.emplace_back(port, value);
    return 1;
}

void Dm1105Library::PressKey(BYTE key) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_keys.push_back(key);
    if (m_wake && m_callback) SetEvent(m_wake);
}

void Dm1105Library::FailAddress(BYTE address, bool fail) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (fail) {
        m_failing.insert(address);
    } else {
        m_failing.erase(address);
    }
}

void Dm1105Library::RefuseRegistration(bool refuse) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_refuse = refuse;
}

void Dm1105Library::DeliverInsideRegistration(bool inside) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_deliverInside = inside;
}

void Dm1105Library::SetUnregisterHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_unregisterHook = std::move(hook);
}

int Dm1105Library::Registrations() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_registrations;
}

bool Dm1105Library::IsRegistered() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_callback != nullptr;
}

int Dm1105Library::KeysDelivered() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_delivered;
}

std::vector<std::pair<DWORD, BYTE>> Dm1105Library::PortWrites() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_ports;
}

std::vector<BYTE> Dm1105Library::EepromWrites() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_writes;
}

}  // namespace hwsim
