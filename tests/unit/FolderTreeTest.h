// What the folder tree's tests share: a fresh in-memory Windows, a shown form to hold the tree, ways to
// find nodes by their texts, and the proof that nothing of the shell's is left.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "foldertree/Cvfoldertree.h"
#include "framework/Screen.h"
#include "framework/headless/Headless.h"
#include "platform/sim/World.h"

class FolderTreeTest : public ::testing::Test {
protected:
    using Shell = platform::sim::ShellNamespace;

    void SetUp() override {
        world = &platform::sim::ResetWorld();
        headless::Reset();
        new TApplication;
        host = new TForm(Application);
        host->Name = "Host";
        host->Show();
    }
    void TearDown() override {
        ExpectTheWindowAgrees();
        delete Application;
    }

    TCvFolderTree* MakeTree() {
        tree = new TCvFolderTree(host);
        tree->Name = "Tree";
        return tree;
    }
    TCvFolderTree* ActiveTree(SFolderOption options = {}) {
        MakeTree();
        tree->SetFolderOptions(options);
        tree->SetActive(true);
        return tree;
    }

    // The node reached from the desktop through children with these texts; null when there is none.
    TTreeNode* Find(const std::vector<std::string>& texts) {
        TTreeNode* node = tree->GetDesktopNode();
        for (const auto& text : texts) {
            TTreeNode* child = node != nullptr ? node->GetFirstChild() : nullptr;
            while (child != nullptr && child->Text() != text) {
                child = child->GetNextSibling();
            }
            node = child;
        }
        return node;
    }
    static std::vector<std::string> Texts(TTreeNode* parent) {
        std::vector<std::string> texts;
        for (TTreeNode* child = parent->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            texts.push_back(child->Text());
        }
        return texts;
    }
    const TFolderNode& Record(TTreeNode* node) { return *static_cast<const TFolderNode*>(node->Data()); }

    // The tree's own steps, which only the tree calls, worked one at a time.
    std::string GetPathName(platform::LPCITEMIDLIST list, platform::DWORD flags,
                            platform::IShellFolder* folder) {
        return tree->GetPathName(list, flags, folder);
    }
    TFilePathList GetLongFilePath(platform::LPCITEMIDLIST list, platform::IShellFolder* folder) {
        return tree->GetLongFilePath(list, folder);
    }
    TTreeNode* CreateFolderNode(platform::LPCITEMIDLIST list, TTreeNode* parent, bool force) {
        return tree->CreateFolderNode(list, parent, force);
    }
    bool AttachFolders(TTreeNode* node) { return tree->AttachFolders(node); }
    TTreeNode* GetSpecialNode(TFolderType type) { return tree->GetSpecialNode(type); }
    static char GetFirstDriveLetter(platform::DWORD mask) { return TCvFolderTree::GetFirstDriveLetter(mask); }
    void CheckPath() { tree->CheckPath(); }
    void DriveChanged(char drive, bool force) { tree->DriveChanged(tree, drive, force); }
    void RegisterChangeNotify() { tree->RegisterChangeNotify(); }
    void DeregisterChangeNotify() { tree->DeregisterChangeNotify(); }
    // The lists that the nodes own, still allocated.
    int NodeListBlocks() const { return tree->NodeListHeap.LiveBlocks(); }

    // The platform calls so far that begin so.
    int Calls(std::string_view start) {
        return static_cast<int>(
            std::count_if(world->calls.begin(), world->calls.end(),
                          [&](const std::string& line) { return line.starts_with(start); }));
    }

    // The message loop takes up what the shell posted, in order.
    void DeliverNotifications() {
        auto& posted = world->shell.posted;
        while (!posted.empty()) {
            const auto message = std::move(posted.front());
            posted.pop_front();
            headless::SendMessage(message.window, message.message, message.WParam(), message.lParam);
        }
    }
    // The shell announces an event about one or two items, and the tree takes it up.
    void Announce(platform::LONG event, std::string_view item1, std::string_view item2 = {},
                  bool interrupt = false) {
        world->shell.Notify(event, item1, item2, interrupt);
        DeliverNotifications();
    }

    // The tree's window shows every node as the tree holds it, in the tree's order, with its text,
    // button, pictures, overlay and expansion, and the tree's selection: nothing changed unannounced.
    void ExpectTheWindowAgrees() { EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty()); }
    // The texts of the rows a person sees, in order, each indented two blanks per level.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const auto& row : headless::VisibleRows(*tree)) {
            rows.push_back(std::string(2 * static_cast<std::size_t>(row.level), ' ') + row.text);
        }
        return rows;
    }

    // Every list and string that the shell handed out went back once, and no folder object is held.
    void ExpectNothingOfTheShellHeld() {
        const auto& shell = world->shell;
        EXPECT_EQ(shell.taskAllocator.Live(), 0u);
        EXPECT_EQ(shell.taskAllocator.StrayFrees(), 0);
        EXPECT_EQ(shell.liveFolders, 0);
        EXPECT_EQ(shell.liveEnumerators, 0);
    }

    // The same while the tree is active: what the shell handed out went back as soon as it was used.
    void ExpectNothingOfTheShellHeldButTheTree() {
        EXPECT_EQ(world->shell.taskAllocator.Live(), 0u);
        EXPECT_EQ(world->shell.taskAllocator.StrayFrees(), 0);
        EXPECT_EQ(world->shell.liveEnumerators, 0);
    }

    platform::sim::World* world = nullptr;
    TForm* host = nullptr;
    TCvFolderTree* tree = nullptr;
};
