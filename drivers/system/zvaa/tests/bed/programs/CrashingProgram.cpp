// Test-bed check: a test program that dies of an access violation must end at once with a failure,
// not wait on a debugger's dialog.
#include <windows.h>

#include "testbed/CrashGuard.h"

int main() {
    InstallCrashGuard();
    volatile int *nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
