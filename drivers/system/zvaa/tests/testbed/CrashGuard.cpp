#include "testbed/CrashGuard.h"

#include <windows.h>
#include <stdio.h>

namespace {

LONG WINAPI EndOnUnhandledException(EXCEPTION_POINTERS *info) {
    const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0xE0000001;
    const void *address = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr;
    fprintf(stderr, "\ntest program crashed: exception 0x%08lX at %p\n", (unsigned long)code, address);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), code ? code : 0xE0000001);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void InstallCrashGuard() {
    // Unbuffered, so that a program that ends abruptly (a crash, or ended from outside) still leaves
    // in its case's output every line it wrote: how far it came.
    setvbuf(stdout, nullptr, _IONBF, 0);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(EndOnUnhandledException);
}
