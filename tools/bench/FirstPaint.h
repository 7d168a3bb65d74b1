// The first complete paint of a window this thread opens: the time from a start to the moment the
// window and every visible window inside it have nothing left to paint (no update region), which is
// when a person sees it whole.
//
//   FirstPaint watch(EndDialogOf);           // starts the clock as the last thing it does
//   DialogBoxParamW(...);                    // the modal loop paints; the watch ends the dialog
//   const double seconds = watch.Seconds();  // negative when it was never painted whole
//
// Every WM_PAINT this thread takes from its queue sends a probe after it through the queue; posted
// messages come before paints, so the probe runs as soon as that paint is done and finds out whether
// anything is left to paint. One watch at a time per thread.
#pragma once

#include <windows.h>

class FirstPaint {
public:
    // How the watch closes the window once it is painted (or after `timeoutMs` without that), so that
    // the caller's modal loop returns.
    typedef void (*CloseFn)(HWND root);
    explicit FirstPaint(CloseFn close, UINT timeoutMs = 10000);
    ~FirstPaint();
    FirstPaint(const FirstPaint &) = delete;
    FirstPaint &operator=(const FirstPaint &) = delete;

    // Seconds from the end of the constructor to the first complete paint; negative when none came.
    double Seconds() const;
    // WM_PAINT messages the window and its children took up to then.
    int Paints() const { return m_paints; }

    // For the watch's hook and probe window.
    void OnPaintTaken(HWND window);
    void OnProbe();
    void OnTimeout();

private:
    void Finish(bool painted);

    CloseFn m_close;
    HWND m_probe = nullptr;
    HHOOK m_hook = nullptr;
    HWND m_root = nullptr;
    bool m_probePending = false;
    bool m_finished = false;
    int m_paints = 0;
    double m_start = 0;
    double m_painted = -1;
};

// Closers for the two kinds of window the bench opens.
void EndDialogOf(HWND root);
void CancelPropertySheet(HWND root);
