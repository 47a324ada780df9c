// cvuidrv: works the windows of the programs running in the same Wine prefix,
// for the end-to-end scenarios. One command per run. Results go to stdout, one
// line each; the exit code is 0 when done, 1 when something is wrong, 2 when a
// wait timed out and 3 on a usage error.
//
// Window titles and control texts match exactly, case included; a button
// caption also matches with its '&' mnemonic markers left out. SECONDS is how
// long to keep trying (default 10, 0 for one look). Commands:
//
//   wait TITLE [SECONDS]                  a visible top-level window with that caption
//   waitchild TITLE TEXT [SECONDS]        a visible control with that text in that window
//   list [--all]                          every top-level window of the programs under test
//                                         (--all: of Wine's own programs too) and all their
//                                         controls, in creation order
//   click TITLE CAPTION [SECONDS]         press a visible, enabled button in an enabled window
//   msgbox [SECONDS [BUTTON]]             answer a message box: print its caption and text,
//                                         press BUTTON, or OK, or its only button
//   close TITLE [SECONDS]                 ask the window to close (WM_CLOSE)
//   closeeach TITLE [SECONDS]             the same for every visible window with that caption,
//                                         top-level or inside another (as a close box or End
//                                         Task asks it, whether or not the window is enabled);
//                                         one line each: closing WINDOW
//   queryend TITLE [SECONDS]              ask every visible window with that caption, top-level
//                                         or inside another, whether the session may end
//                                         (WM_QUERYENDSESSION for a log-off); one line each:
//                                           answer=N WINDOW
//   settext TITLE CLASS N TEXT [SECONDS]  set the text of the Nth (from 1) control of CLASS
//   key TITLE VK [SECONDS]                a key press for the window's focused control;
//                                         VK is a number or RETURN, ESCAPE, TAB, SPACE,
//                                         LEFT, RIGHT, UP, DOWN
//   focus WANTED [SECONDS]                wait until the window that has the keyboard focus
//                                         shows WANTED (its text, a top-level window's caption,
//                                         or its class name) and print its line, then the
//                                         foreground window's; what has the focus is the
//                                         focus of the foreground window's thread
//   tree TITLE [SECONDS]                  the items of the window's tree view whose levels are
//                                         open, each before its children:
//                                           item: LEVEL "TEXT" expanded=0|1 selected=0|1
//   treeselect TITLE PATH [SECONDS]       open the tree view's items along PATH, texts separated
//                                         by '\' from a top-level item, and select the last;
//                                         a text also matches with its blanks around it left out
//   screen                                the screen and its work area (the screen less the task
//                                         bar): screen=L,T,R,B workarea=L,T,R,B
//   onscreen TITLE CAPTION...             wait for each control with that caption in that window
//                                         and check that a person sees all of it: it lies inside
//                                         the client area of each window around it and inside the
//                                         work area of its screen. One line each, the control's
//                                         rect on the screen:
//                                           onscreen "CAPTION" rect=L,T,R,B
//                                           cut "CAPTION" rect=L,T,R,B by WHAT L,T,R,B
//                                         and exit code 1 when one is cut
//
// A window line reads:
//   hwnd=0x... depth=N pid=N exe=NAME class="..." text="..." id=N enabled=0|1 visible=0|1
//   parent="..." rect=LEFT,TOP,RIGHT,BOTTOM
// depth 0 is a top-level window, whose "parent" is its owner and whose rect is
// on the screen; a control's rect is in its parent's client area. In texts,
// line breaks and tabs show as \r \n \t and a quote as \".
//
// Presses and keys are posted, not sent: a button that opens a modal box
// would otherwise hold the driver until the box is answered.
#include "cvtool.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

