// Overruns a stack buffer inside a protected function: the library's canary check must end the
// process with the stack-overrun status before the damaged frame returns.
#include <windows.h>

#include "core/StackGuard.h"

namespace {

__attribute__((noinline)) void CopyPastTheEnd(const char *source, size_t count) {
    char buffer[8];
    char *volatile target = buffer;  // hides the bound, so the copy is not cut short at compile time
    for (size_t i = 0; i < count; ++i) target[i] = source[i];
    asm volatile("" : : "r"(target) : "memory");  // the stores happen
}

}  // namespace

// Unprotected, as the DLL's entry point: the canary changes while it runs.
__attribute__((no_stack_protector)) int main() {
    InitStackGuard();
    char source[64];
    for (char &c : source) c = 'A';
    CopyPastTheEnd(source, 24 + (GetCurrentProcessId() & 1));
    return 0;
}
