// A platform thread for tests: runs a callable on a thread made by CreateThread, so the virtual
// clock counts it, and is joined by its owner (Join, or the destructor).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

namespace platform::test {

class TestThread {
public:
    explicit TestThread(std::function<void()> body) : m_body(std::make_unique<std::function<void()>>(std::move(body))) {
        m_handle = CreateThread(nullptr, 0, &TestThread::Main, m_body.get(), 0, &m_id);
        if (m_handle == nullptr) throw std::runtime_error("CreateThread failed");
    }
    TestThread(TestThread&& other) noexcept
        : m_body(std::move(other.m_body)), m_handle(std::exchange(other.m_handle, nullptr)), m_id(other.m_id) {}
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;
    ~TestThread() { Join(); }

    void Join() {
        if (m_handle == nullptr) return;
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_handle; }

private:
    static DWORD WINAPI Main(LPVOID body) {
        (*static_cast<std::function<void()>*>(body))();
        return 0;
    }

    std::unique_ptr<std::function<void()>> m_body;
    HANDLE m_handle = nullptr;
    DWORD m_id = 0;
};

}  // namespace platform::test
