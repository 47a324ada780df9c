// Files and folders by Windows' path rules: attributes, finding an entry, making folders, deleting and
// moving files, and the last error of each failure.
#include <cstring>
#include <string>

#include "platform/CRuntime.h"
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
    // Nor is a file opened for writing read, nor anything written through a handle that is none.
    const HANDLE log = OpenToAppend(kScratch + "\\a.txt");
    REQUIRE(log != INVALID_HANDLE_VALUE);
    char byte = 0;
    DWORD read = 0;
    CHECK_EQ(ErrorOf(ReadFile(log, &byte, 1, &read, nullptr), 0), ERROR_ACCESS_DENIED);
    CHECK(CloseHandle(log));
    CHECK_EQ(ErrorOf(WriteFile(INVALID_HANDLE_VALUE, "x", 1, &written, nullptr), 0), ERROR_INVALID_HANDLE);
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

// "." is left out and ".." takes out the name before it, never the root; a separator at the end stays.
CONTRACT_CASE(Files_FullPathNamesLeaveOutDotFolders) {
    CHECK_EQ(FullPath("C:\\cvcontract\\a\\..\\b\\.\\c"), "C:\\cvcontract\\b\\c");
    CHECK_EQ(FullPath("C:\\a\\."), "C:\\a");
    CHECK_EQ(FullPath("C:\\a\\.\\"), "C:\\a\\");
    CHECK_EQ(FullPath("C:\\a\\.."), "C:\\");
    CHECK_EQ(FullPath("C:\\..\\..\\x"), "C:\\x");
    CHECK_EQ(FullPath("\\\\server\\share\\a\\..\\.."), "\\\\server\\share\\");
    CHECK_EQ(FullPath("\\\\server\\share\\..\\x"), "\\\\server\\share\\x");
}

// Relative to the current folder: "." is that folder, ".." the one above it.
CONTRACT_CASE(Files_FullPathNamesOfDotFoldersFromTheCurrentFolder) {
    REQUIRE(CreateDirectoryA((kScratch + "\\Sub").c_str(), nullptr));
    contract::UseCurrentFolder(kScratch + "\\Sub");
    CHECK_EQ(FullPath("."), kScratch + "\\Sub");
    CHECK_EQ(FullPath(".."), kScratch);
    CHECK_EQ(FullPath("..\\x"), kScratch + "\\x");
    CHECK_EQ(FullPath("\\x\\..\\y"), "C:\\y");
}

// A drive named alone, or with a name but no separator after its colon, is its current folder: on the
// current drive the current folder, on another drive the folder it keeps, else its root.
CONTRACT_CASE(Files_FullPathNamesOfADriveAlone) {
    contract::UseCurrentFolder(kScratch);
    CHECK_EQ(FullPath("C:"), kScratch + "\\");
    CHECK_EQ(FullPath("C:win98"), kScratch + "\\win98");
    CHECK_EQ(FullPath("c:win98"), kScratch + "\\win98");
    CHECK_EQ(FullPath("Q:"), "Q:\\");
    CHECK_EQ(FullPath("C:\\"), "C:\\");  // a drive's root is no drive alone
    CHECK_EQ(FullPath("Q:win98"), "Q:\\win98");
    contract::UseDriveFolder('Q', "Q:\\deep\\er");
    CHECK_EQ(FullPath("Q:"), "Q:\\deep\\er\\");
    CHECK_EQ(FullPath("Q:win98"), "Q:\\deep\\er\\win98");
    CHECK_EQ(FullPath("Q:..\\y"), "Q:\\deep\\y");
    contract::UseDriveFolder('C', "C:\\other");
    CHECK_EQ(FullPath("C:win98"), kScratch + "\\win98");  // the current drive's folder is the current one
}

CONTRACT_CASE(Files_FullPathNamesTakeSlashesAndDoubledSeparators) {
    contract::UseCurrentFolder(kScratch);
    CHECK_EQ(FullPath("C:/a//b"), "C:\\a\\b");
    CHECK_EQ(FullPath("C:\\\\a"), "C:\\a");
    CHECK_EQ(FullPath("C:\\a\\\\"), "C:\\a\\");
    CHECK_EQ(FullPath("x/"), kScratch + "\\x\\");
    CHECK_EQ(FullPath("c:\\Low"), "c:\\Low");  // a full path keeps the case of its letter
}

