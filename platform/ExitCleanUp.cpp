#include "platform/ExitCleanUp.h"

#include <algorithm>

#include "platform/Process.h"

namespace platform {

void ExitCleanUpList::Add(Step step) {
    if (std::find(steps_.begin(), steps_.end(), step) == steps_.end()) {
        steps_.push_back(step);
    }
}

void ExitCleanUpList::Remove(Step step) {
    std::erase(steps_, step);
}

void ExitCleanUpList::RunAll() {
    while (!steps_.empty()) {
        const Step step = steps_.back();
        steps_.pop_back();
        step();
    }
}

void AddExitCleanUp(void (*cleanUp)()) {
    TheExitCleanUpList().Add(cleanUp);
}

void RemoveExitCleanUp(void (*cleanUp)()) {
    TheExitCleanUpList().Remove(cleanUp);
}

void RunExitCleanUp() {
    TheExitCleanUpList().RunAll();
}

}  // namespace platform
