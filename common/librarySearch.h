// Where the programs' libraries come from: the system folder only. A library
// of the same name beside a program, in its work folder or in the current
// folder is never loaded, since those folders may be written by programs of
// a user who has fewer rights than the installer.
#ifndef SAVER_COMMON_LIBRARY_SEARCH_H
#define SAVER_COMMON_LIBRARY_SEARCH_H

#include <windows.h>

#include <string>

// Called first by each program: later loads by name look in the system
// folder only, and the libraries that Windows loads on the program's behalf
// are mapped from there at once.
void restrictLibrarySearch();

// The system folder's file of this name, by its full path; "" when the
// system cannot tell its folder.
std::string systemFolderFile(const char *name);

// The system folder's library of this name, loaded by its full path;
// nullptr when it is missing. The caller frees it.
HMODULE loadSystemLibrary(const char *name);

#endif
