// Entry of the unit test programs: the plug-in's code runs inside this program, so the model profile
// is filled as the DLL's entry point would, with this program's module (its resources included).
#include <gtest/gtest.h>

#include "core/ModelProfile.h"
#include "testbed/CrashGuard.h"
#include "support/HeapCheck.h"

int main(int argc, char **argv) {
    InstallCrashGuard();
    InitModelProfile(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH);
    testing::InitGoogleTest(&argc, argv);
    InstallHeapCheck();
    return RUN_ALL_TESTS();
}