namespace {

using cvtool::Format;
using cvtool::kFailed;
using cvtool::kOk;
using cvtool::kTimedOut;
using cvtool::kUsage;
using cvtool::Print;

using Args = std::vector<std::string>;

constexpr double kDefaultSeconds = 10;
constexpr DWORD kPollMilliseconds = 50;
constexpr UINT kSendTimeoutMilliseconds = 3000;
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

struct UsageError {};

int TimedOut(double seconds, const std::string& what) {
    std::fprintf(stderr, "cvuidrv: timed out after %g s waiting for %s\n", seconds, what.c_str());
    std::fflush(stderr);
    return kTimedOut;
}

// Tries `probe` until it succeeds or `seconds` have passed; always at least once.
template <class Probe>
bool Poll(double seconds, Probe probe) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (!probe()) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMilliseconds);
    }
    return true;
}

// ---- reading windows ------------------------------------------------------

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The caption the system keeps for a window. Reading it sends no message, so
// a busy program cannot stall the driver.
std::string CaptionOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A control's own text. Controls such as edit boxes keep their text
// themselves, and for another process's window GetWindowText does not ask
// them: WM_GETTEXT does.
std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMilliseconds,
                             &length)) {
        return CaptionOf(window);
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMilliseconds, &copied)) {
        return CaptionOf(window);
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}

bool IsTopLevel(HWND window) {
    return GetAncestor(window, GA_PARENT) == GetDesktopWindow();
}

int DepthOf(HWND window) {
    int depth = 0;
    for (HWND at = window; at && !IsTopLevel(at); at = GetAncestor(at, GA_PARENT))
        ++depth;
    return depth;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::string ImagePathOf(DWORD pid) {
    static std::map<DWORD, std::string> known;
    auto [entry, fresh] = known.try_emplace(pid);
    if (fresh) {
        if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
            char path[MAX_PATH] = "";
            DWORD size = sizeof path;
            if (QueryFullProcessImageNameA(process, 0, path, &size))
                entry->second = path;
            CloseHandle(process);
        }
    }
    return entry->second;
}

// Where each of `separators` stands in a text, read by characters of the system's code page: the
// second byte of a double-byte character may be a backslash too.
std::vector<size_t> SeparatorsOf(const std::string& text, const char* separators) {
    std::vector<size_t> found;
    for (const char* at = text.c_str(); *at != '\0'; at = CharNextA(at)) {
        if (std::strchr(separators, *at) != nullptr)
            found.push_back(static_cast<size_t>(at - text.c_str()));
    }
    return found;
}

std::string FileNameOf(const std::string& path) {
    const std::vector<size_t> slashes = SeparatorsOf(path, "\\/");
    return slashes.empty() ? path : path.substr(slashes.back() + 1);
}

// Wine's own programs (the desktop, services, ...) live in the Windows folder;
// the programs under test do not.
bool IsWineProgram(DWORD pid) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows - 1);
    const std::string prefix = std::string(windows) + "\\";
    const std::string path = ImagePathOf(pid);
    return path.size() > prefix.size() &&
           lstrcmpiA(path.substr(0, prefix.size()).c_str(), prefix.c_str()) == 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Top-level windows of every process but the driver's own.
std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> others;
    for (HWND window : all) {
        if (ProcessOf(window) != GetCurrentProcessId())
            others.push_back(window);
    }
    return others;
}

// All controls below a window, each before its own children, siblings in
// creation order.
std::vector<HWND> Controls(HWND top) {
    std::vector<HWND> controls;
    EnumChildWindows(top, CollectWindow, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::string Describe(HWND window) {
    const bool top = IsTopLevel(window);
    HWND parent = top ? GetWindow(window, GW_OWNER) : GetAncestor(window, GA_PARENT);
    RECT rect{};
    GetWindowRect(window, &rect);
    if (!top)
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    const DWORD pid = ProcessOf(window);
    return Format(
        "hwnd=0x%08lX depth=%d pid=%lu exe=%s class=\"%s\" text=\"%s\" id=%d enabled=%d visible=%d "
        "parent=\"%s\" rect=%ld,%ld,%ld,%ld",
        static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)), DepthOf(window),
        static_cast<unsigned long>(pid), FileNameOf(ImagePathOf(pid)).c_str(),
        cvtool::Escape(ClassOf(window)).c_str(),
        cvtool::Escape(top ? CaptionOf(window) : TextOf(window)).c_str(), top ? 0 : GetDlgCtrlID(window),
        IsWindowEnabled(window) ? 1 : 0, IsWindowVisible(window) ? 1 : 0,
        cvtool::Escape(parent ? CaptionOf(parent) : "").c_str(), rect.left, rect.top, rect.right,
        rect.bottom);
}

