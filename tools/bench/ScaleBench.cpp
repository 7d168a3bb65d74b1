// P4 scale: the driver-delete event removing the state keys of a driver's printers from among as many
// keys of another driver, for 1,000 and for 10,000 printers. Called through the plug-in object of the
// built DLL, as the spooler's driver user interface does, against the same platform calls made bare:
// the state root opened, its subkeys enumerated once, each of the driver's keys deleted, then the
// plug-in's copy in the system directory removed (or, when that fails, moved to a temporary name).
// The two take turns, back to back in each round. A deletion of 10,000 keys takes about a second and
// the registry's answers slow down for seconds at a time while other work runs, so neither the
// medians of each side's rounds nor each side's best round stay clear of the disturbance (one lucky
// quiet second decides a best). What is judged is the median of the rounds' ratios, each of a
// plug-in deletion and the bare one next to it, which mostly see the same spell: at each size, and
// the growth of the time per printer from 1,000 to 10,000 over that of the bare calls (linear when
// the two grow alike), the ratio at 10,000 over the ratio at 1,000.
#include "Bench.h"
#include "CallCensus.h"

#include <stdio.h>
#include <strsafe.h>

#include <algorithm>
#include <vector>

#include "testbed/PluginLibrary.h"

namespace {

constexpr wchar_t kStateRoot[] = L"Software\\Zelvorn";
constexpr wchar_t kDriver[] = L"ZV Bänkdrivrutin";
constexpr wchar_t kOtherDriver[] = L"Annan skrivardrivrutin";
constexpr double kTarget = 1.2;

struct KeyNameBuffer {
    wchar_t text[MAX_PATH];
};

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

// The driver-delete event's platform calls made bare, in its order. The names are collected into
// room made beforehand, outside the time.
void DeleteBare(const std::wstring &driver, std::vector<KeyNameBuffer> &names) {
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kStateRoot, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &root) != ERROR_SUCCESS)
        return;
    size_t found = 0;
    KeyNameBuffer name;
    for (DWORD i = 0;; ++i) {
        DWORD chars = ARRAYSIZE(name.text);
        if (RegEnumKeyExW(root, i, name.text, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (wcsstr(name.text, driver.c_str()) && found < names.size()) names[found++] = name;
    }
    for (size_t i = 0; i < found; ++i) RegDeleteKeyExW(root, names[i].text, KEY_WOW64_32KEY, 0);
    RegCloseKey(root);

    WCHAR system[MAX_PATH], library[MAX_PATH];
    GetSystemDirectoryW(system, ARRAYSIZE(system));
    (void)StringCchPrintfW(library, ARRAYSIZE(library), L"%s\\zvaaSUI.DLL", system);
    if (!DeleteFileW(library)) {
        WCHAR tempDir[MAX_PATH], target[MAX_PATH];
        GetTempPathW(ARRAYSIZE(tempDir), tempDir);
        if (GetTempFileNameW(tempDir, L"ZV", 0, target) && DeleteFileW(target)) MoveFileW(library, target);
    }
}

// Seconds a deletion takes for `printers` keys of a driver among as many keys of another driver:
// through the plug-in's driver-delete event, or bare. Negative when the keys could not be made or the
// deletion did not remove exactly the driver's keys.
double TimeDeletion(IPrintOemUI *plugin, HKEY root, int printers, CallCensus *census = nullptr,
                    std::vector<long> *calls = nullptr) {
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
    std::vector<KeyNameBuffer> names(plugin ? 0 : printers);
    if (census) census->Reset();
    const double begin = NowSeconds();
    if (plugin)
        plugin->DriverEvent(DRIVER_EVENT_DELETE, 3, reinterpret_cast<LPBYTE>(&info), 0);
    else
        DeleteBare(doomed.driver, names);
    const double seconds = NowSeconds() - begin;
    if (census && calls) *calls = census->Counts();
    const bool exact = CountKeys(root, doomed.driver) == 0 && CountKeys(root, kept.driver) == kept.count;
    DeleteFamily(root, doomed);
    DeleteFamily(root, kept);
    return exact ? seconds : -1;
}

struct Timing {
    double ratio = -1;                          // median of the rounds' ratios, judged
    double plugin = -1, bare = -1;              // medians, seconds
    double pluginBest = -1, bareBest = -1;      // for information
};

// Plug-in and bare deletion in turns, each first in every other round, `rounds` times each.
Timing TimeBoth(IPrintOemUI *plugin, HKEY root, int printers, int rounds) {
    std::vector<double> withPlugin, bare, ratios;
    for (int i = 0; i < rounds; ++i) {
        const bool pluginFirst = i % 2 == 0;
        const double a = TimeDeletion(pluginFirst ? plugin : nullptr, root, printers);
        const double b = TimeDeletion(pluginFirst ? nullptr : plugin, root, printers);
        if (a < 0 || b < 0) return Timing();
        withPlugin.push_back(pluginFirst ? a : b);
        bare.push_back(pluginFirst ? b : a);
        ratios.push_back(withPlugin.back() / bare.back());
    }
    Timing timing;
    timing.ratio = Median(ratios);
    timing.plugin = Median(withPlugin);
    timing.bare = Median(bare);
    timing.pluginBest = *std::min_element(withPlugin.begin(), withPlugin.end());
    timing.bareBest = *std::min_element(bare.begin(), bare.end());
    return timing;
}

// The baseline must make the event's platform calls, no more and no fewer: counted for 100 printers,
// in this program and in the DLL.
CENSUS_FUNCTION bool SameCalls(IPrintOemUI *plugin, HKEY root, HMODULE dll) {
    std::vector<long> own, bare;
    bool deleted = false;
    {
        CallCensus census({GetModuleHandleW(nullptr), dll});
        deleted = TimeDeletion(plugin, root, 100, &census, &own) >= 0 &&
                  TimeDeletion(nullptr, root, 100, &census, &bare) >= 0;
    }
    if (!deleted || own != bare) {
        printf("P4 scale: the bare calls differ from the event's: event %s; bare %s\n",
               CallCensus::Describe(own).c_str(), CallCensus::Describe(bare).c_str());
        return false;
    }
    printf("P4 scale: the same platform calls in the event and its bare calls (100 printers): %s\n",
           CallCensus::Describe(own).c_str());
    return true;
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
    if (!SameCalls(plugin, root, dll.module())) {
        RegCloseKey(root);
        plugin->Release();
        return false;
    }
    const Timing small = TimeBoth(plugin, root, 1000, 9);
    const Timing large = small.ratio < 0 ? Timing() : TimeBoth(plugin, root, 10000, 6);
    RegCloseKey(root);
    plugin->Release();
    if (small.ratio < 0 || large.ratio < 0) {
        printf("P4 scale: the driver-delete event did not remove exactly its driver's keys\n");
        return false;
    }
    // Wine's registry itself grows dearer per call as a key gains subkeys; the plug-in's own share of
    // the growth is its growth over that of the bare calls.
    const double pluginGrowth = (large.plugin / 10000) / (small.plugin / 1000);
    const double bareGrowth = (large.bare / 10000) / (small.bare / 1000);
    const double smallRatio = small.ratio, largeRatio = large.ratio;
    const double growth = largeRatio / smallRatio;
    printf("P4 scale: driver delete among as many keys of another driver (medians): 1,000 printers %.1f ms "
           "(bare %.1f ms), 10,000 printers %.1f ms (bare %.1f ms); time per printer grew %.2fx (bare %.2fx)\n",
           small.plugin * 1000, small.bare * 1000, large.plugin * 1000, large.bare * 1000, pluginGrowth, bareGrowth);
    printf("P4 scale: for information, the ratio of the medians %.2fx and %.2fx, of the best rounds %.2fx and %.2fx "
           "(1,000 and 10,000 printers)\n", small.plugin / small.bare, large.plugin / large.bare,
           small.pluginBest / small.bareBest, large.pluginBest / large.bareBest);
    printf("P4 10,000 printers, absolute        %10.3f s   (information, not judged)\n", large.plugin);
    Report({"P4 1,000 printers vs bare", smallRatio, "x", "<= 1.2", smallRatio <= kTarget});
    Report({"P4 10,000 printers vs bare", largeRatio, "x", "<= 1.2", largeRatio <= kTarget});
    Report({"P4 growth over bare", growth, "x", "<= 1.2", growth <= kTarget});
    return smallRatio <= kTarget && largeRatio <= kTarget && growth <= kTarget;
}
