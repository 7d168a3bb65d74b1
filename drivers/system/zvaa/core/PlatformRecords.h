// Printer driver plug-in records and interfaces that the MinGW headers do not declare. Layouts are the
// platform's on x86 and x64; the sizes and offsets are checked at compile time below.
#pragma once

#include <stddef.h>
#include <windows.h>
#include <objbase.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

// ---------------------------------------------------------------------------------------------
// Parameter records handed to the plug-in by the driver's user interface.

typedef struct _OEMUIPROCS *POEMUIPROCS;

typedef struct _OEMUIOBJ {
    DWORD cbSize;
    POEMUIPROCS pOemUIProcs;  // private to the driver; only passed back to it
} OEMUIOBJ, *POEMUIOBJ;

typedef struct _OEMDMPARAM {
    DWORD cbSize;
    PVOID pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    PDEVMODEW pPublicDMIn;
    PDEVMODEW pPublicDMOut;
    PVOID pOEMDMIn;
    PVOID pOEMDMOut;
    DWORD cbBufSize;  // SIZE: the plug-in's answer; otherwise the size of the pOEMDMOut buffer
} OEMDMPARAM, *POEMDMPARAM;

struct _OEMCUIPPARAM;
typedef LONG(APIENTRY *OEMCUIPCALLBACK)(PCPSUICBPARAM pCPSUICBParam, struct _OEMCUIPPARAM *pOEMCUIPParam);

typedef struct _OEMCUIPPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    DWORD dwFlags;
    POPTITEM pDrvOptItems;
    DWORD cDrvOptItems;
    POPTITEM pOEMOptItems;
    DWORD cOEMOptItems;
    PVOID pOEMUserData;
    OEMCUIPCALLBACK OEMCUIPCallback;
} OEMCUIPPARAM, *POEMCUIPPARAM;

// Reaches Document/DevicePropertySheets through PROPSHEETUI_INFO.lParamInit. Note the field order
// after pOEMDM differs from OEMCUIPPARAM.
typedef struct _OEMUIPSPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PVOID pOEMUserData;
    DWORD dwFlags;
    PVOID pOemEntry;
} OEMUIPSPARAM, *POEMUIPSPARAM;

// Must start every plug-in's private devmode section.
typedef struct _OEM_DMEXTRAHEADER {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

typedef struct _DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW *pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

typedef struct _DRIVER_UPGRADE_INFO_1 {
    LPWSTR pPrinterName;
    LPWSTR pOldDriverDirectory;
} DRIVER_UPGRADE_INFO_1, *PDRIVER_UPGRADE_INFO_1;

typedef struct _DOCUMENTPROPERTYHEADER {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
} DOCUMENTPROPERTYHEADER, *PDOCUMENTPROPERTYHEADER;

typedef struct _DEVICEPROPERTYHEADER {
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
} DEVICEPROPERTYHEADER, *PDEVICEPROPERTYHEADER;

// ---------------------------------------------------------------------------------------------
// Constants.

#define OEMGI_GETSIGNATURE 1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION 3
#define OEMGI_GETPUBLISHERINFO 4
#define OEMGI_GETREQUESTEDHELPERINTERFACES 5

#define OEMDM_SIZE 1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE 4

#define OEMCUIP_DOCPROP 1
#define OEMCUIP_PRNPROP 2

#define QCP_DEVICEPROFILE 0
#define QCP_SOURCEPROFILE 1
#define QCP_PROFILEMEMORY 1
#define QCP_PROFILEDISK 2

// ---------------------------------------------------------------------------------------------
// Interfaces. Every method is stdcall; the parameter lists are the platform's, so the callee pops
// exactly what the caller pushed.

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr GUID CLSID_OEMUI = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
// {C6A7A9D0-774C-11D1-947F-00A0C90640B8}
inline constexpr GUID IID_IPrintOemUI = {0xC6A7A9D0, 0x774C, 0x11D1, {0x94, 0x7F, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
// {92B05D50-78BC-11D1-9480-00A0C90640B8}
inline constexpr GUID IID_IPrintOemDriverUI = {0x92B05D50, 0x78BC, 0x11D1, {0x94, 0x80, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};

// The driver's service interface. The plug-in only holds a reference to it, so its own methods are
// not declared.
struct IPrintOemDriverUI : public IUnknown {};

struct IPrintOemCommon : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
};

struct IPrintOemUI : public IPrintOemCommon {
    virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown *pIUnknown) = 0;
    virtual HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo,
                                                      PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter, PWSTR pDeviceName,
                                                         WORD wCapability, PVOID pOutput, PDEVMODEW pPublicDM,
                                                         PVOID pOEMDM, DWORD dwOld, DWORD *dwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,
                                                   LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                                                  LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM,
                                                        PVOID pOEMDM, ULONG ulQueryMode, VOID *pvProfileData,
                                                        ULONG *pcbProfileData, FLONG *pflProfileData) = 0;
    virtual HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap, PWSTR pwstrCartridges) = 0;
};

