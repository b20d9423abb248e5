// Threads and locks of the graph library.
#include "graph/Thread.h"

// ---- CThread ----

CThread::CThread() {
    Start(CREATE_SUSPENDED, 0, nullptr);
}

CThread::~CThread() {
    if (m_core.GetThreadHandle() != nullptr) {
        TRACE("CThread::~CThread - thread still running; its owner must stop it first\n");
        ASSERT(m_core.GetThreadHandle() == nullptr);
    }
    Stop();
}

BOOL CThread::Start(DWORD creationFlags, unsigned stackSize, void* security) {
    return m_core.Create(creationFlags, stackSize, security, &CThread::ThreadProc, this) ? TRUE : FALSE;
}

DWORD CThread::Resume() {
    return m_core.Resume();
}

DWORD CThread::Suspend() {
    return m_core.Suspend();
}

BOOL CThread::SetPriority(int priority) {
    HANDLE thread = m_core.GetThreadHandle();
    ASSERT(thread != nullptr);
    return thread != nullptr ? SetThreadPriority(thread, priority) : FALSE;
}

int CThread::GetPriority() {
    HANDLE thread = m_core.GetThreadHandle();
    ASSERT(thread != nullptr);
    return thread != nullptr ? GetThreadPriority(thread) : THREAD_PRIORITY_ERROR_RETURN;
}

BOOL CThread::Stop() {
    m_core.Stop();
    return TRUE;
}

BOOL CThread::OnInit() {
    return GetStopEvent() != nullptr ? TRUE : FALSE;
}

int CThread::Run() {
    return 0;
}

int CThread::OnExit() {
    return 0;
}

unsigned __stdcall CThread::ThreadProc(void* object) {
    return zelk::MThreadCore::RunThread(static_cast<CThread*>(object));
}

// ---- CNameMutex ----

CNameMutex::CNameMutex(const char* name, BOOL initialOwner) : m_hMutex(CreateMutexA(nullptr, initialOwner, name)) {}

CNameMutex::~CNameMutex() {
    if (m_hMutex != nullptr) {
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
}

BOOL CNameMutex::Lock() {
    if (m_hMutex == nullptr) return FALSE;
    switch (WaitForSingleObject(m_hMutex, 1000)) {
    case WAIT_OBJECT_0:
        return TRUE;
    case WAIT_ABANDONED:
        // The previous owner ended without releasing it; the mutex is ours now and must be unlocked.
        TRACE("CNameMutex::Lock - abandoned mutex taken over\n");
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CNameMutex::Unlock() {
    if (m_hMutex == nullptr) return FALSE;
    return ReleaseMutex(m_hMutex);
}

// ---- CScopedLock ----

CScopedLock::CScopedLock(CRITICAL_SECTION* cs) : m_pcs(cs) {
    EnterCriticalSection(m_pcs);
}

CScopedLock::~CScopedLock() {
    LeaveCriticalSection(m_pcs);
}
