// The folder tree in the in-memory Windows: the first expansion of a folder of n subfolders, from the
// before-expansion event until its children are sorted. Filling is linear and sorting n log n, so the
// whole should grow as n log n.
#include <benchmark/benchmark.h>

#include <cstdio>

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

BENCHMARK(FillAndSortOneLevel)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
