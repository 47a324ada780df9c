# The Windows build: cvfir.exe on the real API. Comes with the Win32 backends.
message(FATAL_ERROR "The Windows build is not there yet.")
