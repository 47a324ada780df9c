// Any bytes as the "SourcePath" value that pre-fills the Windows 98 source dialog's path box (of any
// type and size, or missing), and as the text a user types over it: reading the value never reads
// beyond its data and gives its text up to the first zero, or the registry layer's error for a value
// that is not a string; Ok never overruns its buffer, finds NET8.CAB exactly where the text says, and
// then records a full path of that same folder (the text itself when it is one already) and finishes
// the wizard, or else warns and changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/StagedDriverFiles.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit4.h"
#include "framework/headless/Headless.h"
#include "platform/Kernel.h"
#include "platform/Registry.h"
#include "platform/sim/World.h"
#include "tests/fuzz/FuzzBytes.h"

using namespace platform;

namespace {

constexpr const char* kSetupKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr DWORD kTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_NONE};
constexpr std::size_t kCabinetPathSize = MAX_PATH;

// The dialog as the wizard opens it, with the driver's files taken off the disk first; the install that
// finished removed them.
void OpenDialog() {
    StageDriverFiles();
    Form4->ShowFor(*Form2);
}

// A Windows 98 with its system folder, its installation files in C:\CD, a folder named like the file in
// C:\DIR, and the driver disk; the wizard and the dialog made once, the dialog open.
void StartOnce() {
    static bool started = false;
    if (started) {
        return;
    }
    started = true;
    auto& world = sim::ResetWorld();
    world.registry.SetString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "Version",
                             "Windows 98");
    world.registry.CreateKey(HKEY_LOCAL_MACHINE, kSetupKey);
    world.files.AddDirectory(world.windowsDirectory + "\\SYSTEM");
    world.files.AddFile("C:\\CD\\NET8.CAB", "cabinet");
    world.files.AddDirectory("C:\\DIR\\NET8.CAB");
    world.files.AddFile("C:\\cvdisk\\win98\\cvfirdma.inf", "inf");
    world.files.AddFile("C:\\cvdisk\\win98\\cvfirdma.sys", "sys");
    new TApplication;
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->CreateForm(Form4);
    OpenDialog();
}

struct Value {
    bool present = false;
    DWORD type = REG_SZ;
    std::string data;
};

// A control byte (present, type, a long length, whether the user types), the length, the data; then
// what the user types, up to its first zero.
Value ReadValue(FuzzBytes& bytes, bool& typed) {
    const std::uint8_t control = bytes.Byte();
    Value value;
    value.present = (control & 1) != 0;
    value.type = kTypes[(control >> 1) % std::size(kTypes)];
    typed = (control & 0x40) != 0;
    value.data = bytes.Text(bytes.Byte() + ((control & 0x80) != 0 ? 256u : 0u));
    return value;
}

void StoreValue(const Value& value) {
    auto& registry = sim::TheWorld().registry;
    if (value.present) {
        registry.SetValue(HKEY_LOCAL_MACHINE, kSetupKey, "SourcePath", value.type,
                          std::vector<BYTE>(value.data.begin(), value.data.end()));
    } else if (auto* key = registry.FindKey(HKEY_LOCAL_MACHINE, kSetupKey)) {
        key->values.erase("SourcePath");
    }
}

bool IsString(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

// The path box as construction fills it from the value.
std::string CheckReading(const Value& value) {
    const bool empty = !value.present || value.data.empty();
    try {
        const std::optional<std::string> text = ReadSourcePath();
        if (!text || (!empty && !IsString(value.type)) ||
            *text != (empty ? std::string() : std::string(value.data.c_str()))) {
            std::abort();
        }
        return *text;
    } catch (const Exception& error) {
        if (empty || IsString(value.type) || error.Message != "Invalid data type for 'SourcePath'") {
            std::abort();
        }
        return {};
    }
}

// The file that Ok looks for when the path box holds `folder`: none when the whole path does not fit
// its buffer, or when a folder, not a file, lies there.
const sim::FileEntry* CabinetIn(const std::string& folder) {
    const std::string cabinet = folder + "\\NET8.CAB";
    if (cabinet.size() >= kCabinetPathSize) {
        return nullptr;
    }
    const auto& world = sim::TheWorld();
    const auto* entry = world.files.Find(world.Resolve(cabinet));
    return entry != nullptr && !entry->directory ? entry : nullptr;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Whether Windows can answer the full path of the cabinet in MAX_PATH: the folder is recorded only then.
bool FullPathFits(const std::string& folder) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA((folder + "\\NET8.CAB").c_str(), sizeof full, full, nullptr);
    return length != 0 && length < sizeof full;
}

// A path that names its place whatever the current folder, with either separator.
bool NamesItsPlace(const std::string& text) {
    return (text.size() >= 3 && text[1] == ':' && IsSeparator(text[2])) ||
           (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1]));
}

// What the dialog keeps exactly as typed: "X:\" or "\\server".
bool IsFullAsTyped(const std::string& text) {
    return (text.size() >= 3 && text[1] == ':' && text[2] == '\\') || text.starts_with("\\\\");
}

// Whether `data` is a string value that records `folder` as a full path of the same place.
bool RecordsFullPathOf(const std::vector<std::uint8_t>& data, const std::string& folder) {
    if (data.empty() || data.back() != 0) {
        return false;
    }
    const std::string text(data.begin(), data.end() - 1);
    return NamesItsPlace(text) && (!IsFullAsTyped(folder) || text == folder) &&
           CabinetIn(text) == CabinetIn(folder);
}

void CheckOk(const std::string& folder, const Value& value) {
    const bool found = CabinetIn(folder) != nullptr;
    Form2->Next->SetCaption("Next >");
    Form4->SourceDiskPath->SetText(folder);
    Form4->OkClick(Form4->Ok);
    const auto recorded = sim::TheWorld().registry.GetValue(HKEY_LOCAL_MACHINE, kSetupKey, "SourcePath");
    const bool warned = headless::MessageBoxes().size() == 1 &&
                        headless::MessageBoxes()[0].text == "OS source files can not be found!!";
    const bool finished = Form2->Next->Caption() == "Finish" && !Form4->Showing();
    const bool wasRecorded =
        recorded && recorded->type == REG_SZ && RecordsFullPathOf(recorded->data, folder);
    const bool keptAsItWas = value.present
                                 ? recorded && recorded->type == value.type &&
                                       std::string(recorded->data.begin(), recorded->data.end()) == value.data
                                 : !recorded.has_value();
    const bool recordedAsItShould = FullPathFits(folder) || IsFullAsTyped(folder) ? wasRecorded : keptAsItWas;
    if (found ? warned || !finished || !recordedAsItShould : !warned || finished || !keptAsItWas) {
        std::abort();
    }
    if (!Form4->Showing()) {
        OpenDialog();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StartOnce();
    FuzzBytes bytes(data, size);
    bool typed = false;
    const Value value = ReadValue(bytes, typed);
    StoreValue(value);
    const std::string read = CheckReading(value);
    std::string folder = typed ? bytes.Rest() : read;
    folder.resize(strnlen(folder.c_str(), folder.size()));  // a box holds no zero
    CheckOk(folder, value);
    headless::ForgetRecords();
    sim::TheWorld().ForgetRecords();
    return 0;
}
