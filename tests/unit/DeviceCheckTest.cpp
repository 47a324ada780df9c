// The search for the FIR controller among the present devices, and the diagnostic lines.
#include "tests/unit/CvfirTest.h"

#include <tuple>

#include "app/DeviceCheck.h"
#include "platform/Kernel.h"

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A hardware-ID list of about `bytes` bytes that does not hold the ID, then the given IDs.
std::vector<std::string> LongList(std::size_t bytes, std::vector<std::string> then = {}) {
    std::vector<std::string> ids;
    for (std::size_t total = 0; total < bytes; total += 20) {
        ids.push_back("PNP\\OTHER" + std::to_string(1000000000 + total));
    }
    ids.insert(ids.end(), then.begin(), then.end());
    return ids;
}

class DeviceCheck : public CvfirTest {
protected:
    // Searches as the install procedure of `release` does, on that release: the windows are made on the
    // first search, once the world is that release.
    bool Search(WindowsRelease release = WindowsRelease::WindowsXp) {
        if (Form2 == nullptr) {
            UseRelease(release);
            CreateWindows();
        }
        world->standardOutput.clear();
        const bool found = FindFirDevice(Form2, "*CVN0510");
        EXPECT_EQ(world->openDeviceSets, 0);
        EXPECT_EQ(world->localAllocations, 0);
        return found;
    }
    int Removed() const {
        int count = 0;
        for (const auto& device : world->devices) {
            count += device.removed;
        }
        return count;
    }
    const std::string& Output() const { return world->standardOutput; }
};

TEST_F(DeviceCheck, NoDeviceWithTheIdEndsWithTheEnumerationsFailureLine) {
    world->AddDevice({"PCI\\VEN_8086", "PCI\\CC_0601"});
    EXPECT_FALSE(Search(WindowsRelease::Windows98));
    EXPECT_THAT(Output(), ::testing::StartsWith("Search for Device ID: [*CVN0510]\n"
                                                "Compare device ID: [PCI\\VEN_8086]\n"
                                                "Compare device ID: [PCI\\CC_0601]\n"));
    EXPECT_THAT(Output(), EndsWith("EnumDeviceInfo FAILURE: No more data is available.\r\n\n"));
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(Removed(), 0);
}

struct IdListCase {
    std::vector<std::string> ids;
    bool found;
    friend std::ostream& operator<<(std::ostream& out, const IdListCase& c) {
        return out << ::testing::PrintToString(c.ids) << (c.found ? " found" : " not found");
    }
};

class IdLists : public DeviceCheck, public ::testing::WithParamInterface<IdListCase> {};

TEST_P(IdLists, MatchOnlyTheWholeIdIgnoringCase) {
    world->AddDevice(GetParam().ids);
    EXPECT_EQ(Search(), GetParam().found);
    EXPECT_EQ(platform::GetLastError(), GetParam().found ? 0u : platform::ERROR_NO_MORE_ITEMS);
}

INSTANTIATE_TEST_SUITE_P(
    DeviceCheck, IdLists,
    ::testing::Values(IdListCase{{"*CVN0510"}, true}, IdListCase{{"*cvn0510"}, true},
                      IdListCase{{"ACPI\\CVN0510", "*CVN0510"}, true}, IdListCase{{"*CVN0510X"}, false},
                      IdListCase{{"*CVN051"}, false}, IdListCase{{"CVN0510"}, false}, IdListCase{{}, false},
                      IdListCase{LongList(300, {"*CVN0510"}), true},
                      IdListCase{LongList(770, {"*CVN0510"}), true},
                      // exactly the 800 bytes the buffer holds, and one more
                      IdListCase{LongList(780, {"*CVN0510", "ROOT\\IR12"}), true},
                      IdListCase{LongList(780, {"*CVN0510", "ROOT\\IR123"}), false},
                      // more than the 800-byte buffer holds: passed over, never read past the buffer
                      IdListCase{LongList(800, {"*CVN0510"}), false}));

TEST_F(DeviceCheck, AFoundDeviceIsReportedAndOnlyTheFirstMatchCounts) {
    world->AddDevice({"ROOT\\OTHER"});
    world->AddDevice({"*CVN0510"});
    world->AddDevice({"*CVN0510"});
    EXPECT_TRUE(Search());
    EXPECT_THAT(Output(), EndsWith("Compare device ID: [*CVN0510]\nFound! [*CVN0510]\n"));
    EXPECT_THAT(Output(), Not(HasSubstr("FAILURE")));
    EXPECT_EQ(Removed(), 0);  // only Windows 98 removes
}

TEST_F(DeviceCheck, OnWindows98OnlyTheFirstMatchIsRemoved) {
    world->AddDevice({"ROOT\\OTHER"});
    world->AddDevice({"*CVN0510"});
    world->AddDevice({"*CVN0510"});
    EXPECT_TRUE(Search(WindowsRelease::Windows98));
    EXPECT_FALSE(world->devices[0].removed);
    EXPECT_TRUE(world->devices[1].removed);
    EXPECT_FALSE(world->devices[2].removed);
}

TEST_F(DeviceCheck, AListTooLongForTheBufferIsPassedOverWithoutTheListBeforeIt) {
    world->AddDevice({"ROOT\\IR12"});
    world->AddDevice(LongList(800, {"*CVN0510"}));
    EXPECT_FALSE(Search());
    EXPECT_THAT(Output(), ::testing::StartsWith("Search for Device ID: [*CVN0510]\n"
                                                "Compare device ID: [ROOT\\IR12]\n"
                                                "EnumDeviceInfo FAILURE: "));
}

