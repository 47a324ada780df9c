// The C run-time's text-file reading, as the program reads setup.dat: open in text mode, read a line
// into a fixed buffer, close. Behind the layer so that the in-memory Windows can serve the file.
#pragma once

namespace platform {

struct FILE;

// Opens `path` for reading; `mode` is "r" or "rt" (text mode: CR LF reads as LF). Null on failure.
FILE* fopen(const char* path, const char* mode);
// Reads at most size - 1 characters, stopping after a line feed; null at end of file with nothing read.
char* fgets(char* buffer, int size, FILE* file);
int fclose(FILE* file);

}  // namespace platform
