// One copy of the setup at a time: a copy started while another runs ends with 1 before it makes a
// window or touches a file, brings the other's windows forward and says why in the log; the running copy
// keeps its mark until it ends.
#include "app/Main.h"
#include "tests/unit/CvfirTest.h"

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;

namespace {

constexpr const char* kParkedCabinet = "C:\\WINDOWS\\Driver Cache\\driver.cab";

struct SecondStart {
    const char* name;
    WindowsRelease release;
    const char* runningMark;  // the running copy's mutex, as named on that release
    bool otherUser;           // made in another user's session, which this user may not open
    friend std::ostream& operator<<(std::ostream& out, const SecondStart& c) { return out << c.name; }
};

class OneCopy : public CvfirTest, public ::testing::WithParamInterface<SecondStart> {};

TEST_P(OneCopy, ASecondStartEndsWithOneBeforeAnyWindowOrFile) {
    UseRelease(*world, GetParam().release);
    world->mutexes[GetParam().runningMark] = {1, GetParam().otherUser};
    world->files.AddFile(kParkedCabinet, "parked by the running copy's update");
    headless::Post([] { FAIL() << "the message loop ran"; });
    EXPECT_EQ(CvfirMain(), 1);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_TRUE(world->files.Exists(kParkedCabinet));
    EXPECT_THAT(world->files.Read("C:\\WINDOWS\\cvfir.log").value_or(""),
                EndsWith("another copy of the setup program is running: its windows come to the front, and "
                         "this one ends\r\nexit code 1\r\n"));
    EXPECT_THAT(headless::Journal(),
                ElementsAre("another copy to the front: Corvane Electronics Corp. FIR driver Installation"));
}

INSTANTIATE_TEST_SUITE_P(
    Releases, OneCopy,
    ::testing::Values(SecondStart{"Xp", WindowsRelease::WindowsXp, "Global\\Corvane FIR driver setup", false},
                      SecondStart{"XpAnotherUsersSession", WindowsRelease::WindowsXp,
                                  "Global\\Corvane FIR driver setup", true},
                      SecondStart{"Windows98", WindowsRelease::Windows98, "Corvane FIR driver setup", false},
                      SecondStart{"WindowsMe", WindowsRelease::WindowsMe, "Corvane FIR driver setup", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CvfirTest, TheRunningCopyHoldsItsMarkUntilItEnds) {
    headless::Post([this] {
        EXPECT_THAT(world->mutexHandles,
                    Contains(::testing::Pair(::testing::_, "Global\\Corvane FIR driver setup")));
    });
    headless::Post([] { Application->Terminate(); });
    EXPECT_EQ(CvfirMain(), 0);
    EXPECT_THAT(world->mutexHandles, ::testing::IsEmpty());
}

}  // namespace
