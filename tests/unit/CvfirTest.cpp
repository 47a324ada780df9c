#include "tests/unit/CvfirTest.h"

#include "platform/CharacterScan.h"

using platform::HKEY_LOCAL_MACHINE;

namespace {

constexpr const char* kNineXKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

void WriteRelease(platform::sim::World& world, WindowsRelease release) {
    auto& registry = world.registry;
    registry.CreateKey(HKEY_LOCAL_MACHINE, kNineXKey).values.erase("Version");
    registry.DeleteKey(HKEY_LOCAL_MACHINE, kNtKey);
    world.UseWindowsNt();
    auto nt = [&](const char* version, const char* product) {
        registry.SetString(HKEY_LOCAL_MACHINE, kNtKey, "CurrentVersion", version);
        registry.SetString(HKEY_LOCAL_MACHINE, kNtKey, "ProductName", product);
    };
    auto nineX = [&](const char* version) {
        registry.SetString(HKEY_LOCAL_MACHINE, kNineXKey, "Version", version);
        world.UseWindows9x();
    };
    switch (release) {
        case WindowsRelease::Windows95:
            nineX("Windows 95");
            break;
        case WindowsRelease::Windows98:
            nineX("Windows 98");
            break;
        case WindowsRelease::WindowsMe:
            nineX("Windows Millennium Edition");
            break;
        case WindowsRelease::Windows2000:
            nt("5.0", "Microsoft Windows 2000");
            break;
        case WindowsRelease::WindowsXp:
            nt("5.1", "Microsoft Windows XP");
            break;
        case WindowsRelease::WindowsNt4:
            nt("4.0", "Microsoft Windows NT");
            break;
        case WindowsRelease::WindowsNt351:
            nt("3.51", "Microsoft Windows NT");
            break;
        case WindowsRelease::Windows7:
            nt("6.1", "Windows 7 Professional");
            break;
    }
    world.OfferCallsNewInXp(release == WindowsRelease::WindowsXp || release == WindowsRelease::Windows7);
}

}  // namespace

std::optional<unsigned> ExitCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::sim::ProcessExit& exit) {
        return exit.code;
    }
    return std::nullopt;
}

void CvfirTest::SetUp() {
    world = &platform::sim::ResetWorld();
    headless::Reset();
    UseRelease(WindowsRelease::WindowsXp);
    WriteSetupDat("0\r\n");
    WriteDriverInfs();
    new TApplication;
}

void CvfirTest::TearDown() {
    // Every window shows what its control holds: nothing changed without telling its window.
    EXPECT_THAT(headless::Disagreements(), ::testing::IsEmpty());
    delete Application;
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
}

void CvfirTest::CreateWindows() {
    Application->Initialize();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->CreateForm(Form3);
    Application->CreateForm(Form4);
}

void CvfirTest::StartUp() {
    CreateWindows();
    Application->ShowMainForm();
}

void CvfirTest::WriteSetupDat(const std::string& content) {
    world->files.AddFile("C:\\cvdisk\\setup.dat", content);
}

void CvfirTest::WriteDriverInfs(const std::string& programFolder) {
    constexpr const char* kInf =
        "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Infrared\r\n\r\n"
        "[Manufacturer]\r\n%Corvane%=Corvane,NTx86\r\n\r\n"
        "[Corvane.NTx86]\r\n%CvFir.DeviceDesc%=CvFir_Install,*CVN0510\r\n";
    for (const char* release : {"winme", "win2000", "winxp"}) {
        world->files.AddFile(programFolder + release + "\\cvfirdma.inf", kInf);
    }
}

void CvfirTest::UseRelease(WindowsRelease release) {
    WriteRelease(*world, release);
    if (release != WindowsRelease::Windows98) {
        return;
    }
    const std::string& program = world->programPath;
    const std::string disk = program.substr(0, platform::FindLastCharacter(program, "\\") + 1) + "win98\\";
    world->files.AddFile(disk + "cvfirdma.inf", "inf");
    world->files.AddFile(disk + "cvfirdma.sys", "sys");
    world->files.AddDrive('D');
    world->files.AddFile("D:\\WIN98\\NET8.CAB", "cabinet");
    world->registry.SetString(HKEY_LOCAL_MACHINE, kSetupKey, "SourcePath", "D:\\WIN98");
}

void CvfirTest::Press(TControl* button) {
    ASSERT_TRUE(headless::Click(*button)) << button->Name << " cannot be pressed";
}

void CvfirTest::WalkToInstallStep() {
    Press(Form2->Next);
    Press(Form2->Next);
}

std::vector<std::string> CvfirTest::MessageBoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : headless::MessageBoxes()) {
        texts.push_back(box.text);
    }
    return texts;
}
