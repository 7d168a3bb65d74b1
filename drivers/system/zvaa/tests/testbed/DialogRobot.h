// Acts on the modal dialogs and message boxes that code under test opens on the test's own thread.
//
// A test queues one action per dialog it expects, in the order they will open, then calls the code
// that opens them. When a dialog (or message box) has opened and finished WM_INITDIALOG, the robot
// takes the next queued action and runs it with a DialogView of that dialog, from a thread timer
// inside the dialog's own modal loop. An action reads what it needs and ends with a press, Esc or the
// close box; those are posted, so the dialog's command (and any dialog it opens in turn) runs in the
// modal loop after the action has returned. A dialog that opens when the queue is empty is recorded
// as unexpected and cancelled, so that a test fails instead of hanging.
//
//   DialogRobot robot;
//   robot.Next([](DialogView &d) {
//       EXPECT_EQ(L"Skrivare 1", d.Title());
//       d.SelectComboIndex(1036, 1);
//       d.Check(1071);
//       d.Press(IDOK);
//   });
//   robot.Next([](DialogView &d) { EXPECT_TRUE(d.IsMessageBox()); d.Press(IDCANCEL); });
//   EXPECT_EQ(1, PopupCartridgeInstallDialog(nullptr, L"Skrivare 1"));
//   EXPECT_EQ(0u, robot.Pending());
//   EXPECT_EQ(0u, robot.Unexpected());
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ControlInfo {
    int id = 0;                // the control id as GetDlgCtrlID gives it (0xFFFF for "no id" statics)
    std::wstring className;    // "Button", "Static", "Edit", "ComboBox", "ScrollBar", ...
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool visible = false;      // the control's own WS_VISIBLE
    bool enabled = false;
    RECT rect = {};            // in the dialog's client coordinates, pixels
};

class DialogView {
public:
    explicit DialogView(HWND dialog) : m_dialog(dialog) {}

    HWND Handle() const { return m_dialog; }
    std::wstring Title() const;
    std::wstring ClassName() const;
    HWND Owner() const;                 // GetWindow(GW_OWNER)
    RECT WindowRect() const;            // screen coordinates
    DWORD Style() const;
    DWORD ExStyle() const;
    bool IsTopmost() const;

    // A message box is a dialog with the static text 0xFFFF; its text and which buttons it has.
    bool IsMessageBox() const;
    std::wstring MessageText() const;

    // Children in window order (the template's order for a dialog made from a template).
    std::vector<ControlInfo> Controls() const;
    bool Has(int id) const;
    ControlInfo Control(int id) const;  // id 0 and empty fields when there is no such control
    HWND Item(int id) const;
    std::wstring Text(int id) const;
    bool IsVisible(int id) const;
    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;
    // A rectangle in dialog units as the dialog maps it to pixels (MapDialogRect), for comparing
    // control positions with the template's.
    RECT DialogUnitsToPixels(int x, int y, int width, int height) const;

    std::vector<std::wstring> ComboItems(int id) const;
    int ComboSelection(int id) const;

    // Acting as the user does, each sent at once so the next call sees its effect:
    // selects a combo entry and notifies the dialog (CBN_SELCHANGE) as a user's choice would.
    bool SelectComboIndex(int id, int index);
    bool SelectComboText(int id, const std::wstring &text);
    // Clicks a radio button or check box (BM_CLICK: the button checks itself and tells the dialog).
    void Check(int id);
    // Replaces an edit's text (the dialog gets EN_CHANGE).
    void Type(int id, const std::wstring &text);
    // The keyboard alone, as a user's keys reach the dialog: each key is posted to the control with the
    // focus and the dialog's queue is then run through the dialog manager (as its modal loop would), so
    // the next call sees the effect. Tab, the arrows, Space and Enter move and act as the platform
    // makes them; TypeChars types characters into the focused control.
    void Key(UINT virtualKey);
    void TypeChars(const std::wstring &text);
    // The id of the control that has the focus; 0 when the focus is outside the dialog.
    int FocusId() const;
    // Sends a message to the dialog and gives its result (for what the helpers do not cover).
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

    // Ending actions, posted to the dialog's modal loop:
    void Press(int id);   // WM_COMMAND BN_CLICKED from the control (or with id alone if absent)
    void PressEsc();      // the Esc key to the focused control, through the dialog manager
    void CloseBox();      // the close box (WM_SYSCOMMAND SC_CLOSE)

    // Writes the dialog's window as the screen shows it, as a PNG file (Windows path).
    bool SaveScreenshot(const std::wstring &path) const;

private:
    HWND m_dialog;
};

// What the robot saw of a dialog when it acted on it.
struct SeenDialog {
    std::wstring title;
    std::wstring className;
    bool messageBox = false;
    std::wstring messageText;
    std::vector<ControlInfo> controls;
    bool expected = true;
};

class DialogRobot {
public:
    using Action = std::function<void(DialogView &)>;

    // Watches the calling thread; one robot per thread at a time.
    DialogRobot();
    ~DialogRobot();
    DialogRobot(const DialogRobot &) = delete;
    DialogRobot &operator=(const DialogRobot &) = delete;

    // Queues the action for the next dialog that opens.
    void Next(Action action);
    // Queues "press this button" for the next dialog.
    void NextPress(int id);

    size_t Pending() const { return m_actions.size() - m_next; }
    size_t Unexpected() const;
    const std::vector<SeenDialog> &Seen() const { return m_seen; }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Activated(HWND window);
    void ActOnOpenDialogs();

    HHOOK m_hook = nullptr;
    UINT_PTR m_timer = 0;
    std::vector<Action> m_actions;
    size_t m_next = 0;
    std::vector<HWND> m_waiting;  // opened, not yet acted on
    std::vector<HWND> m_handled;
    std::vector<SeenDialog> m_seen;
    static constexpr int kMaxDeferrals = 100;
    int m_deferrals = 0;
};
