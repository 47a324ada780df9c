// The Windows 98 driver's two files, taken off the driver disk into a folder of the program's own under
// Windows' temporary folder (or the Windows folder's TEMP, where that will not do) before the source
// dialog asks for the Windows 98 CD. On a computer with one CD drive the user takes the driver disk out
// to put that CD in, so the install copies from here.
#pragma once

#include <string>

// Names the install gives the INF files of the Windows folder that it keeps beside the driver's files,
// to put them back when a later step fails: the name before ".inf", and a number after it where a kept
// copy of an earlier run holds the name (see KeptCopyName).
inline constexpr const char* kKeptOldInf = "cvfirpio";
inline constexpr const char* kKeptEarlierInf = "earlier";

// Takes cvfirdma.inf and cvfirdma.sys off the disk's win98 folder. A file that cannot be read whole, or
// a copy that cannot be made, ends the program with kExitFatal after a message that names the file and
// why. From then on every way out of the program removes the folder.
void StageDriverFiles();
// The folder, without a closing backslash (empty until the files are taken), and a file in it.
std::string StagedDriverFolder();
std::string StagedFile(const char* name);
// Removes the folder with what the program put in it; nothing when there is none.
void RemoveStagedDriverFiles();
// The path in the folder for this run's kept copy of the user's file `original`, by the name `stem`.
// A copy that an earlier run left under that name (one the user was told of, its put-back having
// failed, or one left by a run that was cut off half-way) may be the only copy of an old driver file
// there is: unless it holds the bytes of `original` now, it stays, and the next free name of stem2.inf
// to stem99.inf is taken instead. From then on the file is the run's own, removed with the folder.
// Empty when every name is taken.
std::string KeptCopyName(const char* stem, const char* original);
// Leaves the file at `path` in the folder when it is removed: a kept copy of the user's that could not
// be put back, which the user was told to find there.
void KeepForTheUser(const std::string& path);
