// Every operation of the plug-in object called through its table with the platform's exact argument
// list. On x86 the operations are stdcall: a callee that pops a different number of bytes than its
// caller pushed would corrupt the driver's stack, so each call checks the stack pointer afterwards. On
// x64 each call checks what that convention promises: the stack pointer and the callee-saved registers
// come back unchanged.
#include <gtest/gtest.h>

#include <string.h>

#include "testbed/DriverUiStandIn.h"
#include "testbed/PluginLibrary.h"
#include "testbed/StdcallProbe.h"

namespace {

enum Slot {
    kQueryInterface, kAddRef, kRelease, kGetInfo, kDevMode, kPublishDriverInterface, kCommonUIProp,
    kDocumentPropertySheets, kDevicePropertySheets, kDevQueryPrintEx, kDeviceCapabilities, kUpgradePrinter,
    kPrinterEvent, kDriverEvent, kQueryColorProfile, kFontInstallerDlgProc, kUpdateExternalFonts, kSlotCount
};

struct PluginSlots : testing::Test {
    void SetUp() override {
        plugin = dll.CreatePlugin();
        ASSERT_NE(nullptr, plugin);
    }
    void TearDown() override {
        if (plugin) plugin->Release();
    }
    StdcallResult Call(Slot slot, std::initializer_list<uintptr_t> args) {
        std::vector<uintptr_t> all{Arg(plugin)};
        all.insert(all.end(), args.begin(), args.end());
        return CallWith(VtableSlot(plugin, slot), all);
    }
    static StdcallResult CallWith(const void *fn, const std::vector<uintptr_t> &args) {
        const StdcallResult result = CallStdcall(fn, args);
        EXPECT_EQ(0u, result.clobbered) << "callee-saved registers changed";
        return result;
    }

    PluginLibrary dll;
    IPrintOemUI *plugin = nullptr;
};

#if defined(__i386__)
TEST_F(PluginSlots, TheProbeSeesAWrongArgumentCount) {
    // UpgradePrinter takes three arguments with its object and reads none; given two, it still pops three.
    StdcallResult r = CallStdcall(VtableSlot(plugin, kUpgradePrinter), {Arg(plugin), 1});
    EXPECT_EQ(-4, r.stackImbalance);
    r = CallStdcall(VtableSlot(plugin, kUpgradePrinter), {Arg(plugin), 1, 0, 0});
    EXPECT_EQ(4, r.stackImbalance);
}
#else
// A callee that breaks the x64 promises: it changes rbx and r14 and returns with the stack pointer
// moved by 8 (it takes its return address, drops one more slot and jumps back).
asm(R"(
    .text
zvaa_rude_callee:
    movq  $1, %rbx
    movq  $2, %r14
    popq  %rax
    addq  $8, %rsp
    jmp   *%rax
)");
extern "C" void zvaa_rude_callee();

TEST_F(PluginSlots, TheProbeSeesChangedRegistersAndAMovedStack) {
    StdcallResult r = CallStdcall(reinterpret_cast<const void *>(&zvaa_rude_callee), {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(8, r.stackImbalance);
    EXPECT_EQ(1u | 64u, r.clobbered);
    // A well-behaved slot called with more arguments than it takes stays clean: the caller cleans up.
    r = CallStdcall(VtableSlot(plugin, kUpgradePrinter), {Arg(plugin), 1, 0, 0, 0, 0});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ(0u, r.clobbered);
}
#endif

TEST_F(PluginSlots, IdentityAndLifetimeSlots) {
    void *out = nullptr;
    StdcallResult r = Call(kQueryInterface, {Arg(&IID_IPrintOemUI), Arg(&out)});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ((uint32_t)S_OK, r.eax);
    EXPECT_EQ(static_cast<void *>(plugin), out);

    r = Call(kRelease, {});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ(1u, r.eax);
    r = Call(kAddRef, {});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ(2u, r.eax);
    plugin->Release();
}

TEST_F(PluginSlots, HandledSlots) {
    DWORD value = 0, needed = 0;
    StdcallResult r = Call(kGetInfo, {OEMGI_GETSIGNATURE, Arg(&value), sizeof value, Arg(&needed)});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ((uint32_t)S_OK, r.eax);
    EXPECT_EQ(0x5A56524Eu, value);

    OEMDMPARAM param = {};
    param.cbSize = sizeof param;
    r = Call(kDevMode, {OEMDM_SIZE, Arg(&param)});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ((uint32_t)S_OK, r.eax);
    EXPECT_EQ(16u, param.cbBufSize);

    DriverUiStandIn driver(true);
    r = Call(kPublishDriverInterface, {Arg(static_cast<IUnknown *>(&driver))});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ((uint32_t)S_OK, r.eax);

    WCHAR profile[16] = {};
    ULONG size = sizeof profile;
    FLONG flags = 0;
    r = Call(kQueryColorProfile, {0, 0, 0, 0, QCP_DEVICEPROFILE, Arg(profile), Arg(&size), Arg(&flags)});
    EXPECT_EQ(0, r.stackImbalance);
    EXPECT_EQ((uint32_t)S_OK, r.eax);
    EXPECT_STREQ(L"OEMPROFILE.icm", profile);

    plugin->Release();
    plugin = nullptr;
    EXPECT_EQ(1, driver.refs);
}

TEST_F(PluginSlots, SlotsThatCarryWorkElsewhereKeepTheStackWithUnusableArguments) {
    // Arguments that name nothing usable: each operation must refuse them and return cleanly.
    WCHAR name[] = L"Ingen sådan skrivare";
    EXPECT_EQ(0, Call(kCommonUIProp, {0, 0}).stackImbalance);
    EXPECT_EQ(0, Call(kDevicePropertySheets, {0, 0}).stackImbalance);
    EXPECT_EQ(0, Call(kPrinterEvent, {Arg(name), 999, 0, 0}).stackImbalance);
    EXPECT_EQ(0, Call(kDriverEvent, {999, 1, 0, 0}).stackImbalance);
}

TEST_F(PluginSlots, DeclinedSlotsTouchNothing) {
    BYTE canary[64];
    memset(canary, 0x5C, sizeof canary);
    DWORD result = 0xD0D0D0D0;
    WCHAR name[] = L"Skrivare";
    const uintptr_t p = Arg(canary);

    struct Case { Slot slot; std::vector<uintptr_t> args; };
    const Case cases[] = {
        {kDocumentPropertySheets, {p, 7}},
        {kDevQueryPrintEx, {p, p, p, p}},
        {kDeviceCapabilities, {p, 0, Arg(name), DC_PAPERS, p, p, p, 42, Arg(&result)}},
        {kUpgradePrinter, {1, p}},
        {kFontInstallerDlgProc, {0, WM_INITDIALOG, 0, p}},
        {kUpdateExternalFonts, {0, Arg(GetProcessHeap()), Arg(name)}},
    };
    for (const Case &c : cases) {
        std::vector<uintptr_t> all{Arg(plugin)};
        all.insert(all.end(), c.args.begin(), c.args.end());
        SetLastError(0x1234);
        const StdcallResult r = CallWith(VtableSlot(plugin, c.slot), all);
        EXPECT_EQ(0, r.stackImbalance) << "slot " << c.slot;
        EXPECT_EQ((uint32_t)E_NOTIMPL, r.eax) << "slot " << c.slot;
        EXPECT_EQ(0x1234u, GetLastError()) << "slot " << c.slot;
    }
    for (BYTE b : canary) ASSERT_EQ(0x5C, b);
    EXPECT_EQ(0xD0D0D0D0u, result);
    EXPECT_STREQ(L"Skrivare", name);
}

}  // namespace