// ---- finding windows ------------------------------------------------------

HWND FindWindowTitled(const std::string& title) {
    for (HWND window : TopLevelWindows()) {
        if (IsWindowVisible(window) && CaptionOf(window) == title)
            return window;
    }
    return nullptr;
}

std::string WithoutMnemonics(const std::string& caption) {
    std::string plain;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

bool IsButton(HWND window) {
    return lstrcmpiA(ClassOf(window).c_str(), "Button") == 0;
}

bool CaptionMatches(HWND control, const std::string& wanted) {
    const std::string text = TextOf(control);
    return text == wanted || (IsButton(control) && WithoutMnemonics(text) == wanted);
}

// The control a person means by a caption: of the controls showing it, a
// visible one first, and a button before a label with the same words.
HWND FindControl(HWND top, const std::string& caption) {
    HWND best = nullptr;
    int bestScore = -1;
    for (HWND control : Controls(top)) {
        if (!CaptionMatches(control, caption))
            continue;
        const int score = (IsWindowVisible(control) ? 2 : 0) + (IsButton(control) ? 1 : 0);
        if (score > bestScore) {
            best = control;
            bestScore = score;
        }
    }
    return best;
}

HWND FindNthOfClass(HWND top, const std::string& className, int n) {
    for (HWND control : Controls(top)) {
        if (lstrcmpiA(ClassOf(control).c_str(), className.c_str()) == 0 && --n == 0)
            return control;
    }
    return nullptr;
}

// Why a person could not use `control` in `top` right now, or nullptr if they could.
const char* NotUsableBecause(HWND top, HWND control) {
    if (!IsWindowVisible(control))
        return "the control is hidden";
    if (!IsWindowEnabled(control))
        return "the control is disabled";
    if (!IsWindowEnabled(top))
        return "the window is disabled (is a modal window open?)";
    return nullptr;
}

// ---- arguments ------------------------------------------------------------

double SecondsAt(const Args& args, size_t index) {
    if (index >= args.size())
        return kDefaultSeconds;
    char* end = nullptr;
    const double seconds = std::strtod(args[index].c_str(), &end);
    if (args[index].empty() || *end != '\0' || seconds < 0)
        throw UsageError{};
    return seconds;
}

int PositiveAt(const Args& args, size_t index) {
    char* end = nullptr;
    const long value = std::strtol(args[index].c_str(), &end, 10);
    if (args[index].empty() || *end != '\0' || value < 1)
        throw UsageError{};
    return static_cast<int>(value);
}

UINT VirtualKeyAt(const Args& args, size_t index) {
    static const std::map<std::string, UINT> names = {
        {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
        {"TAB", VK_TAB},       {"SPACE", VK_SPACE},  {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},
        {"UP", VK_UP},         {"DOWN", VK_DOWN}};
    if (auto named = names.find(args[index]); named != names.end())
        return named->second;
    char* end = nullptr;
    const unsigned long value = std::strtoul(args[index].c_str(), &end, 0);
    if (args[index].empty() || *end != '\0' || value < 1 || value > 254)
        throw UsageError{};
    return static_cast<UINT>(value);
}

// ---- commands -------------------------------------------------------------

int Wait(const Args& args) {
    const double seconds = SecondsAt(args, 1);
    HWND found = nullptr;
    if (!Poll(seconds, [&] { return (found = FindWindowTitled(args[0])) != nullptr; })) {
        return TimedOut(seconds, "window \"" + args[0] + "\"");
    }
    Print(Describe(found));
    return kOk;
}

int WaitChild(const Args& args) {
    const double seconds = SecondsAt(args, 2);
    HWND found = nullptr;
    const auto present = [&] {
        HWND top = FindWindowTitled(args[0]);
        found = top ? FindControl(top, args[1]) : nullptr;
        return found && IsWindowVisible(found);
    };
    if (!Poll(seconds, present))
        return TimedOut(seconds, "\"" + args[1] + "\" in window \"" + args[0] + "\"");
    Print(Describe(found));
    return kOk;
}

int List(const Args& args) {
    if (!args.empty() && args[0] != "--all")
        throw UsageError{};
    const bool all = !args.empty();
    for (HWND top : TopLevelWindows()) {
        if (!all && IsWineProgram(ProcessOf(top)))
            continue;
        // Every GUI thread gets a hidden IME window from the system; it is not the program's.
        if (!all && ClassOf(top) == "IME")
            continue;
        Print(Describe(top));
        for (HWND control : Controls(top))
            Print(Describe(control));
    }
    return kOk;
}

// Waits until the control that `find` picks in window TITLE can be used by a
// person; `what` names it for the timeout message.
HWND WaitUsable(const std::string& title, double seconds, const std::string& what,
                HWND (*find)(HWND top, const Args& args), const Args& args) {
    std::string lastSeen;
    HWND control = nullptr;
    const auto usable = [&] {
        HWND top = FindWindowTitled(title);
        control = top ? find(top, args) : nullptr;
        const char* reason = !top       ? "there is no such visible window"
                             : !control ? "there is no such control"
                                        : NotUsableBecause(top, control);
        if (reason)
            lastSeen = reason;
        return reason == nullptr;
    };
    if (Poll(seconds, usable))
        return control;
    TimedOut(seconds, what + " in window \"" + title + "\" to be usable; last seen: " + lastSeen);
    return nullptr;
}

int Click(const Args& args) {
    const double seconds = SecondsAt(args, 2);
    const auto byCaption = [](HWND window, const Args& a) { return FindControl(window, a[1]); };
    HWND button = WaitUsable(args[0], seconds, "button \"" + args[1] + "\"", byCaption, args);
    if (!button)
        return kTimedOut;
    if (!PostMessageA(button, BM_CLICK, 0, 0))
        return cvtool::FailLastError("PostMessageA(BM_CLICK)");
    Print("clicked " + Describe(button));
    return kOk;
}

int SetText(const Args& args) {
    const double seconds = SecondsAt(args, 4);
    PositiveAt(args, 2);
    const auto nth = [](HWND window, const Args& a) {
        return FindNthOfClass(window, a[1], PositiveAt(a, 2));
    };
    HWND control = WaitUsable(args[0], seconds, "control " + args[1] + " #" + args[2], nth, args);
    if (!control)
        return kTimedOut;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[3].c_str()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMilliseconds, &result) ||
        !result) {
        return cvtool::FailLastError("WM_SETTEXT");
    }
    Print("set " + Describe(control));
    return kOk;
}

