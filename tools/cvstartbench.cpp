// cvstartbench: how long programs take from their start until a window of theirs shows, measured
// inside the Wine prefix so that nothing of the harness's own start-up counts.
//
//   cvstartbench RUNS NAME EXE TITLE BUTTON [NAME EXE TITLE BUTTON ...]
//
// Each round starts every program once, in turn: the clock starts before CreateProcess, and stops when
// a visible top-level window of that process with caption TITLE holds a visible button BUTTON; the
// process is then ended. The first round warms the caches and is not counted. Prints each time, then
// per program the median, and each program's median against the last one's.
#include "cvtool.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct Program {
    std::string name;
    std::string exe;
    std::string title;
    std::string button;
    std::vector<double> milliseconds;
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

// Milliseconds until the window shows; negative when it did not within 60 s.
double TimeOne(const Program& program) {
    std::string folder = program.exe.substr(0, program.exe.find_last_of('\\'));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program.exe + "\"";
    const double start = Now();
    if (!CreateProcessA(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        cvtool::FailLastError(("CreateProcessA " + program.exe).c_str());
        return -1;
    }
    Probe probe{process.dwProcessId, &program, false};
    double elapsed = -1;
    while (Now() - start < 60000) {
        probe.found = false;
        EnumWindows(IsShown, reinterpret_cast<LPARAM>(&probe));
        if (probe.found) {
            elapsed = Now() - start;
            break;
        }
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
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
        programs.push_back({argv[i], argv[i + 1], argv[i + 2], argv[i + 3], {}});
    for (int round = 0; round <= runs; ++round) {
        for (Program& program : programs) {
            const double milliseconds = TimeOne(program);
            if (milliseconds < 0)
                return cvtool::Complain(cvtool::kFailed, ("no window from " + program.name).c_str());
            if (round == 0)
                continue;
            program.milliseconds.push_back(milliseconds);
            std::printf("%-8s run %2d: %7.1f ms\n", program.name.c_str(), round, milliseconds);
            std::fflush(stdout);
        }
    }
    const double floor = Median(programs.back().milliseconds);
    for (const Program& program : programs) {
        const double median = Median(program.milliseconds);
        std::printf("%-8s median of %d runs: %7.1f ms  (%.2f x %s)\n", program.name.c_str(), runs, median,
                    median / floor, programs.back().name.c_str());
    }
    std::fflush(stdout);
    return cvtool::kOk;
}
