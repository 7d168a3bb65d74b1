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
 * buffer. The buffer must hold at least 5 wide characters. */
LPWSTR WINAPI GetOEMPrefix(LPWSTR buffer);

/* Copies the number of stored alignment values of the cartridge combinations 0 to 3
 * (black only, colour only, black and colour, colour and photo) into counts[0..3]. */
void WINAPI OEMGetNumAlignValues(DWORD counts[4]);

/* Writes the four printer command bytes that eject the page, without a terminator. Returns 4. */
INT WINAPI OEMEjectPageCmd(LPBYTE command);

/* Writes the full path of the driver's colour-data library as an ANSI string; the buffer must hold
 * MAX_PATH * 2 bytes. Writes an empty string when the driver directory cannot be found. Returns 1. */
INT WINAPI GetColorDataDLLPath(LPSTR path);

/* rundll32 entry: removes the printer named by the command line (ANSI, at most 259 characters) and
 * asks the spooler to delete its driver. Waits 10 seconds first. Shows and reports nothing. */
void WINAPI OEMDeletePrinterDriver(HWND window, HINSTANCE instance, LPSTR commandLine, int show);

#ifdef __cplusplus
}
#endif

#endif
