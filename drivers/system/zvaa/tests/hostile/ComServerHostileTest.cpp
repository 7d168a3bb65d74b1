// The COM entry points and the plug-in's identity operations, called as a careless driver might: missing
// out-pointers, every information mode with buffers too small (placed against an inaccessible page), a
// colour profile buffer one byte short. Each call gives a defined result, writes nothing beyond what it
// was given, and leaves nothing open.
#include <gtest/gtest.h>

#include "hostile/GuardedBlock.h"
#include "hostile/HostilePlugin.h"

namespace {

using ClassObjectFn = HRESULT(WINAPI *)(REFCLSID, REFIID, void **);

struct HostileComServer : HostilePlugin {};

}  // namespace

TEST_F(HostileComServer, MissingOutPointersAreRefusedAndNothingIsLeft) {
    auto getClassObject = dll.get<ClassObjectFn>("DllGetClassObject");
    ASSERT_TRUE(getClassObject);
    EXPECT_EQ(E_POINTER, getClassObject(CLSID_OEMUI, IID_IClassFactory, nullptr));

    IClassFactory *factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)));
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
    EXPECT_EQ(E_POINTER, factory->QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(E_POINTER, plugin->QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(nullptr));

    // The objects made for the refused calls were freed again.
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileComServer, IdentityAnswersOnlyIntoRoomItWasGiven) {
    const DWORD modes[] = {0, OEMGI_GETSIGNATURE, OEMGI_GETINTERFACEVERSION, OEMGI_GETVERSION,
                           OEMGI_GETPUBLISHERINFO, 5, 0x7FFFFFFF, 0xFFFFFFFF};
    for (DWORD mode : modes) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        DWORD needed = 0xBAD;
        EXPECT_EQ(E_FAIL, plugin->GetInfo(mode, nullptr, 0, &needed));
        EXPECT_EQ(E_FAIL, plugin->GetInfo(mode, nullptr, 4, nullptr));
        for (DWORD room = 0; room < 4; ++room) {
            GuardedBlock buffer(room ? room : 1);
            EXPECT_EQ(E_FAIL, plugin->GetInfo(mode, buffer.data(), room, &needed));
            for (size_t i = 0; i < buffer.size(); ++i) EXPECT_EQ(0xCD, buffer.data()[i]) << "byte " << i;
        }
        GuardedBlock exact(4);
        const HRESULT hr = plugin->GetInfo(mode, exact.data(), 4, &needed);
        const bool served = mode == OEMGI_GETSIGNATURE || mode == OEMGI_GETVERSION;
        EXPECT_EQ(served ? S_OK : E_FAIL, hr);
    }
    EXPECT_TRUE(ledger->Balanced());
}

TEST_F(HostileComServer, ColourProfileNameNeverPassesItsBuffer) {
    ULONG size = 0;
    FLONG flags = 0;
    for (ULONG room : {0u, 1u, 2u, 30u, 31u}) {
        SCOPED_TRACE(testing::Message() << room << " bytes");
        GuardedBlock buffer(room ? room : 1);
        size = room;
        EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE,
                                                    buffer.data(), &size, &flags));
        EXPECT_EQ(32u, size) << "the size needed is reported";
        // A size query needs no flags pointer.
        size = room;
        SetLastError(0);
        EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE,
                                                    room ? buffer.data() : nullptr, &size, nullptr));
        EXPECT_EQ(32u, size);
        EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    }
    GuardedBlock exact(32);
    size = 32;
    EXPECT_EQ(S_OK, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, exact.data(),
                                              &size, &flags));
    EXPECT_STREQ(L"OEMPROFILE.icm", exact.as<wchar_t>());

    size = 32;
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, exact.data(),
                                                nullptr, &flags));
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, exact.data(),
                                                &size, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError()) << "a call that would succeed needs the flags pointer";
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, nullptr,
                                                nullptr, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(E_FAIL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_PROFILEMEMORY + 7, exact.data(),
                                                &size, &flags));
    EXPECT_TRUE(ledger->Balanced());
}
