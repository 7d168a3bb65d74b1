// Entry of the black-box test program, which reaches the plug-in only through zvaaSUI.dll.
#include <gtest/gtest.h>

#include "testbed/CrashGuard.h"
#include "support/HeapCheck.h"

int main(int argc, char **argv) {
    InstallCrashGuard();
    testing::InitGoogleTest(&argc, argv);
    InstallHeapCheck();
    return RUN_ALL_TESTS();
}
