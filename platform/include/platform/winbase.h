// Kernel objects, synchronisation, the clock, threads and process services.
#pragma once

#include <cstdarg>

#include "platform/winerror.h"
#include "platform/wintypes.h"

#define PLATFORM_API __attribute__((visibility("default")))

// ---- errors ----
PLATFORM_API DWORD GetLastError();
PLATFORM_API void SetLastError(DWORD error);

// ---- handles ----
PLATFORM_API BOOL CloseHandle(HANDLE handle);

// ---- waits ----
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_ABANDONED_0 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64
#define STATUS_WAIT_0 WAIT_OBJECT_0

PLATFORM_API DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
PLATFORM_API DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
PLATFORM_API void Sleep(DWORD milliseconds);

// ---- events ----
PLATFORM_API HANDLE CreateEventA(LPSECURITY_ATTRIBUTES sa, BOOL manualReset, BOOL initialState, LPCSTR name);
#define CreateEvent CreateEventA
PLATFORM_API BOOL SetEvent(HANDLE event);
PLATFORM_API BOOL ResetEvent(HANDLE event);
PLATFORM_API BOOL PulseEvent(HANDLE event);

// ---- mutexes ----
PLATFORM_API HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES sa, BOOL initialOwner, LPCSTR name);
PLATFORM_API HANDLE OpenMutexA(DWORD access, BOOL inherit, LPCSTR name);
#define CreateMutex CreateMutexA
#define OpenMutex OpenMutexA
PLATFORM_API BOOL ReleaseMutex(HANDLE mutex);
#define MUTEX_ALL_ACCESS 0x1F0001
#define SYNCHRONIZE 0x00100000L

// ---- semaphores ----
PLATFORM_API HANDLE CreateSemaphoreA(LPSECURITY_ATTRIBUTES sa, LONG initialCount, LONG maximumCount, LPCSTR name);
#define CreateSemaphore CreateSemaphoreA
PLATFORM_API BOOL ReleaseSemaphore(HANDLE semaphore, LONG releaseCount, LPLONG previousCount);

// ---- critical sections (recursive) ----
struct PlatformLock;
typedef struct _CRITICAL_SECTION {
    PlatformLock* impl;
} CRITICAL_SECTION, *PCRITICAL_SECTION, *LPCRITICAL_SECTION;
PLATFORM_API void InitializeCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API void DeleteCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API void EnterCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API void LeaveCriticalSection(LPCRITICAL_SECTION cs);

// ---- interlocked ----
PLATFORM_API LONG InterlockedIncrement(LONG volatile* value);
PLATFORM_API LONG InterlockedDecrement(LONG volatile* value);
PLATFORM_API LONG InterlockedExchange(LONG volatile* target, LONG value);
PLATFORM_API LONG InterlockedExchangeAdd(LONG volatile* target, LONG value);
PLATFORM_API LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand);
PLATFORM_API LONG InterlockedOr(LONG volatile* target, LONG value);
PLATFORM_API LONG InterlockedAnd(LONG volatile* target, LONG value);
// Reads a value that other threads change with the Interlocked calls.
PLATFORM_API LONG InterlockedRead(LONG volatile* value);

// ---- threads ----
typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID parameter);
#define CREATE_SUSPENDED 0x00000004
#define STILL_ACTIVE 259
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_ERROR_RETURN (0x7fffffff)

PLATFORM_API HANDLE CreateThread(LPSECURITY_ATTRIBUTES sa, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                                 LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
PLATFORM_API uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned(__stdcall* start)(void*),
                                      void* argList, unsigned initFlag, unsigned* threadAddr);
PLATFORM_API void _endthreadex(unsigned exitCode);
PLATFORM_API void ExitThread(DWORD exitCode);
PLATFORM_API DWORD ResumeThread(HANDLE thread);
PLATFORM_API DWORD SuspendThread(HANDLE thread);
PLATFORM_API BOOL SetThreadPriority(HANDLE thread, int priority);
PLATFORM_API int GetThreadPriority(HANDLE thread);
PLATFORM_API BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
PLATFORM_API BOOL TerminateThread(HANDLE thread, DWORD exitCode);
PLATFORM_API DWORD GetCurrentThreadId();
PLATFORM_API HANDLE GetCurrentThread();
PLATFORM_API DWORD GetCurrentProcessId();
PLATFORM_API DWORD GetThreadId(HANDLE thread);

// ---- time ----
PLATFORM_API DWORD GetTickCount();
PLATFORM_API ULONGLONG GetTickCount64();
PLATFORM_API DWORD timeGetTime();
PLATFORM_API void GetLocalTime(LPSYSTEMTIME time);
PLATFORM_API void GetSystemTime(LPSYSTEMTIME time);
// Sets this process's wall clock to the local time given (the machine's clock is not touched).
PLATFORM_API BOOL SetLocalTime(const SYSTEMTIME* time);
PLATFORM_API BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
PLATFORM_API BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

// ---- debug output and assertions ----
PLATFORM_API void OutputDebugStringA(LPCSTR text);
PLATFORM_API void OutputDebugStringW(LPCWSTR text);
#define OutputDebugString OutputDebugStringA
PLATFORM_API void PlatformTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
PLATFORM_API void PlatformAssertFailed(const char* expression, const char* file, int line);
PLATFORM_API void DebugBreak();

// Stops a debug build with file and line; traces the failure in every other build.
#define ASSERT(e) ((e) ? (void)0 : PlatformAssertFailed(#e, __FILE__, __LINE__))
#define VERIFY(e) ASSERT(e)
#define TRACE PlatformTrace
#define TRACE0(s) PlatformTrace("%s", s)
#define TRACE1(f, a) PlatformTrace(f, a)
#define TRACE2(f, a, b) PlatformTrace(f, a, b)
#define TRACE3(f, a, b, c) PlatformTrace(f, a, b, c)
#define _ASSERT ASSERT
#define _ASSERTE ASSERT
#define ATLASSERT ASSERT
#define ATLTRACE PlatformTrace

// ---- memory ----
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define LMEM_FIXED 0
#define LMEM_ZEROINIT 0x40
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
PLATFORM_API HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
PLATFORM_API HLOCAL LocalFree(HLOCAL memory);
PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
PLATFORM_API HGLOBAL GlobalFree(HGLOBAL memory);
PLATFORM_API LPVOID GlobalLock(HGLOBAL memory);
PLATFORM_API BOOL GlobalUnlock(HGLOBAL memory);
PLATFORM_API SIZE_T GlobalSize(HGLOBAL memory);
#define ZeroMemory(p, n) memset((p), 0, (n))
#define FillMemory(p, n, v) memset((p), (v), (n))
#define CopyMemory(d, s, n) memcpy((d), (s), (n))
#define MoveMemory(d, s, n) memmove((d), (s), (n))

// ---- process and modules ----
PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
#define GetModuleFileName GetModuleFileNameA
PLATFORM_API HMODULE GetModuleHandleA(LPCSTR name);
#define GetModuleHandle GetModuleHandleA
PLATFORM_API DWORD GetWindowsDirectoryA(LPSTR buffer, UINT size);
#define GetWindowsDirectory GetWindowsDirectoryA
PLATFORM_API DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
PLATFORM_API DWORD GetTempPathA(DWORD size, LPSTR buffer);
#define GetTempPath GetTempPathA
PLATFORM_API DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);
#define GetEnvironmentVariable GetEnvironmentVariableA
