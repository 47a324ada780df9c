// The folder tree in the in-memory Windows: the first expansion of a folder of n subfolders, from the
// before-expansion event until its children are sorted. Filling is linear and sorting n log n, so the
// whole should grow as n log n; the run ends with the growth from 10,000 to 100,000 subfolders, and
// fails when it is more than twice that.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
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

void FillAndSortOneLevel(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    auto& world = platform::sim::ResetWorld();
    headless::Reset();
    new TApplication;
    world.shell.keepJournal = false;
    world.files.AddDirectory("C:\\Big");
    for (int i = 0; i < count; ++i) {
        world.files.AddDirectory("C:\\Big\\" + FolderName(i));
    }
    auto* host = new TForm(Application);
    auto* tree = new TCvFolderTree(host);
    tree->SetActive(true);
    TTreeNode* drive = tree->GetMyComputerNode()->GetFirstChild();
    drive->Expand(false);
    TTreeNode* big = drive->GetFirstChild();
    while (big != nullptr && big->Text() != "Big") {
        big = big->GetNextSibling();
    }
    for (auto _ : state) {
        big->Expand(false);
        state.PauseTiming();
        if (big->Count() != count) {
            state.SkipWithError("the level was not filled");
            break;
        }
        big->Collapse(false);
        tree->FreeChildren(big);
        state.ResumeTiming();
    }
    state.SetComplexityN(count);
    delete Application;
}

constexpr std::int64_t kSmallLevel = 10000;
constexpr std::int64_t kLargeLevel = 100000;

BENCHMARK(FillAndSortOneLevel)
    ->Arg(1000)
    ->Arg(kSmallLevel)
    ->Arg(kLargeLevel)
    ->Repetitions(3)
    ->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

// The console's report, keeping each level's times: the processor time of one expansion, which other
// work on a shared machine disturbs least.
class GrowthReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.error_occurred) {
                failed_ = true;
            } else if (run.run_type == Run::RT_Iteration) {
                times_[run.complexity_n].push_back(run.GetAdjustedCPUTime());
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints how much longer the large level took than the small one, against what n log n predicts.
    // False when a run failed, or when the growth is more than twice the prediction. A run that left
    // either level out (a filter) prints nothing.
    bool ReportGrowth() {
        if (failed_) {
            std::printf("in-memory growth: not measured, a benchmark failed\n");
            return false;
        }
        if (times_[kSmallLevel].empty() || times_[kLargeLevel].empty()) {
            return true;
        }
        const double predicted = Growth(kLargeLevel) / Growth(kSmallLevel);
        const double ratio = Median(times_[kLargeLevel]) / Median(times_[kSmallLevel]);
        std::printf("in-memory growth: 10,000 -> 100,000 subfolders x %.1f (n log n predicts %.1f)\n", ratio,
                    predicted);
        return ratio <= 2 * predicted;
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

    std::map<std::int64_t, std::vector<double>> times_;
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
