#include "testbed/DialogRobot.h"

#include <algorithm>

#include "testbed/PngFile.h"

namespace {

thread_local DialogRobot *t_robot = nullptr;

std::wstring WindowText(HWND window) {
    if (!window) return std::wstring();
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::wstring ClassOf(HWND window) {
    WCHAR name[64] = L"";
    GetClassNameW(window, name, ARRAYSIZE(name));
    return name;
}

bool IsDialogWindow(HWND window) {
    return ClassOf(window) == L"#32770" && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
}

bool Contains(const std::vector<HWND> &list, HWND window) {
    return std::find(list.begin(), list.end(), window) != list.end();
}

constexpr int kMessageBoxTextId = 0xFFFF;

}  // namespace

// ---------------------------------------------------------------------------------------------
// DialogView

std::wstring DialogView::Title() const { return WindowText(m_dialog); }
std::wstring DialogView::ClassName() const { return ClassOf(m_dialog); }
HWND DialogView::Owner() const { return GetWindow(m_dialog, GW_OWNER); }
DWORD DialogView::Style() const { return static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_STYLE)); }
DWORD DialogView::ExStyle() const { return static_cast<DWORD>(GetWindowLongW(m_dialog, GWL_EXSTYLE)); }
bool DialogView::IsTopmost() const { return (ExStyle() & WS_EX_TOPMOST) != 0; }

RECT DialogView::WindowRect() const {
    RECT r = {};
    GetWindowRect(m_dialog, &r);
    return r;
}

bool DialogView::IsMessageBox() const {
    HWND text = GetDlgItem(m_dialog, kMessageBoxTextId);
    return text && ClassOf(text) == L"Static";
}

std::wstring DialogView::MessageText() const { return WindowText(GetDlgItem(m_dialog, kMessageBoxTextId)); }

std::vector<ControlInfo> DialogView::Controls() const {
    std::vector<ControlInfo> list;
    for (HWND child = GetWindow(m_dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlInfo info;
        info.id = GetDlgCtrlID(child);
        info.className = ClassOf(child);
        info.text = WindowText(child);
        info.style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        info.exStyle = static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE));
        info.visible = (info.style & WS_VISIBLE) != 0;
        info.enabled = IsWindowEnabled(child) != FALSE;
        GetWindowRect(child, &info.rect);
        MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT *>(&info.rect), 2);
        list.push_back(info);
    }
    return list;
}

bool DialogView::Has(int id) const { return Item(id) != nullptr; }

ControlInfo DialogView::Control(int id) const {
    for (const ControlInfo &c : Controls())
        if (c.id == id) return c;
    return ControlInfo();
}

HWND DialogView::Item(int id) const { return GetDlgItem(m_dialog, id); }
std::wstring DialogView::Text(int id) const { return WindowText(Item(id)); }

bool DialogView::IsVisible(int id) const {
    HWND item = Item(id);
    return item && (GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE);
}

bool DialogView::IsEnabled(int id) const {
    HWND item = Item(id);
    return item && IsWindowEnabled(item);
}

bool DialogView::IsChecked(int id) const { return IsDlgButtonChecked(m_dialog, id) == BST_CHECKED; }

RECT DialogView::DialogUnitsToPixels(int x, int y, int width, int height) const {
    RECT r = {x, y, x + width, y + height};
    MapDialogRect(m_dialog, &r);
    return r;
}

std::vector<std::wstring> DialogView::ComboItems(int id) const {
    std::vector<std::wstring> items;
    HWND combo = Item(id);
    const LRESULT count = combo ? SendMessageW(combo, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        if (length < 0) break;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        items.push_back(text);
    }
    return items;
}

int DialogView::ComboSelection(int id) const {
    HWND combo = Item(id);
    return combo ? static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : CB_ERR;
}

bool DialogView::SelectComboIndex(int id, int index) {
    HWND combo = Item(id);
    if (!combo || SendMessageW(combo, CB_SETCURSEL, index, 0) != index) return false;
    SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

bool DialogView::SelectComboText(int id, const std::wstring &text) {
    const std::vector<std::wstring> items = ComboItems(id);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return SelectComboIndex(id, static_cast<int>(i));
    return false;
}

void DialogView::Check(int id) {
    HWND button = Item(id);
    if (button) SendMessageW(button, BM_CLICK, 0, 0);
}

void DialogView::Type(int id, const std::wstring &text) {
    HWND edit = Item(id);
    if (edit) SetWindowTextW(edit, text.c_str());
}

LRESULT DialogView::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(m_dialog, message, wParam, lParam);
}