namespace {

// Where GetFullPathNameA says the name part begins: "(none)" when it gives none.
std::string NamePart(const char* path) {
    char full[MAX_PATH];
    LPSTR name = full + 1;
    const DWORD length = GetFullPathNameA(path, sizeof full, full, &name);
    REQUIRE(length > 0 && length < sizeof full);
    if (name == nullptr) {
        return "(none)";
    }
    REQUIRE(name >= full && name <= full + length);
    return name;
}

// A path of `length` characters below the scratch folder, in names of 50 characters.
std::string PathOfLength(std::size_t length) {
    std::string path = kScratch;
    while (path.size() < length) {
        path += path.size() % 51 == 0 ? '\\' : 'n';
    }
    return path;
}

}  // namespace

CONTRACT_CASE(Files_FullPathNamePartIsTheLastName) {
    contract::UseCurrentFolder(kScratch);
    CHECK_EQ(NamePart("C:\\a\\NET8.CAB"), "NET8.CAB");
    CHECK_EQ(NamePart("C:NET8.CAB"), "NET8.CAB");
    CHECK_EQ(NamePart("\\\\server\\share"), "share");
    CHECK_EQ(NamePart("C:\\a\\"), "(none)");
    CHECK_EQ(NamePart("C:"), "(none)");
    CHECK_EQ(NamePart("C:\\"), "(none)");
}

// An ANSI name of more than MAX_PATH characters is refused before it is looked for; one that fits is
// looked for as any other. A full path must fit MAX_PATH with its zero.
CONTRACT_CASE(Files_NamesLongerThanMaxPathAreRefused) {
    for (const auto length : {MAX_PATH, MAX_PATH + 1, MAX_PATH + 40}) {
        const std::string path = PathOfLength(length);
        const DWORD expected = length > MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND;
        CHECK_EQ(ErrorOf(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES), expected);
        CHECK_EQ(FoundName(path), "(none)");
        CHECK_EQ(GetLastError(), expected);
        CHECK_EQ(ErrorOf(OpenToRead(path), INVALID_HANDLE_VALUE), expected);
    }
    CHECK_EQ(FullPath(PathOfLength(MAX_PATH - 1).c_str()), PathOfLength(MAX_PATH - 1));
    char roomy[2 * MAX_PATH];  // the limit is the system's, not the buffer's
    SetLastError(0);
    CHECK_EQ(GetFullPathNameA(PathOfLength(MAX_PATH).c_str(), sizeof roomy, roomy, nullptr), 0);
    CHECK_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
    contract::UseCurrentFolder(kScratch);
    const std::string relative = PathOfLength(MAX_PATH).substr(kScratch.size() + 1);
    CHECK_EQ(FullPath(relative.c_str()), "(none)");  // short, but not once it is full
    CHECK_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
}

