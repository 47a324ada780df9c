// What the files of the headless backend share among themselves: windows by handle, the journal, and
// whether a person can reach a control.
#pragma once

#include <memory>
#include <string>

#include "framework/ComCtrls.h"
#include "framework/Controls.h"
#include "framework/Messages.h"

namespace headless::internal {

// A window handle for `control` (or for none), whose messages go to `method` (or nowhere).
platform::HWND NewWindow(TWndMethod method, const TControl* control);
void ForgetWindow(platform::HWND window);
void Note(std::string line);
bool PersonCanReach(TControl& control);

std::unique_ptr<ControlPeer> CreateTreeViewPeer(TCustomTreeView& tree);

}  // namespace headless::internal
