// The header band of the wizard-style dialogs: the printer picture at the right end, a bold
// title and body lines at the left. Painted from WM_DRAWITEM of the dialog's header button.
#pragma once

#include <windows.h>

#include "resources/ResourceIds.h"
#include "ui/AccessibleObject.h"

// A header string list: string ids, the first the title, each further one body lines (a line feed
// inside a string starts a new line), ended by 0.
namespace HeaderStrings {
constexpr UINT kAlignment[] = {IDS_ALIGN_TITLE, IDS_ALIGN_BODY, 0};                              // 104
constexpr UINT kCartridgeInstall[] = {IDS_INSTALL_TITLE, IDS_INSTALL_BODY1, IDS_INSTALL_BODY2, 0};  // 113
constexpr UINT kSetupPrompt[] = {IDS_SETUP_TITLE, IDS_SETUP_BODY1, IDS_SETUP_BODY2, 0};          // 150
constexpr UINT kAlignPrep[] = {IDS_ALIGN_PREP_TITLE, IDS_ALIGN_PREP_BODY, 0};                    // 151
constexpr UINT kManualFeed[] = {IDS_MANUAL_FEED_TITLE, IDS_MANUAL_FEED_BODY, 0};                 // 152
constexpr UINT kBanner[] = {IDS_BANNER_TITLE, IDS_BANNER_BODY, 0};                               // 153
constexpr UINT kCartridgeIdentify[] = {IDS_IDENTIFY_TITLE, IDS_IDENTIFY_BODY, 0};                // 154
}  // namespace HeaderStrings

// Paints the band into item->hDC over item->rcItem (its left and top are 0): the scheme's window
// colour as ground, the bitmap `bannerId` at the right end (stretched to the band's height and
// bottom * v / (2h) wide), then the strings of `strings` (may be null) in the scheme's window text
// colour. Measures come from the platform's dialog base units (h, v): the title at 3h, 7v/16 in a bold
// font 0.9v high and 0.8h wide, the body lines at 4.5h, one font height apart, 0.7h wide; with the
// units (8, 16) and a band 58 high, the title stands at 24, 7 and the body lines at 36, 21, 35, ...
// Where the band's height does not agree with the units (it grew with the dialog's font at another
// scale), the units are scaled to the band, and lines that would run past its lower edge get a lower
// line height; lines that would run into the picture get narrower characters. True when painted;
// false, drawing nothing, without a record, a device context, a memory context or the bitmap, and for
// a band without height or width. Leaves the context's font and colours as it found them.
bool WizardHeader(HWND dialog, const DRAWITEMSTRUCT *item, UINT bannerId, const UINT *strings);

// What a reader hears of a header band (the button's own text is empty or another): its title as the
// name, its body lines as the description, as static text. `strings` is the band's string list.
bool DescribeWizardHeader(HWND band, const void *strings, SpokenControl *spoken);
