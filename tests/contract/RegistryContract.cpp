// The registry as the program uses it: keys opened for reading and for writing, values of each type the
// program reads, the two-call size query, and the answers for what is not there.
#include <cstring>
#include <string>

#include "platform/Registry.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"

using namespace platform;
using contract::kScratchKey;

namespace {

HKEY OpenScratch(REGSAM access) {
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, access, &key) == ERROR_SUCCESS);
    return key;
}

void SetBytes(HKEY key, const char* name, DWORD type, const std::string& bytes) {
    REQUIRE(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS);
}

// A value's bytes as the two-call query reads them: its size first, then the bytes.
std::string QueryBytes(HKEY key, const char* name, DWORD* type) {
    DWORD size = 0;
    REQUIRE(RegQueryValueExA(key, name, nullptr, type, nullptr, &size) == ERROR_SUCCESS);
    std::string bytes(size, '\xCC');
    REQUIRE(RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
            ERROR_SUCCESS);
    CHECK_EQ(size, bytes.size());
    return bytes;
}

}  // namespace

CONTRACT_CASE(Registry_FullAccessReadsAndWrites) {
    const HKEY key = OpenScratch(KEY_ALL_ACCESS);
    SetBytes(key, "Text", REG_SZ, std::string("abc", 4));
    DWORD type = 0;
    CHECK_EQ(QueryBytes(key, "Text", &type), std::string("abc", 4));
    CHECK_EQ(type, REG_SZ);
    CHECK_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

CONTRACT_CASE(Registry_ReadAccessRefusesWrites) {
    const HKEY key = OpenScratch(KEY_READ);
    const BYTE data[] = "abc";
    CHECK_EQ(RegSetValueExA(key, "Text", 0, REG_SZ, data, sizeof data), ERROR_ACCESS_DENIED);
    CHECK_EQ(RegQueryValueExA(key, "Text", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

CONTRACT_CASE(Registry_SetValueAccessWritesWithoutReading) {
    const HKEY key = OpenScratch(KEY_SET_VALUE);
    const BYTE data[] = "abc";
    CHECK_EQ(RegSetValueExA(key, "Text", 0, REG_SZ, data, sizeof data), ERROR_SUCCESS);
    RegCloseKey(key);
}

// RegOpenKeyA opens a path of several keys, with all the access the caller may have.
CONTRACT_CASE(Registry_OpenKeyATakesASubkeyPathAndMayWrite) {
    contract::MakeKey(HKEY_CURRENT_USER, std::string(kScratchKey) + "\\One\\Two");
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\cvcontract\\One\\Two", &key) == ERROR_SUCCESS);
    const BYTE data[] = "x";
    CHECK_EQ(RegSetValueExA(key, "Written", 0, REG_SZ, data, sizeof data), ERROR_SUCCESS);
    CHECK_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

CONTRACT_CASE(Registry_MissingKeyAndValue) {
    HKEY key = nullptr;
    CHECK_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\cvcontract\\Missing", 0, KEY_READ, &key),
             ERROR_FILE_NOT_FOUND);
    CHECK_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\cvcontract\\Missing\\Deeper", &key),
             ERROR_FILE_NOT_FOUND);
    key = OpenScratch(KEY_READ);
    DWORD size = 0;
    CHECK_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

CONTRACT_CASE(Registry_ValueLongerThanTheBufferAnswersMoreDataAndItsSize) {
    const HKEY key = OpenScratch(KEY_ALL_ACCESS);
    SetBytes(key, "Text", REG_SZ, std::string("abcdefgh", 9));
    BYTE buffer[4];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    CHECK_EQ(RegQueryValueExA(key, "Text", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
    CHECK_EQ(size, 9);
    CHECK_EQ(type, REG_SZ);
    RegCloseKey(key);
}

CONTRACT_CASE(Registry_SizeQueryAndExactBuffer) {
    const HKEY key = OpenScratch(KEY_ALL_ACCESS);
    SetBytes(key, "Text", REG_SZ, std::string("abcdefgh", 9));
    DWORD size = 0;
    DWORD type = 0;
    CHECK_EQ(RegQueryValueExA(key, "Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    CHECK_EQ(size, 9);
    CHECK_EQ(type, REG_SZ);
    char buffer[9];
    CHECK_EQ(RegQueryValueExA(key, "Text", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
             ERROR_SUCCESS);
    CHECK_EQ(std::string(buffer, sizeof buffer), std::string("abcdefgh", 9));
    RegCloseKey(key);
}

CONTRACT_CASE(Registry_StringsWrittenWithTheirZero) {
    const HKEY key = OpenScratch(KEY_ALL_ACCESS);
    SetBytes(key, "Ended", REG_SZ, std::string("abc", 4));
    SetBytes(key, "Expand", REG_EXPAND_SZ, std::string("%x%", 4));
    DWORD type = 0;
    CHECK_EQ(QueryBytes(key, "Ended", &type), std::string("abc", 4));
    CHECK_EQ(type, REG_SZ);
    CHECK_EQ(QueryBytes(key, "Expand", &type), std::string("%x%", 4));
    CHECK_EQ(type, REG_EXPAND_SZ);
    RegCloseKey(key);
}

// A string written without its zero is read back as written: a reader must not count on the zero.
CONTRACT_CASE(Registry_StringWrittenWithoutItsZeroIsStoredAsGiven) {
    const HKEY key = OpenScratch(KEY_ALL_ACCESS);
    SetBytes(key, "Bare", REG_SZ, "abc");
    DWORD type = 0;
    CHECK_EQ(QueryBytes(key, "Bare", &type), "abc");
    RegCloseKey(key);
}

CONTRACT_CASE(Registry_DwordBinaryAndMultiStringValues) {
    const HKEY key = OpenScratch(KEY_ALL_ACCESS);
    SetBytes(key, "Number", REG_DWORD, std::string("\x04\x03\x02\x01", 4));
    SetBytes(key, "Bytes", REG_BINARY, std::string("\x00\xFF\x00", 3));
    SetBytes(key, "Empty", REG_BINARY, "");
    SetBytes(key, "List", REG_MULTI_SZ, std::string("a\0bc\0\0", 6));
    DWORD type = 0;
    CHECK_EQ(QueryBytes(key, "Number", &type), std::string("\x04\x03\x02\x01", 4));
    CHECK_EQ(type, REG_DWORD);
    CHECK_EQ(QueryBytes(key, "Bytes", &type), std::string("\x00\xFF\x00", 3));
    CHECK_EQ(type, REG_BINARY);
    CHECK_EQ(QueryBytes(key, "Empty", &type), "");
    CHECK_EQ(QueryBytes(key, "List", &type), std::string("a\0bc\0\0", 6));
    CHECK_EQ(type, REG_MULTI_SZ);
    RegCloseKey(key);
}

CONTRACT_CASE(Registry_NamesIgnoreCase) {
    HKEY key = OpenScratch(KEY_ALL_ACCESS);
    SetBytes(key, "MixedCase", REG_SZ, std::string("v", 2));
    RegCloseKey(key);
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\CVCONTRACT", 0, KEY_READ, &key) == ERROR_SUCCESS);
    DWORD type = 0;
    CHECK_EQ(QueryBytes(key, "mixedcase", &type), std::string("v", 2));
    RegCloseKey(key);
}

// The unnamed value: a null name and an empty one are the same value.
CONTRACT_CASE(Registry_DefaultValue) {
    const HKEY key = OpenScratch(KEY_ALL_ACCESS);
    const BYTE data[] = "default";
    REQUIRE(RegSetValueExA(key, nullptr, 0, REG_SZ, data, sizeof data) == ERROR_SUCCESS);
    DWORD type = 0;
    CHECK_EQ(QueryBytes(key, "", &type), std::string("default", 8));
    RegCloseKey(key);
}

CONTRACT_CASE(Registry_PredefinedRootsOpen) {
    HKEY key = nullptr;
    CHECK_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key),
        ERROR_SUCCESS);
    RegCloseKey(key);
    CHECK_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", &key),
             ERROR_SUCCESS);
    RegCloseKey(key);
    CHECK_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    CHECK_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

// An opened key is a root of its own; an empty path opens the key itself again.
CONTRACT_CASE(Registry_OpenBelowAnOpenedKey) {
    contract::MakeKey(HKEY_CURRENT_USER, std::string(kScratchKey) + "\\Child");
    const HKEY parent = OpenScratch(KEY_READ);
    HKEY child = nullptr;
    CHECK_EQ(RegOpenKeyExA(parent, "Child", 0, KEY_READ, &child), ERROR_SUCCESS);
    RegCloseKey(child);
    HKEY again = nullptr;
    CHECK_EQ(RegOpenKeyExA(parent, "", 0, KEY_READ, &again), ERROR_SUCCESS);
    CHECK(again != nullptr);
    RegCloseKey(again);
    RegCloseKey(parent);
}

CONTRACT_CASE(Registry_PathFromTheRootIsRefused) {
    HKEY key = nullptr;
    CHECK_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
}

CONTRACT_CASE(Registry_ClosedKeyIsAnInvalidHandle) {
    const HKEY key = OpenScratch(KEY_READ);
    CHECK_EQ(RegCloseKey(key), ERROR_SUCCESS);
    CHECK_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}
