#include "core/StackGuard.h"

#include <windows.h>

#include <stdint.h>

#ifndef STATUS_STACK_BUFFER_OVERRUN
#define STATUS_STACK_BUFFER_OVERRUN ((DWORD)0xC0000409L)
#endif

extern "C" {

// A fixed value until the process attach replaces it; protected code compares against it.
uintptr_t __stack_chk_guard = 0x2B992DDFu;

// A smashed stack or an overflowing checked copy: end the process at once, as the platform's own
// stack cookie check does; nothing on this stack can be trusted to unwind.
__attribute__((noreturn)) void __stack_chk_fail(void) {
    TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_unreachable();
}
__attribute__((noreturn)) void __stack_chk_fail_local(void) { __stack_chk_fail(); }
__attribute__((noreturn)) void __chk_fail(void) { __stack_chk_fail(); }

}  // extern "C"

// Unprotected itself: the canary changes while it runs.
__attribute__((no_stack_protector)) void InitStackGuard() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uintptr_t mix = now.dwLowDateTime ^ now.dwHighDateTime;
    mix ^= GetCurrentProcessId() ^ (GetCurrentThreadId() << 16) ^ GetTickCount();
    mix ^= counter.LowPart ^ counter.HighPart;
    mix ^= reinterpret_cast<uintptr_t>(&counter);
    // A zero byte first would end a string copy exactly at the canary; keep the fixed value then.
    if ((mix & 0xFF) != 0) __stack_chk_guard = mix;
}
