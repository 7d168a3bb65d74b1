// Test-bed check: a program that dies of an access violation must end at once with a failure,
// not wait on a debugger's dialog.
#include <windows.h>

int main() {
    volatile int *nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
