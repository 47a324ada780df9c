// The Windows version, as the registry tells it.
#include "tests/unit/CvfirTest.h"

#include "app/WindowsVersion.h"

using platform::HKEY_LOCAL_MACHINE;

namespace {

constexpr const char* kNineXKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";

struct VersionCase {
    const char* version;         // "Version" of the 9x key; null: none
    const char* currentVersion;  // of the NT key; null: none
    const char* productName;     // of the NT key; null: none
    TOsKind osKind;
    friend std::ostream& operator<<(std::ostream& out, const VersionCase& c) {
        auto text = [](const char* t) {
            return t ? ::testing::PrintToString(std::string(t)) : std::string("none");
        };
        return out << text(c.version) << "/" << text(c.currentVersion) << "/" << text(c.productName) << " -> "
                   << static_cast<int>(c.osKind);
    }
};

class WindowsVersion : public ::testing::TestWithParam<VersionCase> {
protected:
    void SetUp() override { world = &platform::sim::ResetWorld(); }
    void Set(const char* key, const char* name, const char* text) {
        world->registry.CreateKey(HKEY_LOCAL_MACHINE, key);
        if (text != nullptr) {
            world->registry.SetString(HKEY_LOCAL_MACHINE, key, name, text);
        }
    }
    platform::sim::World* world = nullptr;
};

TEST_P(WindowsVersion, IsClassifiedByItsVersionStrings) {
    const auto& c = GetParam();
    if (c.osKind == TOsKind::Windows98 || c.osKind == TOsKind::WindowsMe) {
        world->UseWindows9x();  // whose registry checks no access
    }
    Set(kNineXKey, "Version", c.version);
    Set(kNtKey, "CurrentVersion", c.currentVersion);
    Set(kNtKey, "ProductName", c.productName);
    EXPECT_EQ(ClassifyWindowsVersion(), c.osKind);
    EXPECT_EQ(world->registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Releases, WindowsVersion,
    ::testing::Values(VersionCase{"Windows 98", nullptr, nullptr, TOsKind::Windows98},
                      VersionCase{"windows 98 second edition", nullptr, nullptr, TOsKind::Windows98},
                      VersionCase{"Windows 98", "5.1", "Microsoft Windows XP", TOsKind::Windows98},
                      VersionCase{"Windows 9", nullptr, nullptr, TOsKind::NotRecognised},
                      VersionCase{"Windows Millennium Edition", nullptr, nullptr, TOsKind::WindowsMe},
                      VersionCase{"WINDOWS MILLENNIUM EDITIO", nullptr, nullptr, TOsKind::WindowsMe},
                      VersionCase{"Windows Millennium Editi", nullptr, nullptr, TOsKind::NotRecognised},
                      VersionCase{nullptr, "5.0", "Microsoft Windows 2000", TOsKind::Windows2000},
                      VersionCase{nullptr, "4.0", nullptr, TOsKind::WindowsNt4},
                      // only the first three characters count
                      VersionCase{nullptr, "4.00", nullptr, TOsKind::WindowsNt4},
                      VersionCase{nullptr, "5.00", nullptr, TOsKind::Windows2000},
                      VersionCase{nullptr, "3.51", nullptr, TOsKind::WindowsNt351},
                      VersionCase{nullptr, "3.5", nullptr, TOsKind::NotRecognised},
                      VersionCase{nullptr, "5.1", "Microsoft Windows XP", TOsKind::WindowsXp},
                      VersionCase{"", "5.1", "microsoft windows xp professional", TOsKind::WindowsXp},
                      VersionCase{nullptr, "5.2", "Microsoft Windows Server 2003", TOsKind::NotRecognised},
                      VersionCase{nullptr, "6.1", "Windows 7 Professional", TOsKind::NotRecognised},
                      VersionCase{nullptr, "5.1", nullptr, TOsKind::NotRecognised},
                      VersionCase{nullptr, nullptr, nullptr, TOsKind::NotRecognised}));

TEST_F(WindowsVersion, AMissingKeyGivesZero) {
    EXPECT_EQ(ClassifyWindowsVersion(), TOsKind::NotRecognised);
    Set(kNineXKey, "Version", "Windows 2000");
    EXPECT_EQ(ClassifyWindowsVersion(), TOsKind::NotRecognised);
}

// A missing value reads as empty: it never matches what an earlier value left in the buffer.
TEST_F(WindowsVersion, AMissingValueMatchesNothing) {
    for (const char* earlier : {"5.0", "Microsoft Windows XP"}) {
        Set(kNineXKey, "Version", earlier);
        Set(kNtKey, "CurrentVersion", nullptr);
        Set(kNtKey, "ProductName", nullptr);
        EXPECT_EQ(ClassifyWindowsVersion(), TOsKind::NotRecognised) << earlier;
    }
}

// A value longer than the 100-byte buffer is cut to it: its first characters still decide.
TEST_F(WindowsVersion, AValueLongerThanTheBufferIsCutNotOverrun) {
    Set(kNineXKey, "Version", ("Windows 98" + std::string(500, 'x')).c_str());
    EXPECT_EQ(ClassifyWindowsVersion(), TOsKind::Windows98);
    Set(kNineXKey, "Version", std::string(100, 'x').c_str());
    Set(kNtKey, "CurrentVersion", "5.1");
    Set(kNtKey, "ProductName", ("Microsoft Windows XP" + std::string(200, ' ')).c_str());
    EXPECT_EQ(ClassifyWindowsVersion(), TOsKind::WindowsXp);
}

// A value of exactly the buffer's 100 bytes, without a terminating zero, loses its last byte to one.
TEST_F(WindowsVersion, AValueOfExactlyTheBuffersSizeKeepsNinetyNineCharacters) {
    std::string text = "Windows 98" + std::string(90, 'x');
    ASSERT_EQ(text.size(), 100u);
    world->registry.SetValue(HKEY_LOCAL_MACHINE, kNineXKey, "Version", platform::REG_BINARY,
                             std::vector<platform::BYTE>(text.begin(), text.end()));
    EXPECT_EQ(ClassifyWindowsVersion(), TOsKind::Windows98);
}

TEST_F(WindowsVersion, TheValuesTypeIsIgnored) {
    world->registry.SetValue(HKEY_LOCAL_MACHINE, kNineXKey, "Version", platform::REG_BINARY,
                             {'W', 'i', 'n', 'd', 'o', 'w', 's', ' ', '9', '8'});
    EXPECT_EQ(ClassifyWindowsVersion(), TOsKind::Windows98);
}

}  // namespace
