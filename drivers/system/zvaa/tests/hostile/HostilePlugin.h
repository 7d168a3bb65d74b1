// The plug-in of the built DLL for hostile calls: the library, the plug-in object created as the
// driver creates it, and a handle ledger over everything the library acquires (registry keys,
// printer handles, files, find handles, heap, global, local and C runtime blocks, device contexts
// and GDI objects) that each case checks after its calls.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/GdiLedger.h"
#include "support/HandleLedger.h"
#include "testbed/PluginLibrary.h"

class HostilePlugin : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, dll.module());
        plugin = dll.CreatePlugin();
        ASSERT_NE(nullptr, plugin);
        ledger.reset(new HandleLedger(dll.module()));
        ledger->TrackCrtBlocks();
        TrackGdiObjects(*ledger);
        ledger->Reset();
    }
    void TearDown() override {
        ledger.reset();
        if (plugin) plugin->Release();
    }

    // A text of `length` characters: a printable pattern with Swedish letters in it.
    static std::wstring LongName(size_t length) {
        static const wchar_t pattern[] = L"Skrivare åäö ÅÄÖ 0123456789 ";
        std::wstring name;
        name.reserve(length);
        while (name.size() < length) name += pattern[name.size() % (ARRAYSIZE(pattern) - 1)];
        return name;
    }

    PluginLibrary dll;
    IPrintOemUI *plugin = nullptr;
    std::unique_ptr<HandleLedger> ledger;
};
