// Any bytes as the program's own path, as Windows answers it, of any length: the application title and
// the program folder never read or write beyond a buffer, and the folder is always where the path
// begins. A path made of whole characters, under each system code page that the in-memory Windows has,
// is split by characters: the program folder is the path up to its last backslash or slash (the drive
// alone when there is none), or nothing when it cannot be had whole; the title is the file name up to
// its first full stop, its first character as it stands and every letter after it in lower case. The
// input's first byte picks the way and the code page, so that each input costs one reading.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/ProgramFolder.h"
#include "framework/Forms.h"
#include "platform/CodePage.h"
#include "platform/sim/World.h"
#include "tests/fuzz/FuzzBytes.h"

using namespace platform;

namespace {

// The system code pages that the in-memory Windows has.
constexpr UINT kCodePages[] = {1252, 932, 936, 949, 950};

// What paths are made of: the separators and the full stop, letters of both cases, and characters whose
// second byte in a double-byte code page is a backslash or a letter (ソ 表 セ 功 許). Other input bytes
// stand for the characters of their own number.
constexpr char16_t kCharacters[] = {u'\\',     u'/',      u':',      u'.',      u'A',      u'z',
                                    u'Z',      u'a',      u' ',      u'\u00C9', u'\u00E9', u'\u30BD',
                                    u'\u8868', u'\u30BB', u'\u529F', u'\u8A31', u'\uFF21'};

using Characters = std::vector<std::string>;  // each character's bytes in the code page

Characters MakeCharacters(const std::string& input, UINT codePage) {
    Characters characters;
    for (const char byte : input) {
        const auto index = static_cast<unsigned char>(byte);
        const char16_t wide =
            index < std::size(kCharacters) ? kCharacters[index] : static_cast<char16_t>(index);
        char bytes[4];
        const int length = WideCharToMultiByte(codePage, 0, &wide, 1, bytes, sizeof bytes, nullptr, nullptr);
        if (length > 0 && bytes[0] != '\0') {
            characters.emplace_back(bytes, static_cast<std::size_t>(length));
        }
    }
    return characters;
}

bool IsOneOf(const std::string& character, const char* bytes) {
    return character.size() == 1 && std::strchr(bytes, character[0]) != nullptr;
}

std::string Joined(const Characters& characters, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i) {
        text += characters[i];
    }
    return text;
}

// The program folder that the path names: the drive and everything up to the last backslash or slash.
std::string FolderOf(const Characters& path) {
    const std::size_t drive = path.size() >= 2 && path[0].size() == 1 && path[1] == ":" ? 2 : 0;
    std::size_t end = drive;
    for (std::size_t i = drive; i < path.size(); ++i) {
        if (IsOneOf(path[i], "\\/")) {
            end = i + 1;
        }
    }
    return Joined(path, 0, end);
}

// Whether `title` is the title of the path: its file name (after the last backslash, slash or colon) up
// to the first full stop, the first character kept, each letter A to Z after it in lower case, each
// double-byte character as it stands. Where the code page has letters of its own, their case is not
// looked at.
bool IsTitleOf(const std::string& title, const Characters& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsOneOf(path[i], "\\/:")) {
            start = i + 1;
        }
    }
    std::size_t at = 0;
    for (std::size_t i = start; i < path.size() && path[i] != "."; ++i) {
        const std::string& character = path[i];
        if (title.size() - at < character.size()) {
            return false;
        }
        const std::string shown = title.substr(at, character.size());
        at += character.size();
        const auto byte = static_cast<unsigned char>(character[0]);
        const bool caseOfItsOwn = i > start && character.size() == 1 && byte >= 0x80;
        const bool lowered = i > start && character.size() == 1 && byte >= 'A' && byte <= 'Z';
        if (!caseOfItsOwn &&
            shown != (lowered ? std::string(1, static_cast<char>(byte - 'A' + 'a')) : character)) {
            return false;
        }
    }
    return at == title.size();
}

std::string Title() {
    auto* application = new TApplication;
    std::string title = application->Title();
    delete application;
    return title;
}

void CheckCharacters(const std::string& input, UINT codePage) {
    auto& world = sim::TheWorld();
    const Characters path = MakeCharacters(input, codePage);
    world.programPath = Joined(path, 0, path.size());
    char folder[kProgramFolderSize];
    const bool had = GetProgramFolder(folder);
    const std::string expected = FolderOf(path);
    // Windows answers no path at all with 0; a longer path is read whole, whatever the buffer it needs.
    const bool whole = !world.programPath.empty() && expected.size() < kProgramFolderSize;
    if (had != whole || folder != (whole ? expected : std::string()) || !IsTitleOf(Title(), path)) {
        std::abort();
    }
}

// Bytes that may be no characters at all, zeros among them: whatever the folder is, the path begins
// with it.
void CheckBytes(const std::string& input) {
    auto& world = sim::TheWorld();
    world.programPath = input;
    char folder[kProgramFolderSize];
    const bool had = GetProgramFolder(folder);
    const std::size_t length = strnlen(folder, sizeof folder);
    if (length == sizeof folder || (!had && length != 0) ||
        std::strncmp(world.programPath.c_str(), folder, length) != 0) {
        std::abort();
    }
    Title();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto& world = sim::ResetWorld();
    FuzzBytes bytes(data, size);
    const std::uint8_t choice = bytes.Byte();
    const UINT codePage = kCodePages[(choice >> 1) % std::size(kCodePages)];
    world.UseCodePage(codePage);
    const std::string input = bytes.Rest();
    if ((choice & 1) == 0) {
        CheckCharacters(input, codePage);
    } else {
        CheckBytes(input);
    }
    world.ForgetRecords();
    return 0;
}
