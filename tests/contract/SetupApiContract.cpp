// The device installation services with the program's flags: a present device found by its hardware-ID
// list, the list read with buffers of every size, the end of the enumeration, removal, and the copy of
// a driver file from an absolute source folder; the driver update's checks of its INF and of the
// devices it is for.
#include <string>
#include <vector>

#include "platform/Com.h"
#include "platform/NewDev.h"
#include "platform/Registry.h"
#include "platform/SetupApi.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"

using namespace platform;

namespace {

const std::string kScratch = contract::kScratchFolder;
constexpr DWORD kProgramFlags = DIGCF_PRESENT | DIGCF_ALLCLASSES;
constexpr DWORD ERROR_INVALID_USER_BUFFER = 1784;

std::string MultiString(const std::vector<std::string>& ids) {
    std::string list;
    for (const auto& id : ids) {
        list += id;
        list.push_back('\0');
    }
    list.push_back('\0');
    return list;
}

SP_DEVINFO_DATA NewDeviceData() {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    return data;
}

// The device of the set whose hardware-ID list is `list`; false when none is.
bool FindDevice(HDEVINFO set, const std::string& list, SP_DEVINFO_DATA* found) {
    SP_DEVINFO_DATA data = NewDeviceData();
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &data); ++index) {
        BYTE buffer[2048];
        if (SetupDiGetDeviceRegistryPropertyA(set, &data, SPDRP_HARDWAREID, nullptr, buffer, sizeof buffer,
                                              nullptr) &&
            std::string(reinterpret_cast<const char*>(buffer), list.size()) == list) {
            *found = data;
            return true;
        }
    }
    return false;
}

// A set of the present devices, and in it the device made with `ids`.
struct DeviceInSet {
    explicit DeviceInSet(const std::vector<std::string>& ids) : list(MultiString(ids)) {
        contract::MakeDevice(ids);
        set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, kProgramFlags);
        REQUIRE(set != INVALID_HANDLE_VALUE);
        found = FindDevice(set, list, &data);
        if (!found) {
            SetupDiDestroyDeviceInfoList(set);
        }
        REQUIRE(found);
    }
    ~DeviceInSet() { SetupDiDestroyDeviceInfoList(set); }

    std::string list;
    HDEVINFO set = INVALID_HANDLE_VALUE;
    SP_DEVINFO_DATA data = NewDeviceData();
    bool found = false;
};

bool Present(const std::string& list) {
    const HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, kProgramFlags);
    SP_DEVINFO_DATA data = NewDeviceData();
    const bool found = FindDevice(set, list, &data);
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

