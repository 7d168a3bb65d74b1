// The demo's walk through the printer's properties, scripted and headless: the maintenance page with
// its ink pictures, then install cartridge -> alignment preparation -> alignment print -> alignment
// values -> OK, then a cleaning print; screenshots of every step and a report of what changed.
#pragma once

#include <string>

class DriverUiHost;

struct DemoOptions {
    std::wstring printer;
    std::wstring port;    // the printer's port file, for the bytes the jobs sent
    std::wstring outDir;  // screenshots and report.txt go here (created when missing)
};

// 0 when every step ran as expected; the report says what did not.
int RunDemo(DriverUiHost &host, const DemoOptions &options);
