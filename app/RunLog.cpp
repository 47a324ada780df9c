#include "app/RunLog.h"

#include <cstdint>
#include <cstdio>

#include "app/DeviceCheck.h"
#include "app/WindowsVersion.h"
#include "platform/CharacterScan.h"
#include "platform/CodePage.h"
#include "platform/ErrorMode.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/HandleOwners.h"
#include "platform/Kernel.h"
#include "platform/Process.h"

using namespace platform;

namespace {

TRunLog* theRunLog = nullptr;

constexpr const char* kLineEnd = "\r\n";  // Notepad of every release reads only this one
constexpr const char* kMessageBoxLabel = "message box: ";

// Runs `write` as no part of the program: the last error as it was before, and no box of Windows' own
// for a drive without a disk.
template <class Write>
void Quietly(Write write) {
    const DWORD lastError = GetLastError();
    {
        const ScopedErrorMode noSystemBox(SEM_FAILCRITICALERRORS);
        write();
    }
    SetLastError(lastError);
}

// The log opened for writing; null when it cannot be.
OwnedHandle OpenToAppend(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return OwnedHandle(file != INVALID_HANDLE_VALUE ? file : nullptr);
}

// The older log, in the same folder: the name differs in its last three letters only.
std::string OlderLogPath(const std::string& path) {
    return path.substr(0, path.size() - std::string_view(kRunLogName).size()) + kOlderRunLogName;
}

// Whether `more` bytes would take the open log past the limit. An empty log takes any text whole.
bool PastLimit(HANDLE file, std::size_t more) {
    const DWORD size = GetFileSize(file, nullptr);
    return size != INVALID_FILE_SIZE && size != 0 && size + std::uint64_t{more} > kRunLogLimit;
}

// The log opened for writing, a new one begun first when `more` bytes would take it past the limit; null
// when it cannot be. The older log is replaced whatever its attributes: one left read-only would keep
// every later run from setting its log aside.
OwnedHandle OpenLogForMore(const std::string& path, std::size_t more) {
    OwnedHandle file = OpenToAppend(path);
    if (file && PastLimit(file.get(), more)) {
        file.reset();
        const std::string older = OlderLogPath(path);
        DeleteFileOfAnyAttributes(older.c_str());
        if (!MoveFileA(path.c_str(), older.c_str())) {
            return nullptr;  // a log that cannot be set aside is not written to: the limit holds
        }
        file = OpenToAppend(path);
    }
    return file;
}

// A text written whole at the log's end: a copy started beside this one may have written there too.
bool WriteAtEnd(HANDLE file, std::string_view text) {
    DWORD written = 0;
    return SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
           WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// A text's lines, each ended as Windows ends a line in a file, the later ones after `indent`.
std::string AsLines(std::string_view text, std::string_view indent = {}) {
    std::string lines;
    while (!text.empty()) {
        const auto lineFeed = FindFirstCharacter(text, "\n");
        std::string_view line = text.substr(0, lineFeed);
        if (EndsWithCharacter(std::string(line), '\r')) {
            line.remove_suffix(1);
        }
        lines.append(lines.empty() ? std::string_view{} : indent).append(line).append(kLineEnd);
        text.remove_prefix(lineFeed == std::string_view::npos ? text.size() : lineFeed + 1);
    }
    return lines.empty() ? kLineEnd : lines;
}

const char* VersionName(TOsKind osKind) {
    switch (osKind) {
        case TOsKind::Windows98:
            return "Windows 98";
        case TOsKind::WindowsMe:
            return "Windows Me";
        case TOsKind::Windows2000:
            return "Windows 2000";
        case TOsKind::WindowsNt4:
            return "Windows NT 4.0";
        case TOsKind::WindowsNt351:
            return "Windows NT 3.51";
        case TOsKind::WindowsXp:
            return "Windows XP";
        case TOsKind::NotRecognised:
            break;
    }
    return "not recognised";
}

// "==== 2002-10-14 09:30:05 C:\cvdisk\cvfir.exe, Windows XP (6), code page 950": the log's bytes are
// in that code page, which support needs to read the paths and the system's texts in it.
std::string Header() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char time[48];  // room for every value a WORD can hold
    std::snprintf(time, sizeof time, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    const TOsKind osKind = ClassifyWindowsVersion();
    return std::string("==== ") + time + " " + ProgramPath() + ", " + VersionName(osKind) + " (" +
           std::to_string(static_cast<int>(osKind)) + "), code page " + std::to_string(GetACP());
}

}  // namespace

TRunLog::TRunLog() {
    Quietly([this] {
        const std::string header = AsLines(Header());
        for (const auto& folder : {WindowsFolder(), TemporaryFolder()}) {
            path_ = folder.empty() ? std::string() : InFolder(folder, kRunLogName);
            if (!path_.empty() && Write(header)) {
                return;
            }
        }
        path_.clear();
    });
    theRunLog = this;
    AttachRunRecord(this);
}

TRunLog::~TRunLog() {
    AttachRunRecord(nullptr);
    theRunLog = nullptr;
}

int TRunLog::Returning(int exitCode) {
    ProcessEnding(static_cast<UINT>(exitCode));
    return exitCode;
}

// The file stays open for the run and each text is written through to it as it comes: a session that
// ends (the restart) may take the process down at any moment, and what happened up to then must be in
// the log. A log that cannot be written now is opened again for the next text.
bool TRunLog::Write(std::string_view text) {
    if (file_ && PastLimit(file_.get(), text.size())) {
        file_.reset();
    }
    if (!file_) {
        file_ = OpenLogForMore(path_, text.size());
    }
    return file_ && WriteAtEnd(file_.get(), text);
}

void TRunLog::Append(std::string_view text) {
    if (!path_.empty() && !ended_) {
        Quietly([&] { Write(text); });
    }
}

void TRunLog::Line(std::string_view line) {
    Append(AsLines(line));
}

void TRunLog::StandardOutput(std::string_view text) {
    Append(AsLines(text));
}

void TRunLog::MessageBox(std::string_view text) {
    const std::string indent(std::string_view(kMessageBoxLabel).size(), ' ');
    Append(kMessageBoxLabel + AsLines(text, indent));
}

// Nothing is written after the exit code: in the in-memory Windows the end of the process unwinds
// through the steps under way, which on Windows never end.
void TRunLog::ProcessEnding(UINT exitCode) {
    Line("exit code " + std::to_string(exitCode));
    ended_ = true;
    file_.reset();
}

TRunLog* RunLog() {
    return theRunLog;
}

TInstallStep::TInstallStep(std::string_view step) {
    if (auto* log = RunLog()) {
        log->Line("step: " + std::string(step));
    }
}

TInstallStep::~TInstallStep() {
    if (auto* log = RunLog()) {
        log->Line("outcome: " + (std::uncaught_exceptions() > exceptionsBefore_
                                     ? std::string("stopped by an error")
                                     : outcome_));
    }
}

void TInstallStep::Failed(DWORD error) {
    if (RunLog() != nullptr) {
        outcome_ = "failed: " + ReasonText(error);
    }
}

BOOL TInstallStep::Result(BOOL result, std::string_view failure) {
    if (!result && failure.empty()) {
        Failed(GetLastError());
    } else if (!result) {
        outcome_ = std::string(failure);
    }
    return result;
}
