// zvaahost: a printer-driver user interface for zvaaSUI.dll where the platform's own is missing.
//
//   zvaahost [--dll PATH] install PRINTER DRIVER PORT   add a printer on a file port and tell the plug-in
//   zvaahost [--dll PATH] properties PRINTER            the printer's properties, for a person to use
//   zvaahost [--dll PATH] demo PRINTER PORT OUTDIR      the scripted, headless demo: screenshots and report
//   zvaahost [--dll PATH] setup|manual|banner PRINTER   the setup wizard and the print-time prompts
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "DemoPrinter.h"
#include "DemoScenario.h"
#include "DriverUiHost.h"

namespace {

int Usage() {
    fprintf(stderr,
            "usage: zvaahost [--dll PATH] install PRINTER DRIVER PORT\n"
            "       zvaahost [--dll PATH] properties PRINTER\n"
            "       zvaahost [--dll PATH] demo PRINTER PORT OUTDIR\n"
            "       zvaahost [--dll PATH] setup|manual|banner PRINTER\n");
    return 2;
}

void Say(const std::wstring &text) { fprintf(stderr, "zvaahost: %ls\n", text.c_str()); }

}  // namespace

int wmain(int argc, wchar_t **argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    std::wstring dll;
    if (args.size() >= 2 && args[0] == L"--dll") {
        dll = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 2) return Usage();
    const std::wstring &command = args[0];
    const std::wstring &printer = args[1];

    DriverUiHost host(dll);
    if (!host.Ok()) {
        Say(host.Error());
        return 1;
    }

    if (command == L"install" && args.size() == 4) {
        std::wstring message;
        const bool ok = InstallDemoPrinter(host, printer, args[2], args[3], &message);
        Say(message);
        return ok ? 0 : 1;
    }
    if (command == L"properties") {
        const PropertiesRun run = host.ShowPrinterProperties(printer);
        if (run.pagesAdded == 0) Say(L"the plug-in added no page for this printer");
        return run.pagesAdded ? 0 : 1;
    }
    if (command == L"demo" && args.size() == 4) {
        DemoOptions options;
        options.printer = printer;
        options.port = args[2];
        options.outDir = args[3];
        return RunDemo(host, options);
    }
    if (command == L"setup") {
        auto startPostInstall = reinterpret_cast<INT(WINAPI *)(LPCWSTR)>(
            reinterpret_cast<void *>(host.Export("StartPostInstall")));
        return startPostInstall && startPostInstall(printer.c_str()) ? 0 : 1;
    }
    if (command == L"manual" || command == L"banner") {
        auto prompt = reinterpret_cast<INT(WINAPI *)(LPCWSTR, HANDLE)>(reinterpret_cast<void *>(
            host.Export(command == L"manual" ? "PopupManualDialog" : "PopupBannerDialog")));
        return prompt ? static_cast<int>(prompt(printer.c_str(), nullptr)) : 1;
    }
    return Usage();
}
