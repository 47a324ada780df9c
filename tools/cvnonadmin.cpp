// cvnonadmin: runs a program as a user who is not an administrator would, under Wine, where every
// process otherwise runs as one: its token is the tool's own with the Administrators group kept for
// denying access only, so that CheckTokenMembership answers FALSE for it in the program.
//
//   cvnonadmin PROGRAM     PROGRAM: a full Windows path; it runs in its own folder
//
// The program inherits the tool's standard output and error. The tool waits for it and ends with its
// exit code; with kFailed, and a line on stderr, when it could not start it.
#include "cvtool.h"

namespace {

// The caller's token, its Administrators group made deny-only; null on failure.
HANDLE TokenWithoutAdministrators() {
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own)) {
        cvtool::FailLastError("OpenProcessToken");
        return nullptr;
    }
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    HANDLE restricted = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &administrators)) {
        cvtool::FailLastError("AllocateAndInitializeSid");
    } else {
        SID_AND_ATTRIBUTES disabled{administrators, 0};
        if (!CreateRestrictedToken(own, 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted)) {
            cvtool::FailLastError("CreateRestrictedToken");
            restricted = nullptr;
        }
        FreeSid(administrators);
    }
    CloseHandle(own);
    return restricted;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return cvtool::Complain(cvtool::kUsage, "usage: cvnonadmin PROGRAM");
    const std::string program = argv[1];
    const auto slash = program.find_last_of('\\');
    if (slash == std::string::npos)
        return cvtool::Complain(cvtool::kUsage, "cvnonadmin: PROGRAM must be a full path");
    const std::string folder = program.substr(0, slash + 1);
    HANDLE token = TokenWithoutAdministrators();
    if (token == nullptr)
        return cvtool::kFailed;

    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessAsUserA(token, program.c_str(), commandLine.data(), nullptr, nullptr,
                                              TRUE, 0, nullptr, folder.c_str(), &startup, &process);
    CloseHandle(token);
    if (!started)
        return cvtool::FailLastError("CreateProcessAsUserA");
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = cvtool::kFailed;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}
