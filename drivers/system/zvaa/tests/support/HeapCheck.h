// After every test, every heap of the process is validated; a damaged heap fails the test that
// damaged it.
#pragma once

void InstallHeapCheck();
// TRUE when every process heap validates.
bool AllHeapsValid();
