// The other architecture's build of the state code, as a separate program: in a 64-bit prefix the
// 32-bit build of this program plays a 32-bit component of the printer software beside the 64-bit
// plug-in code of the test that starts it.
//   zvaa_state_peer init PRINTER          the installation's state (PRINTER_EVENT_INITIALIZE)
//   zvaa_state_peer lower PRINTER VALUE   every ink counter set to VALUE, as a printing component does
//   zvaa_state_peer refill PRINTER TYPE   a new cartridge of TYPE
//   zvaa_state_peer read PRINTER          prints "left right c0 ... c10", or "none" when it has no key
//   zvaa_state_peer delete DRIVER         the driver's state keys removed
//   zvaa_state_peer files PRINTER         prints "driver-folder|driver-INI|colour-data-library" as found
// Exit code 0 when the operation succeeded.
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

#include "core/ModelProfile.h"
#include "zvaaSUI.h"
#include "state/DriverFilesDir.h"
#include "state/DriverIni.h"
#include "state/DriverStateKeys.h"
#include "state/PrinterStateKey.h"

int wmain(int argc, wchar_t **argv) {
    InitModelProfile(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH);
    if (argc < 3) return 2;
    const wchar_t *command = argv[1], *name = argv[2];
    if (wcscmp(command, L"init") == 0) return InitPrinterState(name) ? 0 : 1;
    if (wcscmp(command, L"refill") == 0 && argc > 3)
        return RefillInkLevels(name, (CartridgeType)_wtoi(argv[3])) ? 0 : 1;
    if (wcscmp(command, L"delete") == 0) return DeleteDriverStateKeys(name) ? 0 : 1;
    if (wcscmp(command, L"lower") == 0 && argc > 3) {
        InkLevelSet levels;
        for (DWORD &counter : levels.counters) counter = (DWORD)_wtoi(argv[3]);
        return WriteInkLevels(name, &levels) ? 0 : 1;
    }
    if (wcscmp(command, L"files") == 0) {
        WCHAR dir[MAX_PATH] = L"", ini[MAX_PATH] = L"";
        char colourData[2 * MAX_PATH] = "";
        GetDriverFilesDir(dir, ARRAYSIZE(dir));
        FindDriverIni(name, ini, ARRAYSIZE(ini));
        GetColorDataDLLPath(colourData);
        printf("%ls|%ls|%s\n", dir, ini, colourData);
        return 0;
    }
    if (wcscmp(command, L"read") == 0) {
        WCHAR friendly[MAX_PATH];
        if (!BuildOriginalFriendlyName(name, friendly, ARRAYSIZE(friendly))) return 1;
        if (!StateKeyExists(friendly)) {  // reading would make the key
            printf("none\n");
            return 0;
        }
        CartridgeType left = kCartNone, right = kCartNone;
        InkLevelSet levels = {};
        if (!ReadCartridges(name, &left, &right) || !ReadInkLevels(name, &levels)) return 1;
        printf("%lu %lu", (unsigned long)left, (unsigned long)right);
        for (DWORD counter : levels.counters) printf(" %lu", (unsigned long)counter);
        printf("\n");
        return 0;
    }
    return 2;
}
