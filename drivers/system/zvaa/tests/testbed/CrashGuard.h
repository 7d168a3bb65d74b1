// Makes a crashing test program end at once with the exception's code as its exit status, without
// leaning on Wine's debugger, which under a heavily loaded machine was seen to leave exit status 0.
#pragma once

void InstallCrashGuard();
