#include "support/HeapCheck.h"

#include <windows.h>
#include <gtest/gtest.h>

bool AllHeapsValid() {
    HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(ARRAYSIZE(heaps), heaps);
    for (DWORD i = 0; i < count && i < ARRAYSIZE(heaps); ++i)
        if (!HeapValidate(heaps[i], 0, nullptr)) return false;
    return true;
}

namespace {
class HeapCheckListener : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo &) override {
        if (!AllHeapsValid()) ADD_FAILURE() << "a process heap is damaged after this test";
    }
};
}  // namespace

void InstallHeapCheck() { testing::UnitTest::GetInstance()->listeners().Append(new HeapCheckListener); }
