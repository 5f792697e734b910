// Libraries from the system folder only. The program often runs from a
// downloads or temporary folder where anyone may have left a DLL named like
// a system library; Windows would load such a file before the one in the
// system folder. Libraries the program imports statically are "known DLLs"
// (always taken from the system folder); every other library is loaded
// through the functions here, either directly or on the first call of one of
// its functions (delay imports, see cmake/delay_imports.cmake).
#pragma once

#include <windows.h>

namespace ld {

// Makes the system folder the only place later library loads of the process
// search (when this Windows knows how), and takes the current folder out of
// the search otherwise. The main thread calls it first thing, before any
// other thread exists. False when only the fallback applied.
bool RestrictLibrarySearchToSystemFolder();

// Loads `name` ("wininet.dll") from the system folder, by name where this
// Windows allows it, so that a manifest's side-by-side redirection would
// still apply. Any thread. The caller owns the returned reference (FreeLibrary); nullptr when
// the library cannot be loaded from there.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace ld
