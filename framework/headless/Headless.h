// The headless backend's side for tests: what a person would do (click, close, switch windows), what
// the screen looks like, and what the program showed (message boxes, the order of window operations).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Forms.h"

namespace headless {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    unsigned flags;
};

// Forgets everything shown and queued, and sets the screen back to 1024 x 768 with a task bar of 28
// pixels at the bottom.
void Reset();
void SetScreen(TRect desktop, TRect workArea);

const std::vector<MessageBoxRecord>& MessageBoxes();
// Window operations in the order they happened: "display Form2 186,165 top-level", "activate Form1",
// "reparent Form2 Form1", "conceal Form2", "repaint Form2".
const std::vector<std::string>& Journal();

// What a person can do. Each returns false, doing nothing, when a person could not do it: the control
// is disabled or hidden, or its window is not on the screen.
bool Click(TControl& control);
bool RequestClose(TForm& form);
// The user comes back to the program, or a dialog closes: the form becomes the active window again.
void Activate(TForm& form);
// Windows ends the session: the message loop ends.
void EndSession();

// Queues an action for the message loop, which runs the queue in order and ends when it is empty.
void Post(std::function<void()> action);

}  // namespace headless
