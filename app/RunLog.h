// The log of each run, cvfir.log: what the program saw and did, for a user whose installation failed to
// send to support. It lies in the Windows folder, where support looks first; where that folder cannot be
// written (a user who is not an administrator), in Windows' folder for temporary files.
//
// Each run appends a header line (the date and time, the program's path, the Windows version as the
// wizard classifies it, the ANSI code page of its bytes), every line written to standard output as it
// was written, each install step as it begins and its outcome, the text of each message box, and the
// exit code. The file is held open for the run, each line written through as it comes, and closed as
// the process ends. A file that would grow
// past 256 KB becomes cvfir.old, in place of the one before, and a new cvfir.log is begun.
//
// Writing it never changes what the program does: a log that cannot be written is left out without a
// word, the last error is as it was, and Windows shows no box of its own for a drive without a disk.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "platform/HandleOwners.h"
#include "platform/RunRecord.h"
#include "platform/Types.h"

inline constexpr platform::DWORD kRunLogLimit = 256 * 1024;
inline constexpr const char* kRunLogName = "cvfir.log";
inline constexpr const char* kOlderRunLogName = "cvfir.old";

class TRunLog final : public platform::RunRecordSink {
public:
    // Finds the log's place, writes the header, and hears the run from then on.
    TRunLog();
    ~TRunLog();
    TRunLog(const TRunLog&) = delete;
    TRunLog& operator=(const TRunLog&) = delete;

    // The program returns `exitCode`, its message loop ended or its start-up failed; answers it. The end
    // of the loop is logged as the application is told to terminate, and only once.
    int Returning(int exitCode);
    // The log's full path; empty when it could be written nowhere.
    const std::string& Path() const { return path_; }

    // One line of the program's own, without its line end.
    void Line(std::string_view line);

    void StandardOutput(std::string_view text) override;
    void MessageBox(std::string_view text) override;
    void ProcessEnding(platform::UINT exitCode) override;

private:
    bool Write(std::string_view text);
    void Append(std::string_view text);

    std::string path_;
    platform::OwnedHandle file_;
    bool ended_ = false;
};

// The log of the run under way; null when none is kept, as for a window made on its own.
TRunLog* RunLog();

// An install step in the log: a line as it begins, and one with its outcome as it ends: "done" when it
// returns, "stopped by an error" when an exception leaves it (the exception box follows), or the outcome
// it was given. A step that ends the program has its message box and the exit code after it instead.
class TInstallStep {
public:
    explicit TInstallStep(std::string_view step);
    ~TInstallStep();
    TInstallStep(const TInstallStep&) = delete;
    TInstallStep& operator=(const TInstallStep&) = delete;

    void Outcome(std::string outcome) { outcome_ = std::move(outcome); }
    // The outcome "failed:" and the system's reason for `error`.
    void Failed(platform::DWORD error);
    // For a step that is one call answering whether it succeeded: "done", or else `failure`, or when
    // none is given "failed:" and the system's reason. Answers `result`; the last error stays as the
    // call left it. Written as `TInstallStep("...").Result(Call(...))`, the step begins before the call
    // is made: the object named before the call's arguments is made first.
    platform::BOOL Result(platform::BOOL result, std::string_view failure = {});

private:
    std::string outcome_ = "done";
    int exceptionsBefore_ = std::uncaught_exceptions();
};