// The device setup classes of infrared devices (the contract's own) and of network adapters.
constexpr GUID kInfraredClass{0x6BDD1FC5, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};
constexpr GUID kNetClass{0x4D36E972, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// Whether a set made with this class and these flags holds the device whose list is `list`.
bool Listed(const GUID* classGuid, DWORD flags, const std::string& list) {
    const HDEVINFO set = SetupDiGetClassDevsA(classGuid, nullptr, nullptr, flags);
    REQUIRE(set != INVALID_HANDLE_VALUE);
    SP_DEVINFO_DATA data = NewDeviceData();
    const bool found = FindDevice(set, list, &data);
    CHECK(!found || data.ClassGuid == kInfraredClass);
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

// An INF that installs a null service for the infrared device with `id`, as Windows and Wine accept it.
std::string DriverInf(const std::string& id) {
    return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Infrared\r\n"
           "ClassGUID={6BDD1FC5-810F-11D0-BEC7-08002BE2092F}\r\nProvider=%Maker%\r\nDriverVer=06/02/"
           "2003,1.0\r\n"
           "[Manufacturer]\r\n%Maker%=Models,NTx86\r\n"
           "[Models.NTx86]\r\n%Device%=Device_Install," +
           id +
           "\r\n[Device_Install]\r\n[Device_Install.NT]\r\n[Device_Install.NT.Services]\r\nAddService=,2\r\n"
           "[Strings]\r\nMaker=\"cvcontract\"\r\nDevice=\"cvcontract device\"\r\n";
}

// The update of the device with `id` from the INF at `infPath`: its answer, and the last error after it.
struct UpdateAnswer {
    BOOL result;
    DWORD error;
};
UpdateAnswer Update(const std::string& id, const std::string& infPath) {
    BOOL reboot = 0;
    SetLastError(0);
    const BOOL result =
        UpdateDriverForPlugAndPlayDevicesA(nullptr, id.c_str(), infPath.c_str(), INSTALLFLAG_FORCE, &reboot);
    return {result, GetLastError()};
}

constexpr DWORD ERROR_NO_SUCH_DEVINST = 0xE000020B;
constexpr DWORD SPDRP_DRIVER = 0x09;

// The key of the device's driver below the class key, as an installed driver leaves it; empty without one.
std::string DriverKey(DeviceInSet& device) {
    char key[200] = "";
    return SetupDiGetDeviceRegistryPropertyA(device.set, &device.data, SPDRP_DRIVER, nullptr,
                                             reinterpret_cast<BYTE*>(key), sizeof key - 1, nullptr)
               ? key
               : "";
}

BOOL InstallFile(const std::string& file, const std::string& sourceFolder, const std::string& target) {
    return SetupInstallFileA(nullptr, nullptr, file.c_str(), sourceFolder.c_str(), target.c_str(),
                             SP_COPY_SOURCEPATH_ABSOLUTE, nullptr, nullptr);
}

}  // namespace

CONTRACT_CASE(SetupApi_PresentDeviceIsFoundWithItsIdListVerbatim) {
    DeviceInSet device({"CVCONTRACT\\First", "*CVC0001"});
    CHECK(device.found);
}

CONTRACT_CASE(SetupApi_IdsInAnyOrderAndCaseAndLongListsComeBackAsMade) {
    DeviceInSet second({"CVCONTRACT\\Other", "*cvc0002"});
    std::vector<std::string> many;
    for (int i = 0; i < 12; ++i) {
        many.push_back("CVCONTRACT\\LONG_HARDWARE_ID_" + std::to_string(i));
    }
    DeviceInSet longList(many);
    CHECK(longList.list.size() > 200);
}

CONTRACT_CASE(SetupApi_PropertyWithAShortBuffer) {
    DeviceInSet device({"CVCONTRACT\\Short", "*CVC0003"});
    BYTE buffer[8];
    DWORD type = 0;
    DWORD required = 0;
    SetLastError(0);
    CHECK_EQ(SetupDiGetDeviceRegistryPropertyA(device.set, &device.data, SPDRP_HARDWAREID, &type, buffer,
                                               sizeof buffer, &required),
             0);
    CHECK_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    CHECK_EQ(required, device.list.size());
    CHECK_EQ(type, REG_MULTI_SZ);
}

CONTRACT_CASE(SetupApi_PropertyWithoutABuffer) {
    DeviceInSet device({"CVCONTRACT\\None", "*CVC0004"});
    DWORD required = 0;
    CHECK_EQ(SetupDiGetDeviceRegistryPropertyA(device.set, &device.data, SPDRP_HARDWAREID, nullptr, nullptr,
                                               0, &required),
             0);
    CHECK_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    CHECK_EQ(required, device.list.size());
}

CONTRACT_CASE(SetupApi_PropertyWithExactAndLongBuffers) {
    DeviceInSet device({"CVCONTRACT\\Exact", "*CVC0005"});
    for (const DWORD size : {static_cast<DWORD>(device.list.size()), DWORD{1024}}) {
        std::vector<BYTE> buffer(size, 0xCC);
        DWORD type = 0;
        DWORD required = 0;
        CHECK(SetupDiGetDeviceRegistryPropertyA(device.set, &device.data, SPDRP_HARDWAREID, &type,
                                                buffer.data(), size, &required));
        CHECK_EQ(required, device.list.size());
        CHECK_EQ(type, REG_MULTI_SZ);
        CHECK_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<long>(device.list.size())),
                 device.list);
    }
}

CONTRACT_CASE(SetupApi_EnumerationEndsWithNoMoreItems) {
    DeviceInSet device({"CVCONTRACT\\End", "*CVC0006"});
    SP_DEVINFO_DATA data = NewDeviceData();
    DWORD index = 0;
    while (SetupDiEnumDeviceInfo(device.set, index, &data)) {
        ++index;
    }
    CHECK(index > 0);
    CHECK_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
    CHECK_EQ(SetupDiEnumDeviceInfo(device.set, index + 10, &data), 0);
    CHECK_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
}

