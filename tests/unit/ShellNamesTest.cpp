// The names of a shell item: each of the three as its folder answers it, in every form of answer.
#include <algorithm>
#include <array>

#include "foldertree/ShellNames.h"
#include "platform/ItemIdList.h"
#include "tests/unit/FolderTreeTest.h"

using namespace platform;
using platform::sim::NameForm;

namespace {

class ShellNames : public FolderTreeTest {
protected:
    void SetUp() override {
        FolderTreeTest::SetUp();
        world->files.AddDirectory("C:\\Tools");
        MakeTree();
        ComPtr<IShellFolder> desktop;
        SHGetDesktopFolder(desktop.put());
        LPITEMIDLIST drive = Parse(*desktop, u"C:\\");
        desktop->BindToObject(drive, nullptr, IID_IShellFolder, reinterpret_cast<void**>(driveFolder.put()));
        CoTaskMemFree(drive);
        tools = Parse(*driveFolder, u"Tools");
    }
    void TearDown() override {
        CoTaskMemFree(tools);
        driveFolder.reset();
        FolderTreeTest::TearDown();
    }
    static LPITEMIDLIST Parse(IShellFolder& folder, const char16_t* name) {
        LPITEMIDLIST list = nullptr;
        std::u16string text(name);
        folder.ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &list, nullptr);
        return list;
    }
    // The flags of each name query, in order.
    std::vector<std::string> Queries() const {
        std::vector<std::string> queries;
        for (const auto& line : world->shell.journal) {
            if (line.starts_with("GetDisplayNameOf")) {
                queries.push_back(line.substr(line.rfind(' ') + 1));
            }
        }
        return queries;
    }
    std::string Ask(DWORD flags) {
        world->shell.journal.clear();
        return GetPathName(tools, flags, driveFolder.get());
    }

    ComPtr<IShellFolder> driveFolder;
    LPITEMIDLIST tools = nullptr;
};

struct NameCase {
    DWORD flags;
    NameForm form;
    std::string expected;
    std::vector<std::string> queries;
};

TEST_F(ShellNames, EachFormOfAnswerGivesItsTextAndOnlyANormalNameWithoutOneIsAskedAgain) {
    const std::vector<NameCase> cases{
        {SHGDN_INFOLDER, NameForm::Wide, "Tools", {"0x1"}},
        {SHGDN_INFOLDER, NameForm::CStr, "Tools", {"0x1"}},
        {SHGDN_INFOLDER, NameForm::Offset, "Tools", {"0x1"}},  // read from the list passed in
        {SHGDN_INFOLDER, NameForm::Fails, "", {"0x1"}},
        {SHGDN_INFOLDER, NameForm::WideWithoutString, "", {"0x1"}},
        {SHGDN_INFOLDER, NameForm::UnknownType, "", {"0x1"}},
        {SHGDN_FORPARSING, NameForm::Fails, "", {"0x8000"}},
        {SHGDN_FORPARSING, NameForm::WideWithoutString, "", {"0x8000"}},
        {SHGDN_NORMAL, NameForm::Wide, "Tools", {"0x0"}},
        {SHGDN_NORMAL, NameForm::WideWithoutString, "C:\\Tools", {"0x0", "0x8000"}},
        {SHGDN_NORMAL, NameForm::Fails, "C:\\Tools", {"0x0", "0x8000"}},
    };
    for (const auto& c : cases) {
        auto& item = world->shell.Item("C:\\Tools");
        item = {};
        (c.flags == SHGDN_INFOLDER ? item.inFolder
         : c.flags == SHGDN_NORMAL ? item.normal
                                   : item.parsing)
            .form = c.form;
        EXPECT_EQ(Ask(c.flags), c.expected) << "flags " << c.flags << " form " << static_cast<int>(c.form);
        EXPECT_EQ(Queries(), c.queries) << "flags " << c.flags << " form " << static_cast<int>(c.form);
    }
}

TEST_F(ShellNames, AWideAnswerIsConvertedWithTheCodePageAndItsStringGoesBackToTheTaskAllocator) {
    world->shell.Item("C:\\Tools").inFolder.wideText = u"Caf\u00E9 \u65E5\u672C";
    const auto before = world->shell.taskAllocator.Frees();
    EXPECT_EQ(Ask(SHGDN_INFOLDER), "Caf\xE9 ??");
    EXPECT_EQ(world->shell.taskAllocator.Frees(), before + 1);
    EXPECT_EQ(world->shell.taskAllocator.Live(), 1u);  // the item's own list, freed by the test
    EXPECT_EQ(world->shell.taskAllocator.StrayFrees(), 0);
    // A name of ASCII alone comes as it stands, and the first character past it goes through the code
    // page, which has no byte for it; one longer than two paths comes whole.
    world->shell.Item("C:\\Tools").inFolder.wideText = u"Setup~\u007F";
    EXPECT_EQ(Ask(SHGDN_INFOLDER), "Setup~\x7F");
    world->shell.Item("C:\\Tools").inFolder.wideText = u"Setup\u0080";
    EXPECT_EQ(Ask(SHGDN_INFOLDER), "Setup?");
    world->shell.Item("C:\\Tools").inFolder.wideText = std::u16string(600, u'\u00E9') + u"!";
    EXPECT_EQ(Ask(SHGDN_INFOLDER), std::string(600, '\xE9') + "!");
}

TEST_F(ShellNames, WithoutAFolderTheDesktopNamesAnAbsoluteList) {
    ComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop.put());
    LPITEMIDLIST absolute = Parse(*desktop, u"C:\\Tools");
    world->shell.journal.clear();
    const TFilePathList names = GetLongFilePath(absolute, nullptr);
    EXPECT_EQ(names.DisplayName, "Tools");
    EXPECT_EQ(names.ParsingName, "C:\\Tools");
    EXPECT_EQ(names.InFolderName, "Tools");
    EXPECT_EQ(Queries(), (std::vector<std::string>{"0x0", "0x8000", "0x1"}));
    CoTaskMemFree(absolute);
}

// An offset answer points into the list asked about; it is read no further than the list's terminator,
// whatever bytes follow it.
TEST(StrRetOffset, IsReadNoFurtherThanTheListsTerminator) {
    // One item of five bytes (its count, "AB" and a zero), the list's two-byte terminator, then "X".
    const std::array<BYTE, 10> bytes{5, 0, 'A', 'B', 0, 0, 0, 'X', 0, 0};
    const auto* list = reinterpret_cast<LPCITEMIDLIST>(bytes.data());
    const std::vector<std::pair<UINT, std::string>> cases{{2, "AB"}, {6, ""}, {7, ""}, {300, ""}};
    for (const auto& [offset, text] : cases) {
        STRRET answer{};
        answer.uType = STRRET_OFFSET;
        answer.uOffset = offset;
        EXPECT_EQ(StrRetText(answer, list), text) << offset;
    }
}

}  // namespace
