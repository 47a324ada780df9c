// The folder tree's rule for a step that fails while it follows the shell.
#pragma once

#include <exception>
#include <new>

// Runs `step`, which brings a node in line with the shell: fills a level, reloads a drive, reads the
// path of a change. The tree only shows the folders, so when the shell or the framework cannot give
// what the step needs (a drive not ready, a folder gone, a list it will not parse), the node stays as
// it is and is brought in line on the next look; nothing is shown. Running out of memory is no such
// failure: it goes on to the caller. Answers whether the step ran to its end.
template <class Step>
bool KeepNodeOnFailure(Step&& step) {
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false;
    }
}