// The record's size is the caller's promise of its layout: another size is refused.
CONTRACT_CASE(SetupApi_EnumerationRefusesAWrongRecordSize) {
    DeviceInSet device({"CVCONTRACT\\Size", "*CVC0007"});
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data + 4;
    CHECK_EQ(SetupDiEnumDeviceInfo(device.set, 0, &data), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_USER_BUFFER);
}

CONTRACT_CASE(SetupApi_RemovedDeviceIsNoLongerPresent) {
    const std::vector<std::string> ids{"CVCONTRACT\\Removed", "*CVC0008"};
    {
        DeviceInSet device(ids);
        CHECK(SetupDiRemoveDevice(device.set, &device.data));
    }
    CHECK(!Present(MultiString(ids)));
}

CONTRACT_CASE(SetupApi_DestroyingNoSetIsAnInvalidHandle) {
    CHECK_EQ(SetupDiDestroyDeviceInfoList(INVALID_HANDLE_VALUE), 0);
    CHECK_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

CONTRACT_CASE(SetupApi_InstallFileCopiesFromAnAbsoluteSourceFolder) {
    contract::MakeFile(kScratch + "\\source\\a.inf", "[Version]\r\n");
    REQUIRE(CreateDirectoryA((kScratch + "\\target").c_str(), nullptr));
    CHECK(InstallFile("a.inf", kScratch + "\\source", kScratch + "\\target\\a.inf"));
    CHECK_EQ(contract::ReadFile(kScratch + "\\target\\a.inf"), "[Version]\r\n");
    CHECK(InstallFile("a.inf", kScratch + "\\source\\", kScratch + "\\target\\b.inf"));
    CHECK_EQ(contract::ReadFile(kScratch + "\\target\\b.inf"), "[Version]\r\n");
}

CONTRACT_CASE(SetupApi_InstallFileReplacesAnOlderCopy) {
    contract::MakeFile(kScratch + "\\source\\a.inf", "new");
    contract::MakeFile(kScratch + "\\target\\a.inf", "old");
    CHECK(InstallFile("a.inf", kScratch + "\\source", kScratch + "\\target\\a.inf"));
    CHECK_EQ(contract::ReadFile(kScratch + "\\target\\a.inf"), "new");
}

CONTRACT_CASE(SetupApi_InstallFileFailures) {
    contract::MakeFile(kScratch + "\\source\\a.inf", "x");
    CHECK_EQ(InstallFile("missing.inf", kScratch + "\\source", kScratch + "\\a.inf"), 0);
    CHECK_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(InstallFile("a.inf", kScratch + "\\missing", kScratch + "\\a.inf"), 0);
    CHECK_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    CHECK_EQ(InstallFile("a.inf", kScratch + "\\source", kScratch + "\\missing\\a.inf"), 0);
    CHECK_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    // A folder in the copy's place is never replaced.
    REQUIRE(CreateDirectoryA((kScratch + "\\b.inf").c_str(), nullptr));
    CHECK_EQ(InstallFile("a.inf", kScratch + "\\source", kScratch + "\\b.inf"), 0);
    CHECK_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

// setupapi.dll holds neither name to MAX_PATH: a longer one is looked for as any other, and not found.
CONTRACT_CASE(SetupApi_InstallFileLooksForNamesLongerThanMaxPath) {
    contract::MakeFile(kScratch + "\\source\\a.inf", "x");
    std::string tooLong = kScratch;
    while (tooLong.size() <= MAX_PATH) {
        tooLong += tooLong.size() % 51 == 0 ? '\\' : 'n';
    }
    CHECK_EQ(InstallFile("a.inf", tooLong, kScratch + "\\a.inf"), 0);
    CHECK_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    CHECK_EQ(InstallFile("a.inf", kScratch + "\\source", tooLong), 0);
    CHECK_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

// The copy of a read-only file (as files on a CD are) is read-only too.
CONTRACT_CASE(SetupApi_InstallFileKeepsTheReadOnlyAttribute) {
    contract::MakeFile(kScratch + "\\source\\a.inf", "x");
    REQUIRE(SetFileAttributesA((kScratch + "\\source\\a.inf").c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK(InstallFile("a.inf", kScratch + "\\source", kScratch + "\\a.inf"));
    const DWORD attributes = GetFileAttributesA((kScratch + "\\a.inf").c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0);
}

CONTRACT_CASE(SetupApi_ClassGuidListsItsClassAlone) {
    const std::vector<std::string> ids{"CVCONTRACT\\Class", "*CVC0009"};
    contract::MakeDevice(ids);
    const std::string list = MultiString(ids);
    CHECK(Listed(&kInfraredClass, DIGCF_PRESENT, list));
    CHECK(!Listed(&kNetClass, DIGCF_PRESENT, list));
}

CONTRACT_CASE(SetupApi_AllClassesPassesOverTheClassGuid) {
    const std::vector<std::string> ids{"CVCONTRACT\\AllClasses", "*CVC0010"};
    contract::MakeDevice(ids);
    CHECK(Listed(&kNetClass, DIGCF_PRESENT | DIGCF_ALLCLASSES, MultiString(ids)));
    CHECK(Listed(nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES, MultiString(ids)));
}

CONTRACT_CASE(SetupApi_NeitherClassNorAllClassesIsRefused) {
    SetLastError(0);
    CHECK(SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT) == INVALID_HANDLE_VALUE);
    CHECK_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

CONTRACT_CASE(NewDev_UpdateInstallsTheInfsDriverForAMatchingDevice) {
    DeviceInSet device({"CVCONTRACT\\Update", "*CVC0011"});
    contract::MakeFile(kScratch + "\\driver\\cvc.inf", DriverInf("*CVC0011"));
    CHECK_EQ(DriverKey(device), "");
    CHECK(Update("*CVC0011", kScratch + "\\driver\\cvc.inf").result);
    CHECK(DriverKey(device).starts_with("{"));
}

CONTRACT_CASE(NewDev_UpdateFromAMissingInfIsRefused) {
    contract::MakeDevice({"CVCONTRACT\\MissingInf", "*CVC0012"});
    const auto answer = Update("*CVC0012", kScratch + "\\missing.inf");
    CHECK(!answer.result);
    CHECK_EQ(answer.error, ERROR_FILE_NOT_FOUND);
}

CONTRACT_CASE(NewDev_UpdateFromAnInfWithoutTheIdIsRefused) {
    contract::MakeDevice({"CVCONTRACT\\OtherInf", "*CVC0013"});
    contract::MakeFile(kScratch + "\\driver\\cvc.inf", DriverInf("*CVC9999"));
    const auto answer = Update("*CVC0013", kScratch + "\\driver\\cvc.inf");
    CHECK(!answer.result);
    CHECK_EQ(answer.error, ERROR_NO_MORE_ITEMS);
}

// Bytes that are no INF at all, as a damaged copy gives: no driver in it for the device.
CONTRACT_CASE(NewDev_UpdateFromADamagedInfIsRefused) {
    contract::MakeDevice({"CVCONTRACT\\Damaged", "*CVC0017"});
    contract::MakeFile(kScratch + "\\driver\\cvc.inf", std::string("\x1F\x8B\x08\0\xFF\xFE\0\0garbage", 15));
    const auto answer = Update("*CVC0017", kScratch + "\\driver\\cvc.inf");
    CHECK(!answer.result);
    CHECK_EQ(answer.error, ERROR_NO_MORE_ITEMS);
}

CONTRACT_CASE(NewDev_UpdateWithoutAMatchingDeviceIsRefused) {
    contract::MakeFile(kScratch + "\\driver\\cvc.inf", DriverInf("*CVC0014"));
    const auto answer = Update("*CVC0014", kScratch + "\\driver\\cvc.inf");
    CHECK(!answer.result);
    CHECK_EQ(answer.error, ERROR_NO_SUCH_DEVINST);
}

// Windows compares hardware IDs without case.
CONTRACT_CASE(NewDev_UpdateMatchesTheIdWithoutCase) {
    DeviceInSet device({"CVCONTRACT\\Case", "*CVC0015"});
    contract::MakeFile(kScratch + "\\driver\\cvc.inf", DriverInf("*cvc0015"));
    CHECK(Update("*cvc0015", kScratch + "\\driver\\cvc.inf").result);
    CHECK(DriverKey(device).starts_with("{"));
}

CONTRACT_CASE(NewDev_UpdateFromARelativeInfPathIsRefused) {
    contract::MakeDevice({"CVCONTRACT\\Relative", "*CVC0016"});
    contract::MakeFile(kScratch + "\\driver\\cvc.inf", DriverInf("*CVC0016"));
    const auto answer = Update("*CVC0016", "driver\\cvc.inf");
    CHECK(!answer.result);
    CHECK_EQ(answer.error, ERROR_INVALID_PARAMETER);
}
