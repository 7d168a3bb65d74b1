/* Plain exports of zvaaSUI.dll for the printer software's setup and print-time components.
 * Link with libzvaaSUI.dll.a, or load the library and look the names up undecorated.
 * Every export uses the WINAPI (stdcall) convention. */
#ifndef ZVAASUI_H
#define ZVAASUI_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Copies the driver-family file-name prefix ("zvaa") with its terminator into buffer and returns
 * buffer. The buffer must hold at least 5 wide characters. A null buffer gives NULL. */
LPWSTR WINAPI GetOEMPrefix(LPWSTR buffer);

/* Copies the number of stored alignment values of the cartridge combinations 0 to 3
 * (black only, colour only, black and colour, colour and photo) into counts[0..3]; nothing for a null
 * pointer. */
void WINAPI OEMGetNumAlignValues(DWORD counts[4]);

/* Writes the four printer command bytes that eject the page, without a terminator. Returns 4, or 0 for a
 * null buffer. */
INT WINAPI OEMEjectPageCmd(LPBYTE command);

/* Writes the full path of the driver's colour-data library as an ANSI string; the buffer must hold
 * MAX_PATH * 2 bytes. Writes an empty string when the driver directory cannot be found. Returns 1, or 0
 * for a null buffer. */
INT WINAPI GetColorDataDLLPath(LPSTR path);

/* rundll32 entry: removes the printer named by the command line (ANSI, at most 259 characters) and
 * asks the spooler to delete its driver. Waits 10 seconds first. Shows and reports nothing. */
void WINAPI OEMDeletePrinterDriver(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

/* Asks whether the cartridges are to be set up now (a modal dialog without owner). Returns 1 for
 * yes, 2 for no, -1 when the dialog cannot be shown. */
INT WINAPI PreInstall(LPCWSTR printerName);

/* Leads the user through cartridge identification and, on Continue, print-head alignment. Returns 1
 * when the dialog was shown (whichever way it was closed), 0 when it cannot be shown. */
INT WINAPI StartPostInstall(LPCWSTR printerName);

/* rundll32 entry: the cartridge identification for the printer named between the last two double
 * quotes of commandLine (ANSI, at most 259 characters). Does nothing for a line that names no
 * printer that can be opened. */
void WINAPI OEMStartVendorSetup(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

/* Instructions for manual paper feed and for banner paper, before a print. The printer is found by
 * its handle when one is given, else by its name. Return 1 to go on printing, 2 to cancel the
 * print, -1 when the printer cannot be found or the dialog cannot be shown. */
INT WINAPI PopupManualDialog(LPCWSTR printerName, HANDLE printer);
INT WINAPI PopupBannerDialog(LPCWSTR printerName, HANDLE printer);

#ifdef __cplusplus
}
#endif

#endif
