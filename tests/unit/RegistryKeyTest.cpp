// The registry key object's rules: opening without creating, the root and the open key, string reads
// by type, and writes.
#include <gtest/gtest.h>

#include "framework/Registry.h"
#include "platform/sim/World.h"

using platform::HKEY_LOCAL_MACHINE;

namespace {

constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";

class RegistryKey : public ::testing::Test {
protected:
    void SetUp() override {
        world = &platform::sim::ResetWorld();
        world->registry.CreateKey(HKEY_LOCAL_MACHINE, kSetupKey);
        registry = std::make_unique<TRegistry>();
        registry->SetRootKey(HKEY_LOCAL_MACHINE);
    }
    void TearDown() override {
        registry.reset();
        EXPECT_EQ(world->registry.OpenHandleCount(), 0u);
    }
    platform::sim::World* world = nullptr;
    std::unique_ptr<TRegistry> registry;
};

TEST_F(RegistryKey, OpensExistingKeysOnlyAndNeverCreatesOne) {
    EXPECT_TRUE(registry->OpenKey(kSetupKey));
    EXPECT_FALSE(registry->OpenKey("Software\\Corvane"));
    EXPECT_EQ(world->registry.FindKey(HKEY_LOCAL_MACHINE, "Software\\Corvane"), nullptr);
    EXPECT_NE(registry->CurrentKey(), nullptr);  // a failed open leaves the open key
}

TEST_F(RegistryKey, ABackslashCountsFromTheRootAnyOtherPathFromTheOpenKey) {
    world->registry.CreateKey(HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\Software");
    ASSERT_TRUE(registry->OpenKey("Software\\Microsoft"));
    EXPECT_TRUE(registry->OpenKey("Windows\\CurrentVersion"));
    EXPECT_FALSE(registry->OpenKey("Software\\Microsoft"));
    EXPECT_TRUE(registry->OpenKey("\\Software\\Microsoft"));
    registry->SetRootKey(platform::HKEY_CURRENT_USER);
    EXPECT_EQ(registry->CurrentKey(), nullptr);
}

TEST_F(RegistryKey, ReadsStringsUnexpandedUpToTheFirstZeroAndRefusesOtherTypes) {
    auto& r = world->registry;
    r.SetString(HKEY_LOCAL_MACHINE, kSetupKey, "Plain", "D:\\WIN98");
    r.SetString(HKEY_LOCAL_MACHINE, kSetupKey, "Expand", "%windir%\\options", platform::REG_EXPAND_SZ);
    r.SetValue(HKEY_LOCAL_MACHINE, kSetupKey, "TwoParts", platform::REG_SZ, {'a', 0, 'b', 0});
    r.SetValue(HKEY_LOCAL_MACHINE, kSetupKey, "NoTerminator", platform::REG_SZ, {'a', 'b'});
    r.SetValue(HKEY_LOCAL_MACHINE, kSetupKey, "EmptyBinary", platform::REG_BINARY, {});
    r.SetDword(HKEY_LOCAL_MACHINE, kSetupKey, "Number", 1);
    ASSERT_TRUE(registry->OpenKey(kSetupKey));
    EXPECT_EQ(registry->ReadString("Plain"), "D:\\WIN98");
    EXPECT_EQ(registry->ReadString("Expand"), "%windir%\\options");
    EXPECT_EQ(registry->ReadString("TwoParts"), "a");
    EXPECT_EQ(registry->ReadString("NoTerminator"), "ab");
    EXPECT_EQ(registry->ReadString("Missing"), "");
    EXPECT_EQ(registry->ReadString("EmptyBinary"), "");
    try {
        registry->ReadString("Number");
        FAIL() << "a number read as a string";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message, "Invalid data type for 'Number'");
    }
}

TEST_F(RegistryKey, WritesStringsWithTheirZeroAndRaisesWhenItCannot) {
    ASSERT_TRUE(registry->OpenKey(kSetupKey));
    registry->WriteString("SourcePath", "D:\\WIN98");
    registry->WriteString("", "3");
    const auto value = world->registry.GetValue(HKEY_LOCAL_MACHINE, kSetupKey, "SourcePath");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::REG_SZ);
    EXPECT_EQ(std::string(value->data.begin(), value->data.end()), std::string("D:\\WIN98", 9));
    EXPECT_EQ(world->registry.GetString(HKEY_LOCAL_MACHINE, kSetupKey, ""), "3");

    world->registry.FindKey(HKEY_LOCAL_MACHINE, kSetupKey)->refuseWrites = true;
    EXPECT_THROW(registry->WriteString("SourcePath", "x"), ERegistryException);
    registry->CloseKey();
    EXPECT_THROW(registry->WriteString("SourcePath", "x"), ERegistryException);
}

TEST_F(RegistryKey, AKeyThatRefusesFullAccessDoesNotOpen) {
    world->registry.FindKey(HKEY_LOCAL_MACHINE, kSetupKey)->refuseFullAccess = true;
    EXPECT_FALSE(registry->OpenKey(kSetupKey));
}

}  // namespace
