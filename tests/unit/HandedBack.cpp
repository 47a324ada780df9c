// At the end of every test, everything the program was handed by the in-memory Windows and the
// headless windows has been given back; a test that leaks fails and says what it kept. Each test
// then starts from a fresh world, whether or not its fixture makes one.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/headless/Headless.h"
#include "platform/sim/World.h"

namespace {

class HandedBackCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        const auto& world = platform::sim::TheWorld();
        std::vector<std::string> kept = world.Outstanding();
        for (const auto& name : headless::LiveWindows()) {
            kept.push_back("window not destroyed: " + name);
        }
        // The shell's image lists are shared by every program: destroying one is a fault of its own.
        for (auto list : headless::DestroyedImageLists()) {
            if (list == world.shell.smallImageList || list == world.shell.largeImageList) {
                kept.push_back("the shell's shared image list was destroyed");
            }
        }
        for (const auto& line : kept) {
            ADD_FAILURE() << "not given back at the end of the test: " << line;
        }
        platform::sim::ResetWorld();
        headless::Reset();
    }
};

const bool kInstalled = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new HandedBackCheck);
    return true;
}();

}  // namespace
