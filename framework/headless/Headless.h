// The headless backend's side for tests: what a person would do (click, close, switch windows), what
// the screen looks like, and what the program showed (message boxes, the order of window operations).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"

namespace headless {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned flags;
    int helpContext;
};

// Forgets everything shown and queued, and sets the screen back to 1024 x 768 with a task bar of 28
// pixels at the bottom.
void Reset();
// The screen and its work area, the screen less the task bar. Set while the program runs, it is a
// change of the display or of the task bar, which the top-level windows hear of ("work area changed
// Form1" in the journal).
void SetScreen(TRect desktop, TRect workArea);

const std::vector<MessageBoxRecord>& MessageBoxes();
// Window operations in the order they happened: "display Form2 186,165 top-level", "activate Form1",
// "reparent Form2 Form1", "conceal Form2", "repaint Form2".
const std::vector<std::string>& Journal();
// Forgets what was recorded so far (the journal, the message boxes, what the windows were told) and
// nothing else: the windows, the queue and the screen stay. For a test that looks at one step alone, and
// for runs too long to keep all of it.
void ForgetRecords();

// What the controls and tree nodes told their windows, in order, one line each: "Next text Finish",
// "Back enabled no", "Memo1 lines Setup complete!", "CvFolderTree insert 'C:' under 'My Computer' at
// 0", "CvFolderTree 'C:' button yes", "CvFolderTree delete 'WIN98'", "CvFolderTree select 'C:'".
const std::vector<std::string>& Told();
// Where a window shows other than its control holds, because the control did not tell it of a change:
// one line each; empty when the screen agrees with the program.
std::vector<std::string> Disagreements();

// What a person can do. Each returns false, doing nothing, when a person could not do it: the control
// is disabled or hidden, or its window is not on the screen.
bool Click(TControl& control);
// A close request (the close box, Alt+F4, Task Manager's End Task): it reaches a shown form whether
// or not the form is enabled, as on Windows; the program decides.
bool RequestClose(TForm& form);
// The user comes back to the program, or a dialog closes: the form becomes the active window again,
// in front of every other program's.
void Activate(TForm& form);
// The user activates a window of another program ("another program in front" in the journal): keys
// go there until one of ours is in front again.
void ActivateAnotherProgram();
// Our form that is the foreground window; null while another program's window is.
TForm* Foreground();
// Whether the form's task-bar button flashes, as it does from a refused bring-to-front or the program's
// own flash until the user activates the form.
bool TaskBarButtonFlashes(const TForm& form);
// A key pressed in the foreground window. The form's own keys (Tab, Shift+Tab, Enter and Space on a
// button) act; false when the form did not take the key, which then is the focused control's, or when
// the foreground window is not ours.
bool PressKey(unsigned key, bool shift = false);
// The control that has the focus in the foreground window; null when the window itself has it or the
// window is not ours.
TWinControl* Focus();
// Windows asks each top-level form whether the session may end (WM_QUERYENDSESSION, through the
// windows of its controls). One "no" keeps it ("session end refused by Form1" in the journal) and
// answers false. When all say yes the application hears that the session ends (WM_ENDSESSION), and
// then Windows ends the process from outside, as it may as soon as that has been answered, with the
// exit code 0 that Wine gives it: nothing of the program runs after the handler, and the test sees a
// process that ended with 0.
bool EndSession();

// Queues an action for the message loop, which runs the queue in order and ends when it is empty.
void Post(std::function<void()> action);

// The screen cursor now (crDefault, crHourGlass, ...), and the window whose painting is suspended
// (null when none is). Each change also goes to the journal: "cursor crHourGlass", "lock CvFolderTree",
// "lock refused CvFolderTree", "unlock", "unlock (none locked)".
int ScreenCursor();
platform::HWND LockedWindow();

// Sends a message to a window as the system does: to a utility window's method, or through a control's
// window procedure. Answers the message's result; 0 for a window that is not there.
platform::LRESULT SendMessage(platform::HWND window, platform::UINT message, platform::WPARAM wParam,
                              platform::LPARAM lParam);
bool WindowExists(platform::HWND window);
// The windows that exist now, each by its control's name ("utility window" for one without a control).
std::vector<std::string> LiveWindows();
const std::vector<platform::HIMAGELIST>& DestroyedImageLists();

// A tree view as a person sees it: one row per item of its window whose levels above are all
// expanded, in order, each drawn as the common control draws it, asking a node for its picture indexes
// through the display callback. The window holds what the nodes told it, not the nodes themselves.
struct TreeRow {
    std::string text;
    int level;
    int image;
    int selectedImage;
    int overlay;
    bool hasChildren;
    bool expanded;
    bool operator==(const TreeRow&) const = default;
};
std::vector<TreeRow> VisibleRows(TCustomTreeView& tree);
// What a person does to a tree view; false, doing nothing, when the node is not on the screen (or has
// no expand button).
bool ClickExpandButton(TTreeNode& node);
bool ClickNode(TTreeNode& node);
bool DoubleClickNode(TTreeNode& node);

}  // namespace headless