void DialogView::Press(int id) {
    PostMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void DialogView::PressEsc() {
    HWND focus = GetFocus();
    HWND target = (focus && (focus == m_dialog || IsChild(m_dialog, focus))) ? focus : m_dialog;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

namespace {
// Runs what the thread's queue holds through the dialog manager, as the dialog's modal loop does.
void RunDialogQueue(HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HWND FocusWithin(HWND dialog) {
    HWND focus = GetFocus();
    return (focus && (focus == dialog || IsChild(dialog, focus))) ? focus : dialog;
}
}  // namespace

void DialogView::Key(UINT virtualKey) {
    HWND target = FocusWithin(m_dialog);
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000);
    RunDialogQueue(m_dialog);
}

void DialogView::TypeChars(const std::wstring &text) {
    for (wchar_t c : text) {
        PostMessageW(FocusWithin(m_dialog), WM_CHAR, c, 1);
        RunDialogQueue(m_dialog);
    }
}

int DialogView::FocusId() const {
    HWND focus = GetFocus();
    return (focus && IsChild(m_dialog, focus)) ? GetDlgCtrlID(focus) : 0;
}

void DialogView::CloseBox() { PostMessageW(m_dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool DialogView::SaveScreenshot(const std::wstring &path) const { return SaveWindowPng(m_dialog, path); }

// ---------------------------------------------------------------------------------------------
// DialogRobot

DialogRobot::DialogRobot() {
    t_robot = this;
    m_hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

DialogRobot::~DialogRobot() {
    if (m_timer) KillTimer(nullptr, m_timer);
    if (m_hook) UnhookWindowsHookEx(m_hook);
    if (t_robot == this) t_robot = nullptr;
}

void DialogRobot::Next(Action action) { m_actions.push_back(std::move(action)); }

void DialogRobot::NextPress(int id) {
    Next([id](DialogView &d) { d.Press(id); });
}

size_t DialogRobot::Unexpected() const {
    return static_cast<size_t>(std::count_if(m_seen.begin(), m_seen.end(), [](const SeenDialog &s) { return !s.expected; }));
}

LRESULT CALLBACK DialogRobot::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    DialogRobot *robot = t_robot;
    if (robot && code == HCBT_ACTIVATE) robot->Activated(reinterpret_cast<HWND>(wParam));
    if (robot && code == HCBT_DESTROYWND) {
        HWND gone = reinterpret_cast<HWND>(wParam);
        robot->m_handled.erase(std::remove(robot->m_handled.begin(), robot->m_handled.end(), gone), robot->m_handled.end());
        robot->m_waiting.erase(std::remove(robot->m_waiting.begin(), robot->m_waiting.end(), gone), robot->m_waiting.end());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogRobot::Activated(HWND window) {
    // Activation comes when a dialog is shown after WM_INITDIALOG, and again whenever it becomes
    // active after a nested dialog has closed: only the first one counts.
    if (!IsDialogWindow(window) || Contains(m_handled, window) || Contains(m_waiting, window)) return;
    m_waiting.push_back(window);
    if (!m_timer) m_timer = SetTimer(nullptr, 0, 10, OnTimer);
}

void CALLBACK DialogRobot::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    DialogRobot *robot = t_robot;
    if (!robot) {
        KillTimer(nullptr, id);
        return;
    }
    if (robot->m_timer) KillTimer(nullptr, robot->m_timer);
    robot->m_timer = 0;
    robot->ActOnOpenDialogs();
}

void DialogRobot::ActOnOpenDialogs() {
    while (!m_waiting.empty()) {
        HWND dialog = m_waiting.front();
        if (!IsWindow(dialog)) {
            m_waiting.erase(m_waiting.begin());
            continue;
        }
        // A dialog that activated itself during a slow WM_INITDIALOG is shown only when its modal loop
        // first finds the queue empty; wait for that (a second at most), so the action sees it as the
        // user would.
        if (!IsWindowVisible(dialog) && m_deferrals < kMaxDeferrals) {
            ++m_deferrals;
            if (!m_timer) m_timer = SetTimer(nullptr, 0, 10, OnTimer);
            return;
        }
        m_deferrals = 0;
        m_waiting.erase(m_waiting.begin());
        m_handled.push_back(dialog);

        DialogView view(dialog);
        SeenDialog seen;
        seen.title = view.Title();
        seen.className = view.ClassName();
        seen.messageBox = view.IsMessageBox();
        seen.messageText = view.MessageText();
        seen.controls = view.Controls();
        seen.expected = m_next < m_actions.size();
        m_seen.push_back(seen);

        if (seen.expected) {
            Action action = m_actions[m_next++];
            action(view);  // may open nested dialogs, which re-enter through the timer
        } else {
            view.Press(IDCANCEL);
        }
    }
}
