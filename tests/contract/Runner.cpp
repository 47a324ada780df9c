// Runs every case on this side. A case listed as a known difference of this side must still fail here:
// one that passes has stopped differing and is to be taken off the list.
//
//   cvcontract [-v] [--code-page N] [GROUP...]
//     -v              also the failed checks of the known differences
//     --code-page N   the system's ANSI code page: chosen on the in-memory Windows; on the real API the
//                     user's locale chose it, and a different one ends the run with 2
//     GROUP           only the cases whose names begin with GROUP (Compare, CodePage, Chars, ...)
// The cases of another code page than the system's are left out.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"
#include "tests/contract/KnownDifferences.h"

namespace contract {

namespace {

struct Case {
    const char* name;
    CaseFunction run;
    unsigned codePage;
    Reach reach;
};

// What the command line asks for.
struct Options {
    bool verbose = false;
    unsigned codePage = 0;  // none asked for: the system's own
    std::vector<std::string> groups;
};

std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

std::vector<std::string>* failures = nullptr;  // of the running case

const KnownDifference* KnownDifferenceOf(const char* name) {
    for (const auto& difference : KnownDifferences()) {
        if (difference.caseName == name && difference.side == SideName()) {
            return &difference;
        }
    }
    return nullptr;
}

std::vector<std::string> Run(const Case& test) {
    std::vector<std::string> found;
    failures = &found;
    BeginCase();
    try {
        test.run();
    } catch (const Abort&) {
    }
    EndCase();
    failures = nullptr;
    return found;
}

void PrintFailures(const std::vector<std::string>& found) {
    for (const auto& failure : found) {
        std::printf("    %s\n", failure.c_str());
    }
}

// A known difference names a case that exists, once per side.
int CheckListedNames() {
    int wrong = 0;
    for (const auto& difference : KnownDifferences()) {
        const bool exists = std::any_of(Cases().begin(), Cases().end(),
                                        [&](const Case& test) { return difference.caseName == test.name; });
        if (!exists) {
            std::printf("FAIL the known differences name no case %.*s\n",
                        static_cast<int>(difference.caseName.size()), difference.caseName.data());
            ++wrong;
        }
    }
    return wrong;
}

}  // namespace

Registration::Registration(const char* name, CaseFunction run, unsigned codePage, Reach reach) {
    Cases().push_back(Case{name, run, codePage, reach});
}

void Fail(const char* file, int line, const std::string& what) {
    const char* slash = std::strrchr(file, '/');
    failures->push_back(std::string(slash != nullptr ? slash + 1 : file) + ":" + std::to_string(line) + ": " +
                        what);
}

namespace {

bool Selected(const Case& test, const Options& options) {
    if (test.codePage != 0 && test.codePage != options.codePage) {
        return false;
    }
    return options.groups.empty() ||
           std::any_of(options.groups.begin(), options.groups.end(), [&](const std::string& group) {
               return std::string_view(test.name).starts_with(group);
           });
}

}  // namespace

int RunAll(const Options& options) {
    const bool verbose = options.verbose;
    std::sort(Cases().begin(), Cases().end(),
              [](const Case& a, const Case& b) { return std::strcmp(a.name, b.name) < 0; });
    int passed = 0;
    int documented = 0;  // of the passed cases, those of Windows 98 and Me as documented
    int failed = CheckListedNames();
    std::vector<const KnownDifference*> known;
    for (const auto& test : Cases()) {
        if (!Selected(test, options)) {
            continue;
        }
        const auto found = Run(test);
        const KnownDifference* difference = KnownDifferenceOf(test.name);
        if (difference != nullptr && !found.empty()) {
            ++passed;
            known.push_back(difference);
            if (verbose) {
                std::printf("known %s\n", test.name);
                PrintFailures(found);
            }
        } else if (difference != nullptr) {
            ++failed;
            std::printf("FAIL %s: listed as a known difference here, but it passes\n", test.name);
        } else if (found.empty()) {
            ++passed;
            documented += test.reach == Reach::Windows9xDocumented ? 1 : 0;
        } else {
            ++failed;
            std::printf("FAIL %s\n", test.name);
            PrintFailures(found);
        }
    }
    for (const auto* difference : known) {
        std::printf("known difference: %.*s: %.*s\n", static_cast<int>(difference->caseName.size()),
                    difference->caseName.data(), static_cast<int>(difference->reason.size()),
                    difference->reason.data());
    }
    const std::string codePage =
        options.codePage == 1252 ? std::string() : ", code page " + std::to_string(options.codePage);
    const std::string ofWindows9x =
        documented == 0 ? std::string()
                        : " (" + std::to_string(documented) + " of them as Windows 98 and Me are documented)";
    std::printf("contract (%s%s): %d passed%s, %d failed, %d known differences\n", SideName(),
                codePage.c_str(), passed, ofWindows9x.c_str(), failed, static_cast<int>(known.size()));
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

}  // namespace contract

int main(int argc, char** argv) {
    contract::Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-v") == 0) {
            options.verbose = true;
        } else if (std::strcmp(argv[i], "--code-page") == 0 && i + 1 < argc) {
            options.codePage = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            options.groups.emplace_back(argv[i]);
        }
    }
    if (options.codePage == 0) {
        options.codePage = platform::GetACP();
    } else if (!contract::UseCodePage(options.codePage)) {
        std::printf("contract: the system's code page is %u, not %u\n", platform::GetACP(), options.codePage);
        return 2;
    }
    return contract::RunAll(options);
}
