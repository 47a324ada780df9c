// Any bytes as a path for the folder tree, in Windows-1252, Shift-JIS or Big5 by the input's length: the
// splitting keeps every byte of the path but a separator at its start, each component in its place
// between separators, and a separator is never the second byte of a character; finding the path, with
// and without loading, and selecting it read no text beyond its end, never fail, and give back every
// list the shell handed out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "foldertree/Cvfoldertree.h"
#include "foldertree/PathComponents.h"
#include "framework/Forms.h"
#include "framework/headless/Headless.h"
#include "platform/AsciiCase.h"
#include "platform/CharacterScan.h"
#include "platform/sim/World.h"

namespace {

// One active tree over a small namespace, with every root shown, built once for the whole run.
struct Fixture {
    platform::sim::World* world;
    TCvFolderTree* tree;
    std::string desktopPath;

    Fixture() {
        world = &platform::sim::ResetWorld();
        world->shell.keepJournal = false;
        for (const char* folder : {"C:\\WINDOWS\\SYSTEM\\IOSUBSYS", "C:\\Program Files\\Common Files",
                                   "D:\\SETUP\\WIN98", "C:\\Caf\xE9"}) {
            world->files.AddDirectory(folder);
        }
        world->files.AddDirectory(world->shell.desktopDirectory + "\\Tools");
        world->shell.network = {{"SERVER", {"share", "cd"}}, {"PRINTHOST", {}}};
        headless::Reset();
        new TApplication;
        auto* host = new TForm(Application);
        host->Show();
        tree = new TCvFolderTree(host);
        tree->SetFolderOptions({foNetworkNeighborhood, foRecycleBin});
        tree->SetActive(true);
        desktopPath = platform::AsciiLower(world->shell.desktopDirectory);
    }
};

bool IsSeparator(char c) {
    return c == '\\' || c == ':';
}

// Where the characters of `text` begin, one flag a byte.
std::vector<bool> CharacterStarts(const std::string& text) {
    std::vector<bool> starts(text.size(), false);
    for (std::size_t at = 0; at < text.size(); at += platform::CharacterSize(text, at)) {
        starts[at] = true;
    }
    return starts;
}

// The components, with the one separator between each two, spell the path; only a separator at its
// very start can be left over.
void CheckSplitting(const std::string& lowered, const std::string& desktopPath) {
    const auto components = SplitFolderPath(lowered, desktopPath);
    std::size_t spelled = components.empty() ? 0 : components.size() - 1;
    for (const auto& component : components) {
        if (component.empty()) {
            std::abort();
        }
        spelled += component.size();
    }
    const std::size_t start = lowered.size() - spelled;
    if (spelled > lowered.size() || start > 1 || (start == 1 && !IsSeparator(lowered[0]))) {
        std::abort();
    }
    const std::vector<bool> characterStarts = CharacterStarts(lowered);
    std::string rebuilt = lowered.substr(0, start);
    for (const auto& component : components) {
        if (rebuilt.size() > start) {
            if (!IsSeparator(lowered[rebuilt.size()]) || !characterStarts[rebuilt.size()]) {
                std::abort();
            }
            rebuilt.push_back(lowered[rebuilt.size()]);
        }
        rebuilt.append(component);
    }
    if (rebuilt != lowered) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    static constexpr platform::UINT kCodePages[] = {1252, 932, 950};
    fixture.world->UseCodePage(kCodePages[size % 3]);
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string lowered = platform::AsciiLower(path);
    if (lowered.size() != path.size()) {
        std::abort();
    }
    CheckSplitting(lowered, fixture.desktopPath);

    TCvFolderTree& tree = *fixture.tree;
    TTreeNode* exact = tree.FindPath(path, true);
    TTreeNode* deepest = tree.FindPath(path, false);
    // The whole path's node is also the deepest one matched.
    if (exact != nullptr && deepest != exact) {
        std::abort();
    }
    tree.SetDirectory(path);
    const auto& allocator = fixture.world->shell.taskAllocator;
    if (allocator.Live() != 0 || allocator.StrayFrees() != 0) {
        std::abort();
    }
    fixture.world->ForgetRecords();
    headless::ForgetRecords();
    return 0;
}
