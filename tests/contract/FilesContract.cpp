// Files and folders by Windows' path rules: attributes, finding an entry, making folders, deleting and
// moving files, and the last error of each failure.
#include <cstring>
#include <string>

#include "platform/Kernel.h"
#include "tests/contract/Contract.h"
#include "tests/contract/ContractHost.h"

using namespace platform;

namespace {

const std::string kScratch = contract::kScratchFolder;

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The last error of a call that must fail, with what it answered.
template <class Result>
DWORD ErrorOf(Result answer, Result failure) {
    CHECK_EQ(answer, failure);
    return GetLastError();
}

// The name FindFirstFileA gives for a path; "(none)" with the last error when nothing is found.
std::string FoundName(const std::string& path, DWORD* attributes = nullptr) {
    WIN32_FIND_DATAA entry{};
    const HANDLE find = FindFirstFileA(path.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return "(none)";
    }
    CHECK(FindClose(find));
    if (attributes != nullptr) {
        *attributes = entry.dwFileAttributes;
    }
    return entry.cFileName;
}

}  // namespace

CONTRACT_CASE(Files_AttributesOfFoldersFilesAndDriveRoots) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    CHECK(IsFolder(kScratch));
    CHECK(IsFolder("C:\\"));
    CHECK(IsFile(kScratch + "\\a.txt"));
}

CONTRACT_CASE(Files_PathsIgnoreCaseAndTakeEitherSlash) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    CHECK(IsFile("C:\\CVCONTRACT\\A.TXT"));
    CHECK(IsFile("c:/cvcontract/a.txt"));
    CHECK(IsFolder(kScratch + "\\"));
    CHECK(IsFolder("C:\\\\cvcontract"));
}

// Nothing there: "file not found" when its folder is there, "path not found" when the folder is not.
CONTRACT_CASE(Files_MissingEntriesAnswerFileOrPathNotFound) {
    CHECK_EQ(ErrorOf(GetFileAttributesA((kScratch + "\\missing.txt").c_str()), INVALID_FILE_ATTRIBUTES),
             ERROR_FILE_NOT_FOUND);
    CHECK_EQ(ErrorOf(GetFileAttributesA((kScratch + "\\missing\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES),
             ERROR_PATH_NOT_FOUND);
}

CONTRACT_CASE(Files_FindFirstFileNamesTheEntryAsItWasWritten) {
    contract::MakeFile(kScratch + "\\Mixed.Txt", "abcde");
    WIN32_FIND_DATAA entry{};
    const HANDLE find = FindFirstFileA("C:\\CVCONTRACT\\MIXED.TXT", &entry);
    REQUIRE(find != INVALID_HANDLE_VALUE);
    CHECK_EQ(std::string(entry.cFileName), "Mixed.Txt");
    CHECK_EQ(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0);
    CHECK_EQ(entry.nFileSizeLow, 5);
    CHECK_EQ(entry.nFileSizeHigh, 0);
    CHECK(FindClose(find));
}

CONTRACT_CASE(Files_FindFirstFileOfAFolder) {
    DWORD attributes = 0;
    CHECK_EQ(FoundName(kScratch, &attributes), "cvcontract");
    CHECK((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
}

CONTRACT_CASE(Files_FindFirstFileOfMissingEntries) {
    CHECK_EQ(FoundName(kScratch + "\\missing.txt"), "(none)");
    CHECK_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(FoundName(kScratch + "\\missing\\a.txt"), "(none)");
    CHECK_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

CONTRACT_CASE(Files_CreateDirectoryMakesAFolder) {
    CHECK(CreateDirectoryA((kScratch + "\\New").c_str(), nullptr));
    CHECK(IsFolder(kScratch + "\\new"));
    CHECK(CreateDirectoryA((kScratch + "\\Slashed\\").c_str(), nullptr));
    CHECK_EQ(FoundName(kScratch + "\\slashed"), "Slashed");
}

CONTRACT_CASE(Files_CreateDirectoryWhereSomethingIs) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    CHECK_EQ(ErrorOf(CreateDirectoryA(kScratch.c_str(), nullptr), 0), ERROR_ALREADY_EXISTS);
    CHECK_EQ(ErrorOf(CreateDirectoryA("C:\\CVCONTRACT", nullptr), 0), ERROR_ALREADY_EXISTS);
    CHECK_EQ(ErrorOf(CreateDirectoryA((kScratch + "\\a.txt").c_str(), nullptr), 0), ERROR_ALREADY_EXISTS);
    CHECK(IsFile(kScratch + "\\a.txt"));
}

CONTRACT_CASE(Files_CreateDirectoryNeedsItsParent) {
    CHECK_EQ(ErrorOf(CreateDirectoryA((kScratch + "\\missing\\New").c_str(), nullptr), 0),
             ERROR_PATH_NOT_FOUND);
    CHECK_EQ(GetFileAttributesA((kScratch + "\\missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

CONTRACT_CASE(Files_DeleteFileRemovesAFile) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    CHECK(DeleteFileA("C:\\cvcontract\\A.TXT"));
    CHECK_EQ(GetFileAttributesA((kScratch + "\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

CONTRACT_CASE(Files_DeleteFileFailures) {
    CHECK_EQ(ErrorOf(DeleteFileA((kScratch + "\\missing.txt").c_str()), 0), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(ErrorOf(DeleteFileA((kScratch + "\\missing\\a.txt").c_str()), 0), ERROR_PATH_NOT_FOUND);
    CHECK_EQ(ErrorOf(DeleteFileA(kScratch.c_str()), 0), ERROR_ACCESS_DENIED);
    CHECK(IsFolder(kScratch));
}

CONTRACT_CASE(Files_MoveFileToANewName) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    CHECK(MoveFileA((kScratch + "\\a.txt").c_str(), (kScratch + "\\b.txt").c_str()));
    CHECK_EQ(GetFileAttributesA((kScratch + "\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    CHECK_EQ(contract::ReadFile(kScratch + "\\b.txt"), "abc");
}

// The program parks a file aside and puts it back: moving onto a file that is there must not replace it.
CONTRACT_CASE(Files_MoveFileOntoAnExistingFile) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    contract::MakeFile(kScratch + "\\b.txt", "other");
    CHECK_EQ(ErrorOf(MoveFileA((kScratch + "\\a.txt").c_str(), (kScratch + "\\B.TXT").c_str()), 0),
             ERROR_ALREADY_EXISTS);
    CHECK_EQ(contract::ReadFile(kScratch + "\\a.txt"), "abc");
    CHECK_EQ(contract::ReadFile(kScratch + "\\b.txt"), "other");
}

CONTRACT_CASE(Files_MoveFileFailures) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    CHECK_EQ(ErrorOf(MoveFileA((kScratch + "\\missing.txt").c_str(), (kScratch + "\\b.txt").c_str()), 0),
             ERROR_FILE_NOT_FOUND);
    CHECK_EQ(ErrorOf(MoveFileA((kScratch + "\\a.txt").c_str(), (kScratch + "\\missing\\b.txt").c_str()), 0),
             ERROR_PATH_NOT_FOUND);
    CHECK_EQ(contract::ReadFile(kScratch + "\\a.txt"), "abc");
}

CONTRACT_CASE(Files_MoveFileIntoAnotherFolder) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    REQUIRE(CreateDirectoryA((kScratch + "\\Sub").c_str(), nullptr));
    CHECK(MoveFileA((kScratch + "\\a.txt").c_str(), (kScratch + "\\Sub\\a.txt").c_str()));
    CHECK_EQ(contract::ReadFile(kScratch + "\\Sub\\a.txt"), "abc");
}
