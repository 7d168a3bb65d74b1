#include <gtest/gtest.h>

#include <string.h>

#include "core/ComServer.h"
#include "core/OemUiPlugin.h"
#include "testbed/DriverUiStandIn.h"

namespace {

IPrintOemUI *NewPlugin() {
    IClassFactory *factory = nullptr;
    EXPECT_EQ(S_OK, DllGetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)));
    IPrintOemUI *plugin = nullptr;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void **>(&plugin)));
    factory->Release();
    return plugin;
}

struct PluginTest : testing::Test {
    void SetUp() override { plugin = NewPlugin(); }
    void TearDown() override {
        if (plugin) {
            EXPECT_EQ(0u, plugin->Release());
        }
    }
    IPrintOemUI *plugin = nullptr;
};

TEST_F(PluginTest, GetInfoSignatureAndVersion) {
    DWORD value = 0, needed = 0;
    ASSERT_EQ(S_OK, plugin->GetInfo(OEMGI_GETSIGNATURE, &value, sizeof value, &needed));
    EXPECT_EQ(0x5A56524Eu, value);
    EXPECT_EQ(4u, needed);
    ASSERT_EQ(S_OK, plugin->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed));
    EXPECT_EQ(1u, value);
    // A bigger buffer is fine; only its first four bytes are written.
    BYTE big[8];
    memset(big, 0x77, sizeof big);
    ASSERT_EQ(S_OK, plugin->GetInfo(OEMGI_GETVERSION, big, sizeof big, &needed));
    EXPECT_EQ(0x77, big[4]);
}

TEST_F(PluginTest, GetInfoFailuresAndTheirErrorCodes) {
    struct Case { DWORD mode; bool buffer; DWORD size; bool neededPtr; DWORD error; DWORD needed; };
    const Case cases[] = {
        {OEMGI_GETSIGNATURE, true, 4, false, ERROR_INVALID_PARAMETER, 0xEEEE},
        {OEMGI_GETINTERFACEVERSION, true, 4, true, ERROR_INVALID_PARAMETER, 0xEEEE},
        {0, true, 4, true, ERROR_INVALID_PARAMETER, 0xEEEE},
        {OEMGI_GETREQUESTEDHELPERINTERFACES, true, 4, true, ERROR_INVALID_PARAMETER, 0xEEEE},
        {OEMGI_GETSIGNATURE, true, 3, true, ERROR_INSUFFICIENT_BUFFER, 4},
        {OEMGI_GETVERSION, false, 4, true, ERROR_INSUFFICIENT_BUFFER, 4},
        {OEMGI_GETPUBLISHERINFO, true, 0, true, ERROR_INSUFFICIENT_BUFFER, 4},
        {OEMGI_GETPUBLISHERINFO, true, 4, true, ERROR_NOT_SUPPORTED, 0},
    };
    for (const Case &c : cases) {
        DWORD buffer = 0xB0B0B0B0, needed = 0xEEEE;
        SetLastError(0);
        EXPECT_EQ(E_FAIL, plugin->GetInfo(c.mode, c.buffer ? &buffer : nullptr, c.size, c.neededPtr ? &needed : nullptr))
            << "mode " << c.mode << " size " << c.size;
        EXPECT_EQ(c.error, GetLastError()) << "mode " << c.mode << " size " << c.size;
        EXPECT_EQ(c.needed, needed) << "mode " << c.mode << " size " << c.size;
        EXPECT_EQ(0xB0B0B0B0u, buffer);
    }
}

TEST_F(PluginTest, QueryColorProfileNamesTheProfileFile) {
    WCHAR name[16];
    memset(name, 0xFF, sizeof name);
    ULONG size = 32;
    FLONG flags = 0;
    ASSERT_EQ(S_OK, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, name, &size, &flags));
    EXPECT_STREQ(L"OEMPROFILE.icm", name);
    EXPECT_EQ(32u, size);
    EXPECT_EQ((FLONG)QCP_PROFILEDISK, flags);
}

TEST_F(PluginTest, QueryColorProfileTooSmallOrWrongMode) {
    WCHAR name[16];
    ULONG size = 31;
    FLONG flags = 0xF1;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, name, &size, &flags));
    EXPECT_EQ(32u, size);
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(0xF1u, flags);

    size = 64;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, nullptr, &size, &flags));
    EXPECT_EQ(32u, size);
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());

    size = 64;
    SetLastError(0x4321);
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_SOURCEPROFILE, name, &size, &flags));
    EXPECT_EQ(64u, size);
    EXPECT_EQ(0xF1u, flags);
    EXPECT_EQ(0x4321u, GetLastError());
}

TEST_F(PluginTest, QueryColorProfileWithoutSizeOrFlagsPointerFailsSafely) {
    WCHAR name[16] = {};
    ULONG size = 32;
    FLONG flags = 0;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, name, nullptr, &flags));
    EXPECT_EQ((DWORD)ERROR_INVALID_PARAMETER, GetLastError());
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, name, &size, nullptr));
    EXPECT_EQ(0, name[0]);
}

TEST_F(PluginTest, PublishDriverInterfaceKeepsOneReferenceUntilTheObjectGoes) {
    DriverUiStandIn driver(true);
    ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&driver));
    EXPECT_EQ(2, driver.refs);

    // A second offer is taken as settled: not even queried.
    DriverUiStandIn other(true);
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&other));
    EXPECT_EQ(0, other.queries);
    EXPECT_EQ(1, other.refs);

    plugin->AddRef();
    EXPECT_EQ(1u, plugin->Release());
    EXPECT_EQ(2, driver.refs);  // still held while the object lives
    EXPECT_EQ(0u, plugin->Release());
    plugin = nullptr;
    EXPECT_EQ(1, driver.refs);  // given back exactly once
}

TEST_F(PluginTest, PublishDriverInterfaceRefusesAnOfferWithoutTheDriverUi) {
    DriverUiStandIn helper(false);
    EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(&helper));
    EXPECT_EQ(1, helper.refs);
    EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(nullptr));

    // After refusals the real driver interface is still accepted.
    DriverUiStandIn driver(true);
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&driver));
    EXPECT_EQ(2, driver.refs);
    EXPECT_EQ(0u, plugin->Release());
    plugin = nullptr;
    EXPECT_EQ(1, driver.refs);
}

TEST_F(PluginTest, InterfacesOfThePluginObject) {
    IUnknown *unknown = nullptr;
    ASSERT_EQ(S_OK, plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown)));
    EXPECT_EQ(static_cast<IUnknown *>(plugin), unknown);
    EXPECT_EQ(1u, unknown->Release());

    void *other = reinterpret_cast<void *>(0x1);
    EXPECT_EQ(E_NOINTERFACE, plugin->QueryInterface(IID_IClassFactory, &other));
    EXPECT_EQ(nullptr, other);
    other = reinterpret_cast<void *>(0x1);
    EXPECT_EQ(E_NOINTERFACE, plugin->QueryInterface(IID_IPrintOemDriverUI, &other));
    EXPECT_EQ(nullptr, other);
}

TEST(ComServer, LockServerAndLiveObjectsHoldTheLibrary) {
    EXPECT_EQ(S_OK, DllCanUnloadNow());
    IClassFactory *factory = nullptr;
    ASSERT_EQ(S_OK, DllGetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)));
    EXPECT_EQ(S_FALSE, DllCanUnloadNow());  // the live factory holds it
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, DllCanUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, DllCanUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, DllCanUnloadNow());
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(S_OK, DllCanUnloadNow());
}

}  // namespace