// Each call that changes a file refuses the same names, and leaves the file it was given as it was.
CONTRACT_CASE(Files_NamesLongerThanMaxPathAreRefusedByEveryCall) {
    const std::string file = kScratch + "\\a.txt";
    const std::string other = kScratch + "\\b.txt";
    contract::MakeFile(file, "abc");
    for (const auto length : {MAX_PATH, MAX_PATH + 1}) {
        const std::string path = PathOfLength(length);
        const DWORD expected = length > MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND;
        CHECK_EQ(ErrorOf(DeleteFileA(path.c_str()), 0), expected);
        CHECK_EQ(ErrorOf(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL), 0), expected);
        CHECK_EQ(ErrorOf(RemoveDirectoryA(path.c_str()), 0), expected);
        CHECK_EQ(ErrorOf(MoveFileA(path.c_str(), other.c_str()), 0), expected);
        CHECK_EQ(ErrorOf(CopyFileA(path.c_str(), other.c_str(), 0), 0), expected);
    }
    CHECK_EQ(contract::ReadFile(file), "abc");
    CHECK_EQ(GetFileAttributesA(other.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The new name of a move or a copy is held to MAX_PATH as the existing one is.
CONTRACT_CASE(Files_NewNamesLongerThanMaxPathAreRefused) {
    const std::string file = kScratch + "\\a.txt";
    contract::MakeFile(file, "abc");
    for (const auto length : {MAX_PATH, MAX_PATH + 1}) {
        const std::string path = PathOfLength(length);
        const DWORD expected = length > MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND;
        CHECK_EQ(ErrorOf(MoveFileA(file.c_str(), path.c_str()), 0), expected);
        CHECK_EQ(ErrorOf(CopyFileA(file.c_str(), path.c_str(), 0), 0), expected);
    }
    CHECK_EQ(contract::ReadFile(file), "abc");
}

// A new folder's path leaves room below MAX_PATH for a name of eight and three characters in it: 248
// characters at most.
CONTRACT_CASE(Files_CreateDirectoryTakesAPathOf248CharactersAtMost) {
    const std::string longest = PathOfLength(MAX_PATH - 12);
    const std::string tooLong = PathOfLength(MAX_PATH - 11);
    for (std::size_t slash = kScratch.size() + 1; slash < longest.size(); ++slash) {
        if (longest[slash] == '\\') {
            REQUIRE(CreateDirectoryA(longest.substr(0, slash).c_str(), nullptr));
        }
    }
    CHECK(CreateDirectoryA(longest.c_str(), nullptr));
    CHECK(IsFolder(longest));
    CHECK_EQ(ErrorOf(CreateDirectoryA(tooLong.c_str(), nullptr), 0), ERROR_FILENAME_EXCED_RANGE);
    CHECK_EQ(GetFileAttributesA(tooLong.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Under Shift-JIS, where ソ is 83 5C: the second byte of a character is no separator.
CONTRACT_CASE_IN_CODE_PAGE(932, CodePage932_FullPathNamesStepByCharacters) {
    const std::string so = "\x83\x5C";
    CHECK_EQ(FullPath(("C:\\cvcontract\\" + so + "\\..\\x").c_str()), "C:\\cvcontract\\x");
    CHECK_EQ(FullPath(("C:\\a\\" + so + "\\.").c_str()), "C:\\a\\" + so);
    CHECK_EQ(NamePart(("C:\\a\\" + so).c_str()), so);
    CHECK_EQ(FullPath(("C:\\a\\" + so + so + "\\\\b").c_str()), "C:\\a\\" + so + so + "\\b");
}

namespace {

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool ReadOnly(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace

// Files copied from a CD are read-only: both the attribute calls and the find record say so, and the
// attribute comes off again.
CONTRACT_CASE(Files_ReadOnlyAttributeIsSetSeenAndCleared) {
    contract::MakeFile(kScratch + "\\a.inf", "abc");
    CHECK(!ReadOnly(kScratch + "\\a.inf"));
    CHECK(SetFileAttributesA((kScratch + "\\A.INF").c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK(ReadOnly(kScratch + "\\a.inf"));
    DWORD found = 0;
    CHECK_EQ(FoundName(kScratch + "\\a.inf", &found), "a.inf");
    CHECK((found & FILE_ATTRIBUTE_READONLY) != 0);
    CHECK(SetFileAttributesA((kScratch + "\\a.inf").c_str(), FILE_ATTRIBUTE_NORMAL));
    CHECK(!ReadOnly(kScratch + "\\a.inf"));
    CHECK_EQ(ErrorOf(SetFileAttributesA((kScratch + "\\missing.inf").c_str(), FILE_ATTRIBUTE_NORMAL), 0),
             ERROR_FILE_NOT_FOUND);
}

// Windows refuses to delete a read-only file; once the attribute is off the file goes.
CONTRACT_CASE(Files_DeleteFileRefusesAReadOnlyFile) {
    contract::MakeFile(kScratch + "\\a.inf", "abc");
    REQUIRE(SetFileAttributesA((kScratch + "\\a.inf").c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK_EQ(ErrorOf(DeleteFileA((kScratch + "\\a.inf").c_str()), 0), ERROR_ACCESS_DENIED);
    CHECK_EQ(contract::ReadFile(kScratch + "\\a.inf"), "abc");
    REQUIRE(SetFileAttributesA((kScratch + "\\a.inf").c_str(), FILE_ATTRIBUTE_NORMAL));
    CHECK(DeleteFileA((kScratch + "\\a.inf").c_str()));
}

CONTRACT_CASE(Files_MoveFileKeepsTheAttributes) {
    contract::MakeFile(kScratch + "\\a.inf", "abc");
    REQUIRE(SetFileAttributesA((kScratch + "\\a.inf").c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK(MoveFileA((kScratch + "\\a.inf").c_str(), (kScratch + "\\b.inf").c_str()));
    CHECK(ReadOnly(kScratch + "\\b.inf"));
}

// A copy has the bytes and the read-only attribute of its source.
CONTRACT_CASE(Files_CopyFileCopiesBytesAndAttributes) {
    contract::MakeFile(kScratch + "\\cd\\a.sys", "driver");
    REQUIRE(SetFileAttributesA((kScratch + "\\cd\\a.sys").c_str(), FILE_ATTRIBUTE_READONLY));
    REQUIRE(CreateDirectoryA((kScratch + "\\temp").c_str(), nullptr));
    CHECK(CopyFileA((kScratch + "\\cd\\A.SYS").c_str(), (kScratch + "\\temp\\a.sys").c_str(), 0));
    CHECK_EQ(contract::ReadFile(kScratch + "\\temp\\a.sys"), "driver");
    CHECK(ReadOnly(kScratch + "\\temp\\a.sys"));
    CHECK(ReadOnly(kScratch + "\\cd\\a.sys"));
}

// Over an existing file: refused when asked to fail, replaced otherwise. (A read-only one is refused,
// which Wine shows only to a user other than root: a documented case of the unit tests.)
CONTRACT_CASE(Files_CopyFileOntoAnExistingFile) {
    contract::MakeFile(kScratch + "\\a.inf", "new");
    contract::MakeFile(kScratch + "\\b.inf", "old");
    CHECK_EQ(ErrorOf(CopyFileA((kScratch + "\\a.inf").c_str(), (kScratch + "\\B.INF").c_str(), 1), 0),
             ERROR_FILE_EXISTS);
    CHECK_EQ(contract::ReadFile(kScratch + "\\b.inf"), "old");
    CHECK(CopyFileA((kScratch + "\\a.inf").c_str(), (kScratch + "\\b.inf").c_str(), 0));
    CHECK_EQ(contract::ReadFile(kScratch + "\\b.inf"), "new");
}

CONTRACT_CASE(Files_CopyFileFailures) {
    contract::MakeFile(kScratch + "\\a.inf", "abc");
    CHECK_EQ(ErrorOf(CopyFileA((kScratch + "\\missing.inf").c_str(), (kScratch + "\\b.inf").c_str(), 0), 0),
             ERROR_FILE_NOT_FOUND);
    CHECK_EQ(
        ErrorOf(CopyFileA((kScratch + "\\missing\\a.inf").c_str(), (kScratch + "\\b.inf").c_str(), 0), 0),
        ERROR_PATH_NOT_FOUND);
    CHECK_EQ(
        ErrorOf(CopyFileA((kScratch + "\\a.inf").c_str(), (kScratch + "\\missing\\a.inf").c_str(), 0), 0),
        ERROR_PATH_NOT_FOUND);
    REQUIRE(CreateDirectoryA((kScratch + "\\b.inf").c_str(), nullptr));
    CHECK_EQ(ErrorOf(CopyFileA((kScratch + "\\a.inf").c_str(), (kScratch + "\\b.inf").c_str(), 0), 0),
             ERROR_ACCESS_DENIED);
    CHECK(IsFolder(kScratch + "\\b.inf"));
}

CONTRACT_CASE(Files_RemoveDirectoryTakesAnEmptyFolderOnly) {
    contract::MakeFile(kScratch + "\\full\\a.inf", "abc");
    REQUIRE(CreateDirectoryA((kScratch + "\\empty").c_str(), nullptr));
    CHECK(RemoveDirectoryA((kScratch + "\\EMPTY").c_str()));
    CHECK_EQ(AttributesOf(kScratch + "\\empty"), INVALID_FILE_ATTRIBUTES);
    CHECK_EQ(ErrorOf(RemoveDirectoryA((kScratch + "\\full").c_str()), 0), ERROR_DIR_NOT_EMPTY);
    CHECK_EQ(ErrorOf(RemoveDirectoryA((kScratch + "\\missing").c_str()), 0), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(ErrorOf(RemoveDirectoryA((kScratch + "\\full\\a.inf").c_str()), 0), 267);  // ERROR_DIRECTORY
    CHECK(IsFile(kScratch + "\\full\\a.inf"));
}

namespace {

// The lines of a file as the C run-time's fgets reads them in the mode given, each followed by "|";
// "(none)" when it does not open.
std::string LinesRead(const std::string& path, const char* mode) {
    platform::FILE* file = platform::fopen(path.c_str(), mode);
    if (file == nullptr) {
        return "(none)";
    }
    std::string lines;
    char line[16];
    while (platform::fgets(line, sizeof line, file) != nullptr) {
        lines += std::string(line) + "|";
    }
    CHECK_EQ(platform::fclose(file), 0);
    return lines;
}

}  // namespace

// Text mode reads every CR LF as LF, the one that ends the file too; a CR alone stays as it is.
CONTRACT_CASE(Files_TextModeReadsEveryCrLfAsALineFeed) {
    contract::MakeFile(kScratch + "\\setup.dat", "1\r\n2\r3\r\n");
    CHECK_EQ(LinesRead(kScratch + "\\setup.dat", "r"), "1\n|2\r3\n|");
    CHECK_EQ(LinesRead(kScratch + "\\setup.dat", "rt"), "1\n|2\r3\n|");
    CHECK_EQ(LinesRead(kScratch + "\\missing.dat", "r"), "(none)");
}
