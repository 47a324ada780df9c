// Runs every case on this side. A case listed as a known difference of this side must still fail here:
// one that passes has stopped differing and is to be taken off the list.
//
//   cvcontract [-v]   -v: also the failed checks of the known differences
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"
#include "tests/contract/KnownDifferences.h"

namespace contract {

namespace {

struct Case {
    const char* name;
    CaseFunction run;
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

Registration::Registration(const char* name, CaseFunction run) {
    Cases().push_back(Case{name, run});
}

void Fail(const char* file, int line, const std::string& what) {
    const char* slash = std::strrchr(file, '/');
    failures->push_back(std::string(slash != nullptr ? slash + 1 : file) + ":" + std::to_string(line) + ": " +
                        what);
}

int RunAll(bool verbose) {
    std::sort(Cases().begin(), Cases().end(),
              [](const Case& a, const Case& b) { return std::strcmp(a.name, b.name) < 0; });
    int passed = 0;
    int failed = CheckListedNames();
    std::vector<const KnownDifference*> known;
    for (const auto& test : Cases()) {
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
    std::printf("contract (%s): %d passed, %d failed, %d known differences\n", SideName(), passed, failed,
                static_cast<int>(known.size()));
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

}  // namespace contract

int main(int argc, char** argv) {
    return contract::RunAll(argc > 1 && std::strcmp(argv[1], "-v") == 0);
}