// The control that has the keyboard focus in `top`'s thread, or `top` itself.
HWND FocusIn(HWND top, const Args&) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == top || IsChild(top, info.hwndFocus))) {
        return info.hwndFocus;
    }
    return top;
}

int Key(const Args& args) {
    const double seconds = SecondsAt(args, 2);
    const UINT vk = VirtualKeyAt(args, 1);
    HWND target = WaitUsable(args[0], seconds, "the focused control", FocusIn, args);
    if (!target)
        return kTimedOut;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    if (!PostMessageA(target, WM_KEYDOWN, vk, scan | 1) ||
        !PostMessageA(target, WM_KEYUP, vk, scan | 1 | (1L << 30) | static_cast<LPARAM>(1UL << 31))) {
        return cvtool::FailLastError("PostMessageA(WM_KEYDOWN/WM_KEYUP)");
    }
    Print(Format("key 0x%02X to ", vk) + Describe(target));
    return kOk;
}

// The window that has the keyboard focus in the foreground window's thread; null when none has it.
HWND KeyboardFocus() {
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (foreground == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

int Focus(const Args& args) {
    const double seconds = SecondsAt(args, 1);
    HWND focus = nullptr;
    const auto shows = [&](HWND window) {
        return IsTopLevel(window) ? CaptionOf(window) == args[0]
                                  : CaptionMatches(window, args[0]) || ClassOf(window) == args[0];
    };
    std::string lastSeen = "nothing";
    if (!Poll(seconds, [&] {
            focus = KeyboardFocus();
            if (focus != nullptr)
                lastSeen = Describe(focus);
            return focus != nullptr && shows(focus);
        })) {
        return TimedOut(seconds, "the focus on \"" + args[0] + "\"; last seen: " + lastSeen);
    }
    Print("focus " + Describe(focus));
    Print("foreground " + Describe(GetForegroundWindow()));
    return kOk;
}

int Close(const Args& args) {
    const double seconds = SecondsAt(args, 1);
    HWND found = nullptr;
    if (!Poll(seconds, [&] { return (found = FindWindowTitled(args[0])) != nullptr; })) {
        return TimedOut(seconds, "window \"" + args[0] + "\"");
    }
    const std::string line = "closing " + Describe(found);
    if (!PostMessageA(found, WM_CLOSE, 0, 0))
        return cvtool::FailLastError("PostMessageA(WM_CLOSE)");
    Print(line);
    return kOk;
}

// Every visible window of the programs under test whose caption is `title`, top-level or inside one.
std::vector<HWND> WindowsTitled(const std::string& title) {
    std::vector<HWND> found;
    for (HWND top : TopLevelWindows()) {
        if (!IsWindowVisible(top) || IsWineProgram(ProcessOf(top)))
            continue;
        if (CaptionOf(top) == title)
            found.push_back(top);
        for (HWND control : Controls(top)) {
            if (IsWindowVisible(control) && CaptionOf(control) == title)
                found.push_back(control);
        }
    }
    return found;
}

std::vector<HWND> WaitForWindowsTitled(const std::string& title, double seconds) {
    std::vector<HWND> found;
    Poll(seconds, [&] { return !(found = WindowsTitled(title)).empty(); });
    return found;
}

int CloseEach(const Args& args) {
    const double seconds = SecondsAt(args, 1);
    const std::vector<HWND> found = WaitForWindowsTitled(args[0], seconds);
    if (found.empty())
        return TimedOut(seconds, "a window \"" + args[0] + "\"");
    for (HWND window : found) {
        const std::string line = "closing " + Describe(window);
        if (!PostMessageA(window, WM_CLOSE, 0, 0))
            return cvtool::FailLastError("PostMessageA(WM_CLOSE)");
        Print(line);
    }
    return kOk;
}

int QueryEnd(const Args& args) {
    const double seconds = SecondsAt(args, 1);
    const std::vector<HWND> found = WaitForWindowsTitled(args[0], seconds);
    if (found.empty())
        return TimedOut(seconds, "a window \"" + args[0] + "\"");
    for (HWND window : found) {
        const std::string described = Describe(window);
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                                 kSendTimeoutMilliseconds, &answer))
            return cvtool::FailLastError("SendMessageTimeoutA(WM_QUERYENDSESSION)");
        Print(Format("answer=%lu ", static_cast<unsigned long>(answer)) + described);
    }
    return kOk;
}

