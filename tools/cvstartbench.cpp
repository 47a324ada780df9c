// cvstartbench: how long programs take from their start until a window of theirs shows, and how much
// memory they have needed by then, measured inside the Wine prefix so that nothing of the harness's own
// start-up counts.
//
//   cvstartbench RUNS NAME EXE TITLE BUTTON [NAME EXE TITLE BUTTON ...]
//
// Each round starts every program once, in turn: the clock starts before CreateProcess, and stops when
// a visible top-level window of that process with caption TITLE holds a visible button BUTTON. Then the
// process's peak working set is read, and the process is ended. The first round warms the caches and
// is not counted. Prints each run, then per program the medians, then two lines that set the first
// program's medians against the last one's:
//   start-up: FIRST A ms, LAST B ms, ratio R
//   peak memory: FIRST X MB, LAST Y MB, difference D MB
// and last, for a script to set any two programs side by side, each program's medians unrounded:
//   medians: NAME: MILLISECONDS MEGABYTES
#include "cvtool.h"

#include <psapi.h>

#include <algorithm>
#include <cstdlib>

namespace {

struct Program {
    std::string name;
    std::string exe;
    std::string title;
    std::string button;
    std::vector<double> milliseconds;
    std::vector<double> megabytes;
};

struct Measure {
    double milliseconds;
    double megabytes;
};

struct Probe {
    DWORD pid;
    const Program* program;
    bool found;
};

BOOL CALLBACK HasButton(HWND control, LPARAM probe) {
    auto* wanted = reinterpret_cast<Probe*>(probe);
    char text[256] = "";
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    GetWindowTextA(control, text, sizeof text);
    if (lstrcmpiA(className, "Button") == 0 && wanted->program->button == text && IsWindowVisible(control)) {
        wanted->found = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK IsShown(HWND window, LPARAM probe) {
    auto* wanted = reinterpret_cast<Probe*>(probe);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (pid == wanted->pid && IsWindowVisible(window) && wanted->program->title == title)
        EnumChildWindows(window, HasButton, probe);
    return wanted->found ? FALSE : TRUE;
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The most the process has had resident so far. Under Wine this is the high-water mark that Linux keeps
// for the process (VmHWM), so Wine's own libraries count in it as much as they do for any program.
double PeakMegabytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return -1;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Milliseconds until the window shows, and the peak memory then; negative time when it did not show
// within 60 s.
Measure MeasureOne(const Program& program) {
    std::string folder = program.exe.substr(0, program.exe.find_last_of('\\'));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program.exe + "\"";
    const double start = Now();
    if (!CreateProcessA(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        cvtool::FailLastError(("CreateProcessA " + program.exe).c_str());
        return {-1, -1};
    }
    Probe probe{process.dwProcessId, &program, false};
    Measure measure{-1, -1};
    while (Now() - start < 60000) {
        probe.found = false;
        EnumWindows(IsShown, reinterpret_cast<LPARAM>(&probe));
        if (probe.found) {
            measure.milliseconds = Now() - start;
            measure.megabytes = PeakMegabytes(process.hProcess);
            break;
        }
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return measure;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 2) % 4 != 0 || std::atoi(argv[1]) < 1)
        return cvtool::Complain(cvtool::kUsage, "usage: cvstartbench RUNS NAME EXE TITLE BUTTON [...]");
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i < argc; i += 4)
        programs.push_back({argv[i], argv[i + 1], argv[i + 2], argv[i + 3], {}, {}});
    for (int round = 0; round <= runs; ++round) {
        for (Program& program : programs) {
            const Measure measure = MeasureOne(program);
            if (measure.milliseconds < 0)
                return cvtool::Complain(cvtool::kFailed, ("no window from " + program.name).c_str());
            if (measure.megabytes < 0)
                return cvtool::FailLastError(("GetProcessMemoryInfo " + program.name).c_str());
            if (round == 0)
                continue;
            program.milliseconds.push_back(measure.milliseconds);
            program.megabytes.push_back(measure.megabytes);
            cvtool::Print(cvtool::Format("%-12s run %2d: %7.1f ms %6.1f MB", program.name.c_str(), round,
                                         measure.milliseconds, measure.megabytes));
        }
    }
    const Program& first = programs.front();
    const Program& last = programs.back();
    for (const Program& program : programs) {
        const double median = Median(program.milliseconds);
        cvtool::Print(cvtool::Format("%-12s median of %d runs: %7.1f ms  (%.2f x %s), %6.1f MB",
                                     program.name.c_str(), runs, median, median / Median(last.milliseconds),
                                     last.name.c_str(), Median(program.megabytes)));
    }
    const double time = Median(first.milliseconds);
    const double floorTime = Median(last.milliseconds);
    const double memory = Median(first.megabytes);
    const double floorMemory = Median(last.megabytes);
    cvtool::Print(cvtool::Format("start-up: %s %.0f ms, %s %.0f ms, ratio %.2f", first.name.c_str(), time,
                                 last.name.c_str(), floorTime, time / floorTime));
    cvtool::Print(cvtool::Format("peak memory: %s %.1f MB, %s %.1f MB, difference %.1f MB",
                                 first.name.c_str(), memory, last.name.c_str(), floorMemory,
                                 memory - floorMemory));
    for (const Program& program : programs)
        cvtool::Print(cvtool::Format("medians: %s: %.6f %.6f", program.name.c_str(),
                                     Median(program.milliseconds), Median(program.megabytes)));
    return cvtool::kOk;
}
