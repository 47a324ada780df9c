// One copy of the setup at a time: a copy started while another runs ends with 1 before it makes a
// window or touches a file, and says why in its log.
#include "app/Main.h"
#include "tests/unit/CvfirTest.h"

using ::testing::EndsWith;

namespace {

constexpr const char* kParkedCabinet = "C:\\WINDOWS\\Driver Cache\\driver.cab";

struct SecondStart {
    const char* name;
    WindowsRelease release;
    const char* runningMark;  // the running copy's mutex, as named on that release
    bool otherUser;           // made in another user's session, which this user may not open
};

class OneCopy : public CvfirTest, public ::testing::WithParamInterface<SecondStart> {};

// On Me the running copy may have the driver cabinet parked for its update: it stays so.
TEST_P(OneCopy, ASecondStartEndsWithOneBeforeAnyWindowOrFile) {
    UseRelease(GetParam().release);
    world->mutexes[GetParam().runningMark] = {1, GetParam().otherUser};
    world->files.AddFile(kParkedCabinet, "parked by the running copy's update");
    headless::Post([] { FAIL() << "the message loop ran"; });
    EXPECT_EQ(CvfirMain(), 1);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_TRUE(world->files.Exists(kParkedCabinet));
    EXPECT_THAT(world->files.Read("C:\\WINDOWS\\cvfir.log").value_or(""),
                EndsWith("another copy of the setup program is running: its windows come to the front, and "
                         "this one ends\r\nexit code 1\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Releases, OneCopy,
    ::testing::Values(SecondStart{"Xp", WindowsRelease::WindowsXp, "Global\\Corvane FIR driver setup", false},
                      SecondStart{"XpAnotherUsersSession", WindowsRelease::WindowsXp,
                                  "Global\\Corvane FIR driver setup", true},
                      SecondStart{"Windows98", WindowsRelease::Windows98, "Corvane FIR driver setup", false},
                      SecondStart{"WindowsMe", WindowsRelease::WindowsMe, "Corvane FIR driver setup", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
