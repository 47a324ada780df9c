// Any bytes as setup.dat, from a program folder of any length: the install step never overruns a
// buffer, and the transceiver type is always one digit from "0" to "5" (or the file counts as missing).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Unit2.h"
#include "app/Unit4.h"
#include "framework/headless/Headless.h"
#include "platform/Registry.h"
#include "platform/sim/World.h"

namespace {

// A Windows 98, whose install step opens the source dialog: the wizard and the dialog made once.
void StartOnce() {
    static bool started = false;
    if (started) {
        return;
    }
    started = true;
    auto& world = platform::sim::ResetWorld();
    world.registry.SetString(platform::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                             "Version", "Windows 98");
    new TApplication;
    Application->CreateForm(Form2);
    Application->CreateForm(Form4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StartOnce();
    if (size == 0) {
        return 0;
    }
    auto& world = platform::sim::TheWorld();
    // A name has at most 255 characters on Windows.
    const std::string folder = "C:\\" + std::string(std::min(1 + data[0], 255), 'd') + "\\";
    world.programPath = folder + "cvfir.exe";
    world.files.AddFile(folder + "setup.dat", std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    // The disk's driver files, which Windows 98 takes off the disk once setup.dat has been read.
    world.files.AddFile(folder + "win98\\cvfirdma.inf", "inf");
    world.files.AddFile(folder + "win98\\cvfirdma.sys", "sys");

    Form2->WizardStep = 1;
    Form2->TransceiverType.clear();
    Form2->NextClick(Form2->Next);
    const auto& type = Form2->TransceiverType;
    const bool missing = !headless::MessageBoxes().empty();
    const bool digit = type.size() == 1 && type[0] >= '0' && type[0] <= '5';
    if (missing ? !type.empty() : !digit) {
        std::abort();
    }
    for (const char* file : {"setup.dat", "win98\\cvfirdma.inf", "win98\\cvfirdma.sys", "win98"}) {
        world.files.Remove(folder + file);
    }
    if (Form4->Showing()) {
        Form4->Hide();
    }
    headless::ForgetRecords();
    world.ForgetRecords();
    return 0;
}
