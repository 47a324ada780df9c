// What a backend gives the framework: a peer that mirrors each control's state into a real window (or
// into nothing, headless), the screen's geometry, modal message boxes, and the message loop.
// Exactly one backend is linked into a program: headless for the unit tests, Win32 for cvfir.exe.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Messages.h"
#include "platform/Shell.h"

class TControl;
class TForm;
class TApplication;
class TTreeNode;

// The part of a control's state that changed, so that a peer updates only that.
enum class Aspect { Bounds, Text, Enabled, Visible, Color, Font, Lines, Picture, Style, TabOrder, Items };

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void Changed(Aspect aspect) = 0;
    // The control's window; none for a control that has no window of its own.
    virtual platform::HWND Handle() const { return nullptr; }
};

enum class NodeAspect { Text, Images, Overlay, HasChildren, Expanded };

// A tree view's peer hears of every change to the nodes, one node at a time, after the model has made
// it (a deletion before it, its children already gone). The model raises the tree's events itself;
// the peer turns the user's own actions into calls on the model (TCustomTreeView::CanExpand,
// TTreeNode::Expand and Collapse, TCustomTreeView::SetSelected, TCustomTreeView::WndProc).
class TreeViewPeer : public ControlPeer {
public:
    virtual void NodeInserted(TTreeNode& node) = 0;
    virtual void NodeDeleting(TTreeNode& node) = 0;
    virtual void NodeChanged(TTreeNode& node, NodeAspect aspect) = 0;
    // The direct children of `parent` (of the tree when null) are in a new order.
    virtual void ChildrenSorted(TTreeNode* parent) = 0;
    virtual void SelectionChanged(TTreeNode* node) = 0;
    virtual void ImagesChanged() = 0;
    // The common control's own handling of a message that the tree view passes on.
    virtual void DefaultHandler(TMessage& message) = 0;
};

class FormPeer : public ControlPeer {
public:
    // The form's focused control changed, or the form took the focus itself: the window that has the
    // input focus follows, while the form is the active window.
    virtual void FocusChanged() = 0;
    // Puts the window on the screen. A top-level window becomes the active window, which raises the
    // form's activation before this returns, as Windows does.
    virtual void Display() = 0;
    virtual void Conceal() = 0;
    // Makes the shown top-level window the foreground window: the active window of the program that
    // has the keyboard, in front of every other program's windows. Windows refuses that to a program
    // the user has left for another: the window is then not activated, and its task-bar button
    // flashes. Answers whether the window came to the front.
    virtual bool BringToFront() = 0;
    // Flashes the window's caption and task-bar button, which then stays lit until the user comes back
    // to the window.
    virtual void Flash() = 0;
    // The form's parent changed: the window is made anew, as a child of the parent or top-level.
    virtual void ParentChanged() = 0;
    virtual void Repaint() = 0;
};

struct FrameMetrics {
    int frameWidth;     // left and right frame, each
    int frameHeight;    // top and bottom frame, each
    int captionHeight;  // caption bar, zero without one
};

enum class FrameKind { Sizeable, Single, None };

namespace backend {

std::unique_ptr<FormPeer> CreateFormPeer(TForm& form);
std::unique_ptr<ControlPeer> CreateControlPeer(TControl& control);

TRect DesktopRect();  // the whole desktop
TRect WorkArea();     // the desktop less the task bar
// The work area of the screen that holds the most of `window`, or of the nearest screen when none does.
TRect WorkAreaOf(const TRect& window);
FrameMetrics FrameFor(FrameKind kind, bool hasCaption);

// A modal message box; answers the button pressed (1 for OK). F1 in the box asks for the help topic
// `helpContext`; 0 asks for none.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags, int helpContext);

// The mouse cursor over the whole screen (crDefault, crHourGlass, ...).
void SetScreenCursor(int cursor);
// Suspends painting of one window; a null window resumes it. One window at a time: while one is
// locked, another lock fails. Answers whether it succeeded.
bool LockWindowUpdate(platform::HWND window);
// A hidden window whose every message goes to `method`, which starts with a result of 0.
platform::HWND AllocateUtilityWindow(TWndMethod method);
void DestroyUtilityWindow(platform::HWND window);
void DestroyImageList(platform::HIMAGELIST list);

// Brings the windows of another copy of the program to the front: its main window, found by `caption`,
// and of its windows the one that was active last. Nothing when there is none.
void BringAnotherCopyToFront(const std::string& caption);

// Takes and dispatches messages until the application is told to terminate.
void RunMessageLoop(TApplication& application);
// Ends a running message loop.
void QuitMessageLoop();

}  // namespace backend

// The keys that the framework answers itself, numbered as Windows numbers them.
inline constexpr unsigned VK_TAB = 0x09;
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_SPACE = 0x20;
