// P4 scale: the driver-delete event removing the state keys of a driver's printers from among as many
// keys of another driver, for 1,000 and for 10,000 printers. Called through the plug-in object of the
// built DLL, as the spooler's driver user interface does.
#include "Bench.h"

#include <stdio.h>
#include <strsafe.h>

#include <vector>

#include "testbed/PluginLibrary.h"

namespace {

constexpr wchar_t kStateRoot[] = L"Software\\Zelvorn";
constexpr wchar_t kDriver[] = L"ZV Bänkdrivrutin";
constexpr wchar_t kOtherDriver[] = L"Annan skrivardrivrutin";

struct KeyFamily {
    std::wstring driver;
    int count;
};

std::wstring KeyName(const std::wstring &driver, int index) {
    wchar_t name[MAX_PATH];
    (void)StringCchPrintfW(name, ARRAYSIZE(name), L"%s /tmp/zvaa-bench/port-%05d.prn", driver.c_str(), index);
    return name;
}

// Keys shaped like installed printers' state: cartridge pair and flag (the deletion does not look inside).
bool MakeKeys(HKEY root, const KeyFamily &family) {
    const DWORD colour = 3, black = 1, need = 1;
    for (int i = 0; i < family.count; ++i) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, KeyName(family.driver, i).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        RegSetValueExW(key, L"CartLeft", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&colour), 4);
        RegSetValueExW(key, L"CartRight", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&black), 4);
        RegSetValueExW(key, L"AlignNeed", 0, REG_BINARY, reinterpret_cast<const BYTE *>(&need), 4);
        RegCloseKey(key);
    }
    return true;
}

int CountKeys(HKEY root, const std::wstring &driver) {
    int found = 0;
    wchar_t name[MAX_PATH];
    for (DWORD i = 0;; ++i) {
        DWORD chars = ARRAYSIZE(name);
        if (RegEnumKeyExW(root, i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (wcsncmp(name, driver.c_str(), driver.size()) == 0) ++found;
    }
    return found;
}

void DeleteFamily(HKEY root, const KeyFamily &family) {
    for (int i = 0; i < family.count; ++i) RegDeleteKeyW(root, KeyName(family.driver, i).c_str());
}

// The least the deletion must ask of the registry: one enumeration of the root and one deletion of
// each matching key.
void DeleteBare(HKEY root, const std::wstring &driver) {
    std::vector<std::wstring> names;
    wchar_t name[MAX_PATH];
    for (DWORD i = 0;; ++i) {
        DWORD chars = ARRAYSIZE(name);
        if (RegEnumKeyExW(root, i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (wcsstr(name, driver.c_str())) names.push_back(name);
    }
    for (const std::wstring &n : names) RegDeleteKeyW(root, n.c_str());
}

// Seconds a deletion takes for `printers` keys of a driver among as many keys of another driver:
// through the plug-in's driver-delete event, or bare. Negative when the keys could not be made or the
// deletion did not remove exactly the driver's keys.
double TimeDeletion(IPrintOemUI *plugin, HKEY root, int printers) {
    const KeyFamily doomed{kDriver, printers};
    const KeyFamily kept{kOtherDriver, printers};
    if (!MakeKeys(root, doomed) || !MakeKeys(root, kept)) {
        DeleteFamily(root, doomed);
        DeleteFamily(root, kept);
        return -1;
    }
    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(doomed.driver.c_str());
    const double begin = NowSeconds();
    if (plugin)
        plugin->DriverEvent(DRIVER_EVENT_DELETE, 3, reinterpret_cast<LPBYTE>(&info), 0);
    else
        DeleteBare(root, doomed.driver);
    const double seconds = NowSeconds() - begin;
    const bool exact = CountKeys(root, doomed.driver) == 0 && CountKeys(root, kept.driver) == kept.count;
    DeleteFamily(root, doomed);
    DeleteFamily(root, kept);
    return exact ? seconds : -1;
}

struct Timing {
    double plugin = -1, bare = -1;
};

// Plug-in and bare deletion in turns, `rounds` times each; the best run of each counts, since on a
// shared machine a disturbance only ever adds time.
Timing TimeBoth(IPrintOemUI *plugin, HKEY root, int printers, int rounds) {
    Timing best;
    for (int i = 0; i < rounds; ++i) {
        const double p = TimeDeletion(plugin, root, printers);
        const double b = TimeDeletion(nullptr, root, printers);
        if (p < 0 || b < 0) return Timing();
        if (best.plugin < 0 || p < best.plugin) best.plugin = p;
        if (best.bare < 0 || b < best.bare) best.bare = b;
    }
    return best;
}

}  // namespace

bool BenchScale() {
    PluginLibrary dll;
    IPrintOemUI *plugin = dll.CreatePlugin();
    HKEY root = nullptr;
    if (!plugin || RegCreateKeyExW(HKEY_LOCAL_MACHINE, kStateRoot, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &root,
                                   nullptr) != ERROR_SUCCESS) {
        printf("P4 scale: the plug-in or the state root is not available\n");
        if (plugin) plugin->Release();
        return false;
    }
    // Keys a run that was cut short may have left would be counted as the other driver's.
    DeleteFamily(root, {kDriver, 10000});
    DeleteFamily(root, {kOtherDriver, 10000});
    const Timing small = TimeBoth(plugin, root, 1000, 3);
    const Timing large = small.plugin < 0 ? Timing() : TimeBoth(plugin, root, 10000, 2);
    RegCloseKey(root);
    plugin->Release();
    if (small.plugin < 0 || large.plugin < 0) {
        printf("P4 scale: the driver-delete event did not remove exactly its driver's keys\n");
        return false;
    }
    // Wine's registry itself grows dearer per call as a key gains subkeys; the plug-in's own share of
    // the growth is its growth over that of the bare calls.
    const double pluginGrowth = (large.plugin / 10000) / (small.plugin / 1000);
    const double bareGrowth = (large.bare / 10000) / (small.bare / 1000);
    const double growth = pluginGrowth / bareGrowth;
    printf("P4 scale: driver delete among as many keys of another driver: 1,000 printers %.1f ms (bare %.1f ms), "
           "10,000 printers %.1f ms (bare %.1f ms); time per printer grew %.2fx (bare %.2fx)\n",
           small.plugin * 1000, small.bare * 1000, large.plugin * 1000, large.bare * 1000, pluginGrowth, bareGrowth);
    Report({"P4 10,000 printers", large.plugin, "s", "< 1", large.plugin < 1.0});
    Report({"P4 growth over bare", growth, "x", "<= 1.5", growth <= 1.5});
    return large.plugin < 1.0 && growth <= 1.5;
}
