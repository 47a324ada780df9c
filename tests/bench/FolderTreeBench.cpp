// The folder tree in the in-memory Windows, over a folder of n subfolders: its first expansion, from the
// before-expansion event until its children are sorted; emptying that level again; and destroying the
// tree with the level filled. Filling is linear and sorting n log n, taking nodes down linear, so each
// should grow as n log n at most. The run ends with each one's growth from 10,000 to 100,000 subfolders,
// and fails when one is more than twice that: then a test double has grown slower than what it stands
// for.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "foldertree/Cvfoldertree.h"
#include "framework/headless/Headless.h"
#include "platform/sim/World.h"

namespace {

// Names in no particular order, so that the sort has work to do.
std::string FolderName(int i) {
    const unsigned scrambled = static_cast<unsigned>(i) * 2654435761u;
    char name[32];
    std::snprintf(name, sizeof name, "Folder %08X %d", scrambled, i);
    return name;
}

// A world with C:\Big holding `count` subfolders, and the application whose forms hold the trees.
class BigFolder {
public:
    explicit BigFolder(int count) : count_(count) {
        auto& world = platform::sim::ResetWorld();
        headless::Reset();
        new TApplication;
        world.shell.keepJournal = false;
        world.files.AddDirectory("C:\\Big");
        for (int i = 0; i < count; ++i) {
            world.files.AddDirectory("C:\\Big\\" + FolderName(i));
        }
    }
    ~BigFolder() { delete Application; }
    BigFolder(const BigFolder&) = delete;
    BigFolder& operator=(const BigFolder&) = delete;

    // An active tree on a form of its own, its drive open, C:\Big not yet.
    TCvFolderTree* NewTree() {
        tree_ = new TCvFolderTree(new TForm(Application));
        tree_->SetActive(true);
        TTreeNode* drive = tree_->GetMyComputerNode()->GetFirstChild();
        drive->Expand(false);
        big_ = drive->GetFirstChild();
        while (big_ != nullptr && big_->Text() != "Big") {
            big_ = big_->GetNextSibling();
        }
        return tree_;
    }
    TTreeNode* Big() const { return big_; }
    // Whether C:\Big shows every subfolder, as the benchmarks rely on.
    bool Filled() const { return big_->Count() == count_; }

private:
    int count_;
    TCvFolderTree* tree_ = nullptr;
    TTreeNode* big_ = nullptr;
};

void FillAndSortOneLevel(benchmark::State& state) {
    BigFolder folder(static_cast<int>(state.range(0)));
    TCvFolderTree* tree = folder.NewTree();
    for (auto _ : state) {
        folder.Big()->Expand(false);
        state.PauseTiming();
        if (!folder.Filled()) {
            state.SkipWithError("the level was not filled");
            break;
        }
        folder.Big()->Collapse(false);
        tree->FreeChildren(folder.Big());
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

void EmptyOneLevel(benchmark::State& state) {
    BigFolder folder(static_cast<int>(state.range(0)));
    TCvFolderTree* tree = folder.NewTree();
    for (auto _ : state) {
        state.PauseTiming();
        folder.Big()->Expand(false);
        if (!folder.Filled()) {
            state.SkipWithError("the level was not filled");
            break;
        }
        folder.Big()->Collapse(false);
        state.ResumeTiming();
        tree->FreeChildren(folder.Big());
    }
    state.SetComplexityN(state.range(0));
}

void DestroyTheTree(benchmark::State& state) {
    BigFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TForm* host = static_cast<TForm*>(folder.NewTree()->Owner());
        folder.Big()->Expand(false);
        if (!folder.Filled()) {
            state.SkipWithError("the level was not filled");
            break;
        }
        state.ResumeTiming();
        delete host;
    }
    state.SetComplexityN(state.range(0));
}

constexpr std::int64_t kSmallLevel = 10000;
constexpr std::int64_t kLargeLevel = 100000;

void Levels(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)
        ->Arg(kSmallLevel)
        ->Arg(kLargeLevel)
        ->Repetitions(3)
        ->Complexity(benchmark::oNLogN)
        ->Unit(benchmark::kMillisecond);
}

// Emptying and destroying need a filled level before each run, which takes longer than the run itself:
// they run for a shorter time.
BENCHMARK(FillAndSortOneLevel)->Apply(Levels);
BENCHMARK(EmptyOneLevel)->Apply(Levels)->MinTime(0.1);
BENCHMARK(DestroyTheTree)->Apply(Levels)->MinTime(0.1);

// The console's report, keeping each benchmark's times by level: the processor time of one run, which
// other work on a shared machine disturbs least.
class GrowthReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.error_occurred) {
                failed_ = true;
            } else if (run.run_type == Run::RT_Iteration) {
                times_[run.run_name.function_name][run.complexity_n].push_back(run.GetAdjustedCPUTime());
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints, for each benchmark, how much longer the large level took than the small one, against what
    // n log n predicts: the first expansion's line first, then one for each of the others. False when a
    // run failed, or when a growth is more than twice the prediction. A benchmark that left either level
    // out (a filter) prints nothing.
    bool ReportGrowth() {
        if (failed_) {
            std::printf("in-memory growth: not measured, a benchmark failed\n");
            return false;
        }
        bool withinReason = true;
        for (const char* name : {"FillAndSortOneLevel", "EmptyOneLevel", "DestroyTheTree"}) {
            auto& levels = times_[name];
            if (levels[kSmallLevel].empty() || levels[kLargeLevel].empty()) {
                continue;
            }
            const double predicted = Growth(kLargeLevel) / Growth(kSmallLevel);
            const double ratio = Median(levels[kLargeLevel]) / Median(levels[kSmallLevel]);
            const std::string what =
                name == std::string("FillAndSortOneLevel") ? "" : std::string(", ") + name;
            std::printf("in-memory growth%s: 10,000 -> 100,000 subfolders x %.1f (n log n predicts %.1f)\n",
                        what.c_str(), ratio, predicted);
            withinReason = withinReason && ratio <= 2 * predicted;
        }
        return withinReason;
    }

private:
    static double Growth(std::int64_t n) {
        return static_cast<double>(n) * std::log2(static_cast<double>(n));
    }
    static double Median(std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    }

    std::map<std::string, std::map<std::int64_t, std::vector<double>>> times_;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.ReportGrowth() ? 0 : 1;
}