// The platform's layouts on both architectures: pointers and handles are 4 bytes on x86 and 8 on x64,
// fields align naturally and every record is padded to its largest member.
constexpr size_t ForArch(size_t x86, size_t x64) { return sizeof(void *) == 4 ? x86 : x64; }
static_assert(sizeof(void *) == 4 || sizeof(void *) == 8, "a 32-bit or 64-bit Windows library");
static_assert(sizeof(OEMUIOBJ) == ForArch(8, 16), "OEMUIOBJ layout");
static_assert(sizeof(OEMDMPARAM) == ForArch(36, 72) && offsetof(OEMDMPARAM, cbBufSize) == ForArch(32, 64),
              "OEMDMPARAM layout");
static_assert(sizeof(OEMCUIPPARAM) == ForArch(60, 120), "OEMCUIPPARAM layout");
static_assert(offsetof(OEMCUIPPARAM, dwFlags) == ForArch(32, 64) &&
                  offsetof(OEMCUIPPARAM, cOEMOptItems) == ForArch(48, 96) &&
                  offsetof(OEMCUIPPARAM, pOEMUserData) == ForArch(52, 104) &&
                  offsetof(OEMCUIPPARAM, OEMCUIPCallback) == ForArch(56, 112),
              "OEMCUIPPARAM order");
static_assert(sizeof(OEMUIPSPARAM) == ForArch(44, 88), "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, pOEMUserData) == ForArch(32, 64) &&
                  offsetof(OEMUIPSPARAM, dwFlags) == ForArch(36, 72) &&
                  offsetof(OEMUIPSPARAM, pOemEntry) == ForArch(40, 80),
              "OEMUIPSPARAM order");
static_assert(sizeof(OEM_DMEXTRAHEADER) == 12, "OEM_DMEXTRAHEADER layout");
static_assert(sizeof(DEVQUERYPRINT_INFO) == ForArch(24, 40), "DEVQUERYPRINT_INFO layout");
static_assert(sizeof(DRIVER_UPGRADE_INFO_1) == ForArch(8, 16), "DRIVER_UPGRADE_INFO_1 layout");
static_assert(sizeof(DOCUMENTPROPERTYHEADER) == ForArch(28, 48), "DOCUMENTPROPERTYHEADER layout");
static_assert(sizeof(DEVICEPROPERTYHEADER) == ForArch(12, 24), "DEVICEPROPERTYHEADER layout");
static_assert(sizeof(OPTITEM) == ForArch(52, 88) && offsetof(OPTITEM, pName) == ForArch(12, 16) &&
                  offsetof(OPTITEM, DMPubID) == ForArch(32, 52) && offsetof(OPTITEM, pOIExt) == ForArch(36, 56),
              "OPTITEM layout");
static_assert(sizeof(PROPSHEETUI_INFO) == ForArch(28, 48) && offsetof(PROPSHEETUI_INFO, lParamInit) == ForArch(16, 24),
              "PROPSHEETUI_INFO layout");
static_assert(sizeof(CPSUICBPARAM) == ForArch(32, 64) && offsetof(CPSUICBPARAM, pCurItem) == ForArch(16, 32),
              "CPSUICBPARAM layout");
static_assert(sizeof(OPTTYPE) == ForArch(32, 48) && sizeof(OPTPARAM) == ForArch(24, 48) &&
                  sizeof(PROPSHEETUI_INFO_HEADER) == ForArch(20, 40) && sizeof(SETRESULT_INFO) == ForArch(12, 24),
              "common property sheet records");
