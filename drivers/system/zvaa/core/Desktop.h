// Whether the process can show a window to a person. The print spooler runs its printer and driver
// events, and may run print-time components, as a service, whose window station is not visible: a
// dialog opened there waits for a click nobody can give and holds up the job.
#pragma once

#include <windows.h>

// True when the process's window station is visible (an interactive desktop). False where it is not;
// a station that cannot be asked counts as visible, as every dialog was shown before the question.
bool HasVisibleDesktop();