// A message box is a dialog (#32770) whose text is the static control with ID
// 0xFFFF. A form built as a dialog has the same class: the control tells them apart.
HWND MessageTextOf(HWND dialog) {
    for (HWND control : Controls(dialog)) {
        if ((GetDlgCtrlID(control) & 0xFFFF) == kMessageBoxTextId &&
            lstrcmpiA(ClassOf(control).c_str(), "Static") == 0) {
            return control;
        }
    }
    return nullptr;
}

HWND FindMessageBox() {
    for (HWND window : TopLevelWindows()) {
        if (IsWindowVisible(window) && ClassOf(window) == "#32770" && MessageTextOf(window))
            return window;
    }
    return nullptr;
}

// BUTTON if asked for, else OK, else the only button; nullptr with `why` set otherwise.
HWND ChooseButton(HWND box, const std::string& wanted, std::string* why) {
    std::vector<HWND> buttons;
    for (HWND control : Controls(box)) {
        if (IsButton(control) && IsWindowVisible(control))
            buttons.push_back(control);
    }
    if (!wanted.empty()) {
        for (HWND button : buttons) {
            if (CaptionMatches(button, wanted))
                return button;
        }
    } else if (HWND ok = GetDlgItem(box, IDOK); ok && IsWindowVisible(ok)) {
        return ok;
    } else if (buttons.size() == 1) {
        return buttons[0];
    }
    std::vector<std::string> captions;
    for (HWND button : buttons)
        captions.push_back(Format("\"%s\"", TextOf(button).c_str()));
    *why = Format("no button \"%s\"; its buttons are: %s", wanted.empty() ? "OK" : wanted.c_str(),
                  cvtool::Join(captions, ", ").c_str());
    return nullptr;
}

