#include "FirstPaint.h"

#include <commctrl.h>

#include "Bench.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 1;
constexpr UINT_PTR kTimeoutTimer = 1;
constexpr wchar_t kProbeClass[] = L"ZvaaBenchPaintProbe";

FirstPaint *g_watch = nullptr;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_watch && message == kProbeMessage) {
        g_watch->OnProbe();
        return 0;
    }
    if (g_watch && message == WM_TIMER && wParam == kTimeoutTimer) {
        g_watch->OnTimeout();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK OnMessageTaken(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *taken = reinterpret_cast<const MSG *>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && taken && taken->message == WM_PAINT && taken->hwnd && g_watch)
        g_watch->OnPaintTaken(taken->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK FindDirtyChild(HWND child, LPARAM lParam) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool *>(lParam) = true;
        return FALSE;
    }
    return TRUE;
}

bool PaintedWhole(HWND root) {
    if (!IsWindowVisible(root) || GetUpdateRect(root, nullptr, FALSE)) return false;
    bool dirty = false;
    EnumChildWindows(root, FindDirtyChild, reinterpret_cast<LPARAM>(&dirty));
    return !dirty;
}

// The visible top-level window of this thread, other than the probe, for a watch that timed out
// before anything painted.
BOOL CALLBACK FindShownWindow(HWND window, LPARAM lParam) {
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND *>(lParam) = window;
    return FALSE;
}

}  // namespace

FirstPaint::FirstPaint(CloseFn close, UINT timeoutMs) : m_close(close) {
    WNDCLASSW probeClass = {};
    probeClass.lpfnWndProc = ProbeProc;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = kProbeClass;
    RegisterClassW(&probeClass);  // fails harmlessly when registered by an earlier watch
    m_probe = CreateWindowExW(0, kProbeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, probeClass.hInstance, nullptr);
    m_hook = SetWindowsHookExW(WH_GETMESSAGE, OnMessageTaken, nullptr, GetCurrentThreadId());
    if (m_probe) SetTimer(m_probe, kTimeoutTimer, timeoutMs, nullptr);
    g_watch = this;
    m_start = NowSeconds();
}

FirstPaint::~FirstPaint() {
    g_watch = nullptr;
    if (m_hook) UnhookWindowsHookEx(m_hook);
    if (m_probe) {
        KillTimer(m_probe, kTimeoutTimer);
        DestroyWindow(m_probe);
    }
}

double FirstPaint::Seconds() const { return m_painted < 0 ? -1 : m_painted - m_start; }

void FirstPaint::OnPaintTaken(HWND window) {
    if (m_finished || !m_probe) return;
    const HWND root = GetAncestor(window, GA_ROOT);
    if (!m_root) m_root = root;
    if (root != m_root) return;
    ++m_paints;
    if (!m_probePending) m_probePending = PostMessageW(m_probe, kProbeMessage, 0, 0) != FALSE;
}

void FirstPaint::OnProbe() {
    m_probePending = false;
    if (m_finished || !m_root) return;
    if (!PaintedWhole(m_root)) return;
    m_painted = NowSeconds();
    Finish(true);
}

void FirstPaint::OnTimeout() {
    if (m_finished) return;
    if (!m_root) EnumThreadWindows(GetCurrentThreadId(), FindShownWindow, reinterpret_cast<LPARAM>(&m_root));
    Finish(false);
}

void FirstPaint::Finish(bool painted) {
    m_finished = true;
    if (!painted) m_painted = -1;
    KillTimer(m_probe, kTimeoutTimer);
    if (m_root && m_close) m_close(m_root);
}

void EndDialogOf(HWND root) { EndDialog(root, IDCANCEL); }

void CancelPropertySheet(HWND root) { PostMessageW(root, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); }
