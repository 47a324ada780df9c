// The steps that every way out of the process runs first: what the program must not leave behind, each
// part's own. A part adds its step when it has something to undo and takes it off once that is done, so
// that no part clears or overwrites another's.
#pragma once

#include <vector>

namespace platform {

class ExitCleanUpList {
public:
    using Step = void (*)();

    // A step already there is not added again.
    void Add(Step step);
    void Remove(Step step);
    // Runs the steps, the one added last first; each is taken off before it runs, so that a way out
    // that a step itself takes does not run it again.
    void RunAll();

private:
    std::vector<Step> steps_;
};

// The process's list; each backend keeps it where its process keeps its state.
ExitCleanUpList& TheExitCleanUpList();

}  // namespace platform
