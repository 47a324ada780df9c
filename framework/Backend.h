// What a backend gives the framework: a peer that mirrors each control's state into a real window (or
// into nothing, headless), the screen's geometry, modal message boxes, and the message loop.
// Exactly one backend is linked into a program: headless for the unit tests, Win32 for cvfir.exe.
#pragma once

#include <memory>
#include <string>

#include "framework/Classes.h"

class TControl;
class TForm;
class TApplication;

// The part of a control's state that changed, so that a peer updates only that.
enum class Aspect { Bounds, Text, Enabled, Visible, Color, Font, Lines, Picture, Style, TabOrder, Items };

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void Changed(Aspect aspect) = 0;
};

class FormPeer : public ControlPeer {
public:
    // Puts the window on the screen. A top-level window becomes the active window, which raises the
    // form's activation before this returns, as Windows does.
    virtual void Display() = 0;
    virtual void Conceal() = 0;
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
FrameMetrics FrameFor(FrameKind kind, bool hasCaption);

// A modal message box; answers the button pressed (1 for OK).
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags);

// Takes and dispatches messages until the application is told to terminate.
void RunMessageLoop(TApplication& application);
// Ends a running message loop.
void QuitMessageLoop();

}  // namespace backend

inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
