// Test-bed check: a program that never ends must be cut off and fail.
#include <windows.h>

int main() {
    for (;;) Sleep(1000);
}
