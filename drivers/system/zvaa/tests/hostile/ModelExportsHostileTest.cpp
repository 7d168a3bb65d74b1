// The plain exports that hand out model constants, given exactly the room their contracts name (placed
// against an inaccessible page) and given nothing at all: they fill what they promise and not a byte
// more, and a missing buffer is refused without a fault.
#include <gtest/gtest.h>

#include <string.h>

#include "hostile/GuardedBlock.h"
#include "hostile/HostilePlugin.h"
#include "zvaaSUI.h"

namespace {
struct HostileModelExports : HostilePlugin {};
}  // namespace

TEST_F(HostileModelExports, ExactRoomIsEnough) {
    auto prefix = dll.get<decltype(&GetOEMPrefix)>("GetOEMPrefix");
    auto counts = dll.get<decltype(&OEMGetNumAlignValues)>("OEMGetNumAlignValues");
    auto eject = dll.get<decltype(&OEMEjectPageCmd)>("OEMEjectPageCmd");
    auto colourData = dll.get<decltype(&GetColorDataDLLPath)>("GetColorDataDLLPath");
    ASSERT_TRUE(prefix && counts && eject && colourData);

    GuardedBlock five(5 * sizeof(WCHAR));
    EXPECT_EQ(five.as<WCHAR>(), prefix(five.as<WCHAR>()));
    EXPECT_STREQ(L"zvaa", five.as<wchar_t>());

    GuardedBlock sixteen(4 * sizeof(DWORD));
    counts(sixteen.as<DWORD>());
    EXPECT_EQ(6u, sixteen.as<DWORD>()[2]);

    GuardedBlock four(4);
    EXPECT_EQ(4, eject(four.data()));

    GuardedBlock path(MAX_PATH * 2);
    EXPECT_EQ(1, colourData(path.as<char>()));
    EXPECT_LT(strlen(path.as<char>()), (size_t)MAX_PATH * 2);
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileModelExports, AMissingBufferIsRefused) {
    auto prefix = dll.get<decltype(&GetOEMPrefix)>("GetOEMPrefix");
    auto counts = dll.get<decltype(&OEMGetNumAlignValues)>("OEMGetNumAlignValues");
    auto eject = dll.get<decltype(&OEMEjectPageCmd)>("OEMEjectPageCmd");
    auto colourData = dll.get<decltype(&GetColorDataDLLPath)>("GetColorDataDLLPath");
    ASSERT_TRUE(prefix && counts && eject && colourData);
    EXPECT_EQ(nullptr, prefix(nullptr));
    counts(nullptr);
    EXPECT_EQ(0, eject(nullptr));
    EXPECT_EQ(0, colourData(nullptr));
    EXPECT_TRUE(ledger->Balanced());
}
