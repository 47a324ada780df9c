// Modules that the program loads at run time, taken from the system folder only.
//
// The program runs from a driver disk or a download folder, which anyone may have written to, and for
// a module that is not one of its known modules Windows looks in the program's own folder first. So a
// module is never asked for by its bare name: always by its full path in the system folder, and with
// the search for its own imports starting there too.
#pragma once

#include <array>
#include <cstddef>

#include "platform/Types.h"

namespace platform {

// Loads `fileName` from the folder GetSystemDirectoryA gives. Null when the folder or the module
// cannot be had, with the reason as the last error.
HMODULE LoadSystemModule(LPCSTR fileName);

// Loads `fileName` as above and takes each of `names` (a name, or an ordinal made by MAKEINTRESOURCEA)
// into the same place of `entries`. Every entry point or none: when one is missing, the module is
// released, `entries` cleared and the last error is ERROR_PROC_NOT_FOUND; when the module cannot be
// had, another error. Answers the module, null on failure.
HMODULE BindSystemModule(LPCSTR fileName, const LPCSTR* names, FARPROC* entries, std::size_t count);

// The entry points the program takes from one module of the system folder, all bound together on first
// use. Bound entry points stay valid for the process's life: the module is never released.
template <std::size_t N>
class SystemEntries {
public:
    SystemEntries(LPCSTR fileName, const std::array<LPCSTR, N>& names) : fileName_(fileName), names_(names) {}

    // Loads the module and takes every entry point anew; FALSE, with the reason as the last error, when
    // the module or any of them cannot be had.
    BOOL Bind() { return BindSystemModule(fileName_, names_.data(), entries_.data(), N) != nullptr; }

    // Calls entry point `index` with `args`, binding first if need be; answers `failure` when it cannot
    // be had. The argument types are the entry point's own.
    template <class Result, class... Args>
    Result Call(std::size_t index, Result failure, Args... args) {
        if (entries_[index] == nullptr && !Bind()) {
            return failure;
        }
        return reinterpret_cast<Result(CV_WINAPI*)(Args...)>(entries_[index])(args...);
    }
    // Calls entry point `index`, which answers nothing, once Bind has taken it.
    template <class... Args>
    void CallBound(std::size_t index, Args... args) {
        reinterpret_cast<void(CV_WINAPI*)(Args...)>(entries_[index])(args...);
    }

private:
    LPCSTR fileName_;
    std::array<LPCSTR, N> names_;
    std::array<FARPROC, N> entries_{};
};

}  // namespace platform
