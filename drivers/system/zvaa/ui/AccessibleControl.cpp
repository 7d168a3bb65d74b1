#include "ui/AccessibleControl.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x5A56;
// Where a paint finds the control's speaker (the platform's import library lacks GetWindowSubclass).
constexpr wchar_t kSpeakerProperty[] = L"zvaaSUI.Speaker";

struct Speaker {
    DescribeControl describe;
    const void *context;
    IAccessible *object;  // made on a reader's first question
    bool shown;           // the keys below hold the last paint's
    DWORD nameKey, valueKey;
};

LRESULT CALLBACK SpeakerProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
    auto *speaker = reinterpret_cast<Speaker *>(data);
    switch (message) {
    case WM_GETOBJECT:
        // The client area only; the window frame and the rest stay the platform's.
        if (static_cast<LONG>(lParam) != OBJID_CLIENT) break;
        if (!speaker->object) speaker->object = CreateControlAccessible(control, speaker->describe, speaker->context);
        if (speaker->object) {
            // A failure comes back as a negative error code; the platform's own answer is better.
            const LRESULT result = AccessibleObjectResult(speaker->object, wParam);
            if (result > 0) return result;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, SpeakerProc, id);
        RemovePropW(control, kSpeakerProperty);
        if (speaker->object) {
            DisconnectControlAccessible(speaker->object);
            speaker->object->Release();
        }
        HeapFree(GetProcessHeap(), 0, speaker);
        return DefSubclassProc(control, message, wParam, lParam);
    default: break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void SpeakFor(HWND control, DescribeControl describe, const void *context) {
    if (!control || !describe) return;
    if (GetPropW(control, kSpeakerProperty)) return;
    auto *speaker = static_cast<Speaker *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Speaker)));
    if (!speaker) return;
    speaker->describe = describe;
    speaker->context = context;
    if (!SetPropW(control, kSpeakerProperty, speaker)) {
        HeapFree(GetProcessHeap(), 0, speaker);
        return;
    }
    if (!SetWindowSubclass(control, SpeakerProc, kSubclassId, reinterpret_cast<DWORD_PTR>(speaker))) {
        RemovePropW(control, kSpeakerProperty);
        HeapFree(GetProcessHeap(), 0, speaker);
    }
}

void NoteShown(HWND control, DWORD nameKey, DWORD valueKey) {
    auto *speaker = control ? static_cast<Speaker *>(GetPropW(control, kSpeakerProperty)) : nullptr;
    if (!speaker) return;
    const bool first = !speaker->shown;
    const bool nameChanged = speaker->nameKey != nameKey, valueChanged = speaker->valueKey != valueKey;
    speaker->shown = true;
    speaker->nameKey = nameKey;
    speaker->valueKey = valueKey;
    // The first paint only shows what a reader would be told anyway when it comes to the control.
    if (first) return;
    if (nameChanged) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
    if (valueChanged) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}
