// The printer data that names a printer's state key ("OriginalFriendlyName") as a damaged spooler or
// another program leaves it: empty, an odd number of bytes, exactly the 520 bytes of the read buffer,
// longer than it, of another type, with a zero inside, with backslashes. The plug-in finds the key it
// documents ("OFN1" when the name cannot be read, the name cut to the room of a key path), never writes
// past its buffer, and never touches the key the printer was installed with.
#include <windows.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostile/HostilePlugin.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/StateKeyProbe.h"

namespace {

struct Damage {
    const char *what;
    DWORD type;
    std::string bytes;
    std::wstring keyName;  // the state key the plug-in then uses, under Software\Zelvorn
};

std::string Bytes(const std::wstring &text) {
    return std::string(reinterpret_cast<const char *>(text.data()), text.size() * sizeof(wchar_t));
}

struct HostileFriendlyName : HostilePlugin {
    void SetUp() override {
        HostilePlugin::SetUp();
        env.LockShared();  // the shared "OFN1" key is used here
        printer = env.AddTestPrinter();
        ASSERT_FALSE(printer.empty());
        ASSERT_EQ(S_OK, plugin->PrinterEvent(&printer[0], PRINTER_EVENT_INITIALIZE, 0, 0));
        installedKey = PrinterEnvironment::StateKeyPath(env.FriendlyNameOf(printer));
    }

    void SetFriendlyName(DWORD type, const std::string &bytes) {
        HANDLE handle = nullptr;
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        ASSERT_TRUE(OpenPrinterW(&printer[0], &handle, &defaults));
        EXPECT_EQ((DWORD)ERROR_SUCCESS,
                  SetPrinterDataW(handle, const_cast<LPWSTR>(L"OriginalFriendlyName"), type,
                                  reinterpret_cast<LPBYTE>(const_cast<char *>(bytes.data())),
                                  static_cast<DWORD>(bytes.size())));
        ClosePrinter(handle);
    }

    // The document items read the cartridge pair through whatever key the name leads to.
    void ReadThePair() {
        OPTITEM colour = {};
        colour.cbSize = sizeof colour;
        colour.DMPubID = DMPUB_COLOR;
        OEMCUIPPARAM param = {};
        param.cbSize = sizeof param;
        param.pPrinterName = &printer[0];
        param.pDrvOptItems = &colour;
        param.cDrvOptItems = 1;
        OPTITEM own = {};
        param.pOEMOptItems = &own;
        param.cOEMOptItems = 1;
        EXPECT_EQ(S_OK, plugin->CommonUIProp(OEMCUIP_DOCPROP, &param));
    }

    PrinterEnvironment env;
    std::wstring printer, installedKey;
};

}  // namespace

TEST_F(HostileFriendlyName, DamagedNamesLeadToTheDocumentedKey) {
    const std::wstring tag = L"ZV" + env.Tag();
    std::wstring full = tag;
    while (full.size() < 260) full += L'Å';
    std::wstring within = tag + L"-Y";
    std::vector<Damage> damages = {
        {"empty", REG_SZ, std::string(), L"OFN1"},
        {"longer than the buffer", REG_SZ, Bytes(full + full), L"OFN1"},
        {"exactly the buffer", REG_BINARY, Bytes(full), full.substr(0, 242)},
        {"a text of 259 characters", REG_SZ, Bytes(full.substr(0, 259)), full.substr(0, 242)},
        {"a zero inside", REG_BINARY, Bytes(tag + std::wstring(1, L'\0') + L"Y"), tag},
        {"of another type", REG_DWORD, Bytes(tag.substr(0, 2)), tag.substr(0, 2)},
        {"an odd byte count", REG_BINARY, Bytes(within) + "Q", within},
        {"one backslash", REG_SZ, Bytes(L"\\"), L"OFN1"},
        {"nothing but backslashes", REG_BINARY, Bytes(L"\\\\\\"), L"OFN1"},
        {"backslashes up to the cut, then a name", REG_SZ, Bytes(std::wstring(242, L'\\') + L"Y"), L"OFN1"},
    };
    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.what);
        SetFriendlyName(damage.type, damage.bytes);
        PrinterEnvironment::DeleteStateKey(damage.keyName);
        const std::vector<std::wstring> installedValues = PrinterEnvironment::StateValueNames(env.FriendlyNameOf(printer));
        ledger->Reset();
        ReadThePair();
        EXPECT_TRUE(ledger->Balanced());
        // A read makes the key it looks in, as every state operation does; nothing else changed.
        EXPECT_TRUE(PrinterEnvironment::StateKeyPresent(damage.keyName)) << "not the documented key";
        EXPECT_EQ(installedValues, PrinterEnvironment::StateValueNames(env.FriendlyNameOf(printer)));
        EXPECT_TRUE(ReadStateKeyValues(L"Software\\Zelvorn").empty()) << "the root holds keys only";
        PrinterEnvironment::DeleteStateKey(damage.keyName);
    }
}

TEST_F(HostileFriendlyName, BackslashesMakeKeysBelowTheRootOnly) {
    const std::wstring tag = L"ZV" + env.Tag();
    SetFriendlyName(REG_SZ, Bytes(tag + L"\\..\\..\\Utanför"));
    ledger->Reset();
    ReadThePair();
    EXPECT_TRUE(ledger->Balanced());
    HKEY outside = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Utanför", 0, KEY_READ, &outside));
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Utanför", 0, KEY_READ, &outside));
    HKEY below = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\Zelvorn\\" + tag).c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &below));
    if (below) RegCloseKey(below);
    PrinterEnvironment::DeleteStateKey(tag);
}
