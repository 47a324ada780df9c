#include "tests/contract/KnownDifferences.h"

namespace contract {

// Wine's driver update answers TRUE, with the last error 0, whatever it was given.
constexpr const char* kWineUpdatesAnyway =
    "Wine's driver update answers TRUE and installs nothing for a missing, damaged or relative INF, an "
    "INF without the hardware ID, and an ID that no device has; Windows refuses each with its reason, "
    "and the in-memory Windows follows Windows";

// Kept in the order of the case names.
const std::vector<KnownDifference>& KnownDifferences() {
    static const std::vector<KnownDifference> differences{
        {"Chars932_FullWidthLettersKeepTheirCase", "Wine",
         "Wine changes the case of a full-width letter through its wide character; Windows 98, and the "
         "in-memory Windows after it, leave every double-byte character as it is. The program hands these "
         "calls single-byte characters only"},
        {"Files_CreateDirectoryTakesAPathOf248CharactersAtMost", "Wine",
         "Wine makes a folder of any path up to MAX_PATH; the documentation of the ANSI call limits it to "
         "248 characters, leaving room for a name of eight and three in it, and the in-memory Windows "
         "follows the documentation"},
        {"Files_NewNamesLongerThanMaxPathAreRefused", "Wine",
         "Wine holds only the existing name of a move or a copy to MAX_PATH and looks for a longer new name "
         "(ERROR_PATH_NOT_FOUND); the documentation limits both names to MAX_PATH, and the in-memory "
         "Windows refuses either as too long"},
        {"FormatMessage_TextsAreWindowsOwnWords", "Wine",
         "Wine words the system's texts its own way (\"File not found.\" for \"The system cannot find the "
         "file specified.\"); the in-memory Windows has Windows' own words"},
        {"Module_ProgramPathInAShortBufferLeavesTheLastError", "Wine",
         "Wine sets ERROR_INSUFFICIENT_BUFFER for a cut path, as Windows does only from Vista on; 2000 "
         "and XP leave the last error as it was"},
        {"NewDev_UpdateFromADamagedInfIsRefused", "Wine", kWineUpdatesAnyway},
        {"NewDev_UpdateFromAMissingInfIsRefused", "Wine", kWineUpdatesAnyway},
        {"NewDev_UpdateFromARelativeInfPathIsRefused", "Wine", kWineUpdatesAnyway},
        {"NewDev_UpdateFromAnInfWithoutTheIdIsRefused", "Wine", kWineUpdatesAnyway},
        {"NewDev_UpdateMatchesTheIdWithoutCase", "Wine",
         "Wine compares the hardware ID with case and installs nothing for an ID in other letters; Windows "
         "compares without case, and the in-memory Windows follows Windows"},
        {"NewDev_UpdateWithoutAMatchingDeviceIsRefused", "Wine", kWineUpdatesAnyway},
        {"Registry_StringWrittenWithoutItsZeroIsStoredAsGiven", "Wine",
         "Wine, as the NT line does, counts the zero that follows a string written without one; the "
         "in-memory Windows keeps the bytes given, so that a write that leaves out its zero shows"},
        {"Shell_EmptyFolderHasNoSubfolder", "Wine",
         "Wine answers SFGAO_HASSUBFOLDER for every file-system folder, even an empty one, without "
         "looking"},
        {"Shell_MyComputerParsingName", "Wine", "Wine writes the class identifier in small letters"},
        {"Shell_NetworkNeighborhoodHasNoPath", "Wine",
         "Wine answers the parsing name of Network Neighborhood as its path, and TRUE"},
    };
    return differences;
}

}  // namespace contract