void PrintMessage(HWND box) {
    Print("caption: " + CaptionOf(box));
    const std::string text = TextOf(MessageTextOf(box));
    size_t start = 0;
    do {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Print("text: " + line);
        start = end + 1;
    } while (start <= text.size());
}

int MessageBoxAnswer(const Args& args) {
    const double seconds = SecondsAt(args, 0);
    const std::string wanted = args.size() > 1 ? args[1] : "";
    HWND box = nullptr;
    if (!Poll(seconds, [&] { return (box = FindMessageBox()) != nullptr; }))
        return TimedOut(seconds, "a message box");
    PrintMessage(box);

    std::string why;
    HWND button = ChooseButton(box, wanted, &why);
    if (!button)
        return cvtool::Complain(kFailed, ("cvuidrv: " + why).c_str());
    const std::string pressed = WithoutMnemonics(TextOf(button));
    if (!PostMessageA(button, BM_CLICK, 0, 0))
        return cvtool::FailLastError("PostMessageA(BM_CLICK)");
    // Wait for the box to go, so that the next command cannot find it again.
    if (!Poll(seconds, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
        return TimedOut(seconds, "the message box to close after pressing \"" + pressed + "\"");
    }
    Print("pressed: " + pressed);
    return kOk;
}

// ---- the screen -----------------------------------------------------------

std::string RectText(const RECT& rect) {
    return Format("%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
}

bool Holds(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int Screen(const Args&) {
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        return cvtool::FailLastError("SystemParametersInfoA(SPI_GETWORKAREA)");
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    Print("screen=" + RectText(screen) + " workarea=" + RectText(work));
    return kOk;
}

// What keeps a person from seeing all of `control` (at `rect` on the screen): the client area of a
// window around it, or the work area of its screen; empty when nothing does.
std::string CutBy(HWND control, const RECT& rect) {
    for (HWND parent = GetAncestor(control, GA_PARENT); parent && parent != GetDesktopWindow();
         parent = GetAncestor(parent, GA_PARENT)) {
        RECT client{};
        GetClientRect(parent, &client);
        MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
        if (!Holds(client, rect))
            return "the client area of \"" + cvtool::Escape(CaptionOf(parent)) + "\" " + RectText(client);
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(control, MONITOR_DEFAULTTONEAREST), &monitor))
        return "no screen";
    return Holds(monitor.rcWork, rect) ? "" : "the work area " + RectText(monitor.rcWork);
}

int OnScreen(const Args& args) {
    int result = kOk;
    for (size_t i = 1; i < args.size(); ++i) {
        HWND control = nullptr;
        const auto shown = [&] {
            HWND top = FindWindowTitled(args[0]);
            control = top ? FindControl(top, args[i]) : nullptr;
            return control && IsWindowVisible(control);
        };
        if (!Poll(kDefaultSeconds, shown))
            return TimedOut(kDefaultSeconds, "\"" + args[i] + "\" in window \"" + args[0] + "\"");
        RECT rect{};
        GetWindowRect(control, &rect);
        const std::string cut = CutBy(control, rect);
        const std::string line =
            Format("\"%s\" rect=%s", cvtool::Escape(args[i]).c_str(), RectText(rect).c_str());
        if (cut.empty()) {
            Print("onscreen " + line);
        } else {
            Print("cut " + line + " by " + cut);
            result = kFailed;
        }
    }
    return result;
}

// ---- tree views -----------------------------------------------------------

// A tree view of another process: its items are read through memory in that process, since the
// control takes the item record and the text buffer as addresses of its own.
class RemoteTree {
public:
    explicit RemoteTree(HWND tree) : tree_(tree) {
        DWORD pid = 0;
        GetWindowThreadProcessId(tree, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            remote_ = VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteTree() {
        if (remote_)
            VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    bool Usable() const { return remote_ != nullptr; }

    // Opening a level may make the program read a large folder: its messages get more time.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, UINT milliseconds = 30000) const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(tree_, message, wParam, lParam, SMTO_ABORTIFHUNG, milliseconds, &result))
            return 0;
        return static_cast<LRESULT>(result);
    }
    HTREEITEM Next(HTREEITEM item, UINT how) const {
        return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }

    struct Item {
        std::string text;
        bool expanded = false;
        bool selected = false;
    };
    bool Read(HTREEITEM handle, Item& out) const {
        TVITEMA item{};
        item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
        item.hItem = handle;
        item.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
        item.pszText = static_cast<char*>(remote_) + sizeof item;
        item.cchTextMax = kTextSize;
        char text[kTextSize + 1] = "";
        if (!WriteProcessMemory(process_, remote_, &item, sizeof item, nullptr) ||
            !Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_)) ||
            !ReadProcessMemory(process_, remote_, &item, sizeof item, nullptr) ||
            !ReadProcessMemory(process_, static_cast<char*>(remote_) + sizeof item, text, kTextSize,
                               nullptr)) {
            return false;
        }
        out.text = text;
        out.expanded = (item.state & TVIS_EXPANDED) != 0;
        out.selected = (item.state & TVIS_SELECTED) != 0;
        return true;
    }

private:
    static constexpr int kTextSize = 260;
    static constexpr SIZE_T kSize = sizeof(TVITEMA) + kTextSize + 1;
    HWND tree_;
    HANDLE process_ = nullptr;
    void* remote_ = nullptr;
};

HWND FirstTreeView(HWND top, const Args&) {
    return FindNthOfClass(top, WC_TREEVIEWA, 1);
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void PrintItems(const RemoteTree& tree, HTREEITEM item, int level) {
    for (; item; item = tree.Next(item, TVGN_NEXT)) {
        RemoteTree::Item shown;
        if (!tree.Read(item, shown))
            return;
        Print(Format("item: %d \"%s\" expanded=%d selected=%d", level, cvtool::Escape(shown.text).c_str(),
                     shown.expanded ? 1 : 0, shown.selected ? 1 : 0));
        if (shown.expanded)
            PrintItems(tree, tree.Next(item, TVGN_CHILD), level + 1);
    }
}

// Waits for the window's tree view and hands it, reachable from this process, to `work`.
int WithRemoteTree(const Args& args, double seconds, const std::function<int(RemoteTree&)>& work) {
    HWND control = WaitUsable(args[0], seconds, "a tree view", FirstTreeView, args);
    if (!control)
        return kTimedOut;
    RemoteTree tree(control);
    if (!tree.Usable())
        return cvtool::FailLastError("memory in the tree view's process");
    return work(tree);
}

int Tree(const Args& args) {
    return WithRemoteTree(args, SecondsAt(args, 1), [](RemoteTree& tree) {
        PrintItems(tree, tree.Next(nullptr, TVGN_ROOT), 0);
        return kOk;
    });
}

// The item among `first` and its siblings whose text is `wanted`.
HTREEITEM FindSibling(const RemoteTree& tree, HTREEITEM first, const std::string& wanted) {
    for (HTREEITEM item = first; item; item = tree.Next(item, TVGN_NEXT)) {
        RemoteTree::Item shown;
        if (tree.Read(item, shown) && (shown.text == wanted || Trimmed(shown.text) == wanted))
            return item;
    }
    return nullptr;
}

int TreeSelect(const Args& args) {
    std::vector<std::string> steps;
    size_t at = 0;
    for (const size_t end : SeparatorsOf(args[1], "\\")) {
        steps.push_back(args[1].substr(at, end - at));
        at = end + 1;
    }
    steps.push_back(args[1].substr(at));
    return WithRemoteTree(args, SecondsAt(args, 2), [&](RemoteTree& tree) {
        HTREEITEM item = nullptr;
        HTREEITEM level = tree.Next(nullptr, TVGN_ROOT);
        for (size_t i = 0; i < steps.size(); ++i) {
            item = FindSibling(tree, level, steps[i]);
            if (!item)
                return cvtool::Complain(kFailed,
                                        ("cvuidrv: no tree item \"" + steps[i] + "\" there").c_str());
            if (i + 1 < steps.size()) {
                tree.Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
                level = tree.Next(item, TVGN_CHILD);
            }
        }
        if (!tree.Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)))
            return cvtool::Complain(kFailed, "cvuidrv: the tree view did not select the item");
        Print("selected: " + args[1]);
        return kOk;
    });
}

struct Command {
    const char* name;
    size_t minArgs;
    size_t maxArgs;
    int (*run)(const Args&);
    const char* usage;
};

constexpr Command kCommands[] = {
    {"wait", 1, 2, Wait, "wait TITLE [SECONDS]"},
    {"waitchild", 2, 3, WaitChild, "waitchild TITLE TEXT [SECONDS]"},
    {"list", 0, 1, List, "list [--all]"},
    {"click", 2, 3, Click, "click TITLE CAPTION [SECONDS]"},
    {"msgbox", 0, 2, MessageBoxAnswer, "msgbox [SECONDS [BUTTON]]"},
    {"close", 1, 2, Close, "close TITLE [SECONDS]"},
    {"closeeach", 1, 2, CloseEach, "closeeach TITLE [SECONDS]"},
    {"queryend", 1, 2, QueryEnd, "queryend TITLE [SECONDS]"},
    {"settext", 4, 5, SetText, "settext TITLE CLASS N TEXT [SECONDS]"},
    {"key", 2, 3, Key, "key TITLE VK [SECONDS]"},
    {"focus", 1, 2, Focus, "focus WANTED [SECONDS]"},
    {"tree", 1, 2, Tree, "tree TITLE [SECONDS]"},
    {"treeselect", 2, 3, TreeSelect, "treeselect TITLE PATH [SECONDS]"},
    {"screen", 0, 0, Screen, "screen"},
    {"onscreen", 2, 64, OnScreen, "onscreen TITLE CAPTION..."},
};

int Usage() {
    std::fprintf(stderr, "usage:\n");
    for (const Command& command : kCommands)
        std::fprintf(stderr, "  cvuidrv %s\n", command.usage);
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const Args args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (std::string(argv[1]) != command.name)
            continue;
        if (args.size() < command.minArgs || args.size() > command.maxArgs)
            return Usage();
        try {
            return command.run(args);
        } catch (const UsageError&) {
            return Usage();
        }
    }
    return Usage();
}