TEST_F(DeviceCheck, DevicesWithoutHardwareIdsArePassedOverSilently) {
    world->AddDevice({}).hasHardwareIds = false;
    world->AddDevice({"*CVN0510"});
    EXPECT_TRUE(Search());
    EXPECT_THAT(Output(), Not(HasSubstr("FAILURE")));
}

TEST_F(DeviceCheck, AnAbsentDeviceIsNotLookedAt) {
    world->AddDevice({"*CVN0510"}).present = false;
    EXPECT_FALSE(Search(WindowsRelease::Windows98));
    EXPECT_FALSE(world->devices[0].removed);
}

// Every list longer than 200 bytes costs one retry, counted over the whole search: after 500 of them,
// such lists are passed over. The lists here are of 201 bytes, the shortest that needs its retry.
TEST_F(DeviceCheck, TheRetryLimitHoldsForTheWholeSearch) {
    for (int i = 0; i < 499; ++i) {
        world->AddDevice(LongList(200));
    }
    world->AddDevice(LongList(300, {"*CVN0510"}));
    EXPECT_TRUE(Search());

    world->devices.insert(world->devices.begin(), world->devices.front());
    EXPECT_FALSE(Search());
    world->AddDevice({"*CVN0510"});  // a short list needs no retry
    EXPECT_TRUE(Search());
}

TEST_F(DeviceCheck, AFailedPropertyReadEndsTheSearch) {
    world->AddDevice({"*CVN0510"}).propertyError = platform::ERROR_ACCESS_DENIED;
    world->AddDevice({"*CVN0510"});
    EXPECT_FALSE(Search(WindowsRelease::Windows98));
    EXPECT_EQ(Output(),
              "Search for Device ID: [*CVN0510]\nGetDeviceRegistryProperty FAILURE: Access is denied.\r\n\n");
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_ACCESS_DENIED);
    EXPECT_EQ(Removed(), 0);
}

// Whatever the reason of the failed read, the device counts as not found: the lowest error codes too.
TEST_F(DeviceCheck, APropertyReadFailingWithTheFirstErrorCodeFindsNothing) {
    world->AddDevice({"*CVN0510"}).propertyError = 1;  // ERROR_INVALID_FUNCTION
    EXPECT_FALSE(Search());
    EXPECT_EQ(platform::GetLastError(), 1u);
}

TEST_F(DeviceCheck, NoDeviceSetMeansOneLineAndTheSystemsError) {
    world->classDevsError = platform::ERROR_INVALID_PARAMETER;
    world->AddDevice({"*CVN0510"});
    EXPECT_FALSE(Search());
    EXPECT_EQ(Output(), "GetClassDevs(All Present Devices) FAILURE: The parameter is incorrect.\r\n\n");
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_INVALID_PARAMETER);
}

TEST_F(DeviceCheck, AFailedRemovalStillFindsTheDeviceAndLeavesItsError) {
    world->AddDevice({"*CVN0510"});
    world->removeDeviceFails = true;
    EXPECT_TRUE(Search(WindowsRelease::Windows98));
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_ACCESS_DENIED);
}

TEST(ReportLastError, PrintsTheSystemsTextOrTheCodeAndKeepsTheLastError) {
    auto& world = platform::sim::ResetWorld();
    platform::SetLastError(0);
    EXPECT_FALSE(ReportLastError("Step"));
    EXPECT_EQ(platform::GetLastError(), 0u);
    platform::SetLastError(0xE000020Bu);
    EXPECT_FALSE(ReportLastError("UpdateDriverForPlugAndPlayDevices"));
    EXPECT_EQ(platform::GetLastError(), 0xE000020Bu);
    world.messageTexts[42] = "!";  // a text of one character is still a text
    platform::SetLastError(42);
    ReportLastError("Short");
    EXPECT_EQ(world.standardOutput,
              "Step FAILURE: The operation completed successfully.\r\n\n"
              "UpdateDriverForPlugAndPlayDevices FAILURE: (0xe000020b)\n"
              "Short FAILURE: !\n");
    EXPECT_EQ(world.localAllocations, 0);
}

TEST(HardwareIdListWalk, NeverReadsPastTheBytesItIsGiven) {
    auto& world = platform::sim::ResetWorld();
    const char unterminated[] = {'*', 'C', 'V', 'N', '0', '5', '1', '0', 'X'};
    EXPECT_FALSE(WalkHardwareIdList(unterminated, 8 + 1, "*CVN0510"));
    EXPECT_TRUE(WalkHardwareIdList(unterminated, 8, "*CVN0510"));
    // A list whose last entry ends exactly at its end, with more bytes behind it.
    const char listThenMore[] = {'A', 'B', '\0', 'X', '\0'};
    EXPECT_FALSE(WalkHardwareIdList(listThenMore, 3, "X"));
    EXPECT_EQ(world.standardOutput,
              "Compare device ID: [*CVN0510X]\nCompare device ID: [*CVN0510]\nFound! [*CVN0510]\n"
              "Compare device ID: [AB]\n");
}

// Letters compare ignoring case, A and Z included; the characters next to them do not.
TEST(HardwareIdListWalk, IgnoresTheCaseOfEveryLetterAndOfNothingElse) {
    platform::sim::ResetWorld();
    const std::vector<std::tuple<const char*, const char*, bool>> cases{
        {"AZ", "az", true}, {"az", "AZ", true}, {"@[", "`{", false}, {"`{", "@[", false}};
    for (const auto& [entry, id, same] : cases) {
        const std::string list = std::string(entry) + '\0';
        EXPECT_EQ(WalkHardwareIdList(list.c_str(), static_cast<std::uint32_t>(list.size()), id), same)
            << entry << " " << id;
    }
}

}  // namespace
