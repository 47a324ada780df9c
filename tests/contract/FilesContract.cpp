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

namespace {

HANDLE OpenToRead(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The full path GetFullPathNameA answers; "(none)" with the last error when it fails.
std::string FullPath(const char* path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) {
        return "(none)";
    }
    CHECK_EQ(std::strlen(full), length);
    return full;
}

}  // namespace

// A file opened for reading gives its bytes block by block, then TRUE with nothing at its end.
CONTRACT_CASE(Files_CreateFileReadsAFileToItsEnd) {
    contract::MakeFile(kScratch + "\\a.txt", "abcde");
    const HANDLE file = OpenToRead("C:\\CVCONTRACT\\A.TXT");
    REQUIRE(file != INVALID_HANDLE_VALUE);
    char buffer[8] = {};
    DWORD read = 99;
    CHECK(ReadFile(file, buffer, 3, &read, nullptr));
    CHECK_EQ(std::string(buffer, read), "abc");
    CHECK(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    CHECK_EQ(std::string(buffer, read), "de");
    read = 99;
    CHECK(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    CHECK_EQ(read, 0);
    CHECK(CloseHandle(file));
}

CONTRACT_CASE(Files_CreateFileOfWhatIsNoFile) {
    CHECK_EQ(ErrorOf(OpenToRead(kScratch + "\\missing.txt"), INVALID_HANDLE_VALUE), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(ErrorOf(OpenToRead(kScratch + "\\missing\\a.txt"), INVALID_HANDLE_VALUE), ERROR_PATH_NOT_FOUND);
    CHECK_EQ(ErrorOf(OpenToRead(kScratch), INVALID_HANDLE_VALUE), ERROR_ACCESS_DENIED);
}

namespace {

HANDLE OpenToAppend(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void Write(HANDLE file, const std::string& text) {
    DWORD written = 99;
    CHECK(WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    CHECK_EQ(written, text.size());
}

}  // namespace

// A file opened to be written is made when it is not there, and opened as it is when it is: the last
// error tells which. Written at its end, it grows.
CONTRACT_CASE(Files_OpenAlwaysMakesTheFileOrKeepsItsBytes) {
    const std::string path = kScratch + "\\log.txt";
    SetLastError(ERROR_INVALID_DATA);
    HANDLE file = OpenToAppend(path);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CHECK_EQ(GetLastError(), ERROR_SUCCESS);
    CHECK_EQ(GetFileSize(file, nullptr), 0);
    Write(file, "abc");
    CHECK(CloseHandle(file));

    file = OpenToAppend("C:\\CVCONTRACT\\LOG.TXT");
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CHECK_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    DWORD high = 99;
    CHECK_EQ(GetFileSize(file, &high), 3);
    CHECK_EQ(high, 0);
    CHECK_EQ(SetFilePointer(file, 0, nullptr, FILE_END), 3);
    Write(file, "de");
    CHECK_EQ(GetFileSize(file, nullptr), 5);
    CHECK(CloseHandle(file));
    CHECK_EQ(contract::ReadFile(path), "abcde");
}

// Bytes written where the file pointer was moved replace those there, and a pointer past the end leaves
// zeros before them.
CONTRACT_CASE(Files_WritingAtTheFilePointer) {
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    const HANDLE file = OpenToAppend(kScratch + "\\a.txt");
    REQUIRE(file != INVALID_HANDLE_VALUE);
    CHECK_EQ(SetFilePointer(file, 1, nullptr, FILE_BEGIN), 1);
    Write(file, "X");
    CHECK_EQ(SetFilePointer(file, 1, nullptr, FILE_CURRENT), 3);
    CHECK_EQ(SetFilePointer(file, 1, nullptr, FILE_END), 4);
    Write(file, "Y");
    CHECK(CloseHandle(file));
    CHECK_EQ(contract::ReadFile(kScratch + "\\a.txt"), std::string("aXc\0Y", 5));
}

CONTRACT_CASE(Files_WritingFailures) {
    CHECK_EQ(ErrorOf(OpenToAppend(kScratch + "\\missing\\a.txt"), INVALID_HANDLE_VALUE),
             ERROR_PATH_NOT_FOUND);
    CHECK_EQ(ErrorOf(OpenToAppend(kScratch), INVALID_HANDLE_VALUE), ERROR_ACCESS_DENIED);
    CHECK_EQ(GetFileAttributesA((kScratch + "\\missing").c_str()), INVALID_FILE_ATTRIBUTES);
    // A file opened for reading is not written, and a pointer is not moved before its start.
    contract::MakeFile(kScratch + "\\a.txt", "abc");
    const HANDLE file = OpenToRead(kScratch + "\\a.txt");
    REQUIRE(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    CHECK_EQ(ErrorOf(WriteFile(file, "x", 1, &written, nullptr), 0), ERROR_ACCESS_DENIED);
    CHECK_EQ(SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    CHECK(CloseHandle(file));
    CHECK_EQ(contract::ReadFile(kScratch + "\\a.txt"), "abc");
}

// A full path comes back as written, its case and its trailing backslash kept; one from the root of the
// current drive, or from the current folder, is made full on that drive and in that folder.
CONTRACT_CASE(Files_FullPathNames) {
    CHECK_EQ(FullPath("C:\\CvContract\\Sub\\"), "C:\\CvContract\\Sub\\");
    const std::string rooted = FullPath("\\CvContract");
    CHECK_EQ(rooted.substr(1), ":\\CvContract");
    const std::string root = FullPath("\\");
    CHECK_EQ(root.substr(1), ":\\");
    CHECK_EQ(root.substr(0, 1), rooted.substr(0, 1));
    const std::string relative = FullPath("Sub");
    CHECK(relative.size() > 4 && relative.substr(1, 2) == ":\\" && relative.ends_with("\\Sub"));
    // A buffer too small answers the size needed, the zero included.
    char small[5];
    CHECK_EQ(GetFullPathNameA("C:\\CvContract\\Sub\\", sizeof small, small, nullptr), 19);
}

CONTRACT_CASE(Files_FullPathNamesLeaveOutDotFolders) {
    CHECK_EQ(FullPath("C:\\cvcontract\\a\\..\\b\\.\\c"), "C:\\cvcontract\\b\\c");
}
