// Adds device contexts, fonts, bitmaps, brushes and pens to a HandleLedger: memory and display
// contexts made by CreateCompatibleDC/CreateDCW must go through DeleteDC, contexts from GetDC and
// GetWindowDC through ReleaseDC, and every object made (or a bitmap loaded) through DeleteObject.
//
//   HandleLedger ledger(HandleLedger::ProgramModule());
//   TrackGdiObjects(ledger);
//   ledger.Reset();
//   WizardHeader(...);
//   EXPECT_TRUE(ledger.Balanced());
#pragma once

#include "support/HandleLedger.h"

namespace LedgerKind {
constexpr char kWindowDc[] = "window device context";  // GetDC / GetWindowDC, released by ReleaseDC
}

void TrackGdiObjects(HandleLedger &ledger);
