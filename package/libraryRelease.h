// What an uninstall does to the shared libraries the entries of a saver
// list, decided before anything is written: which entries it trusts, each
// library once, and every count read before any is lowered. Portable.
#ifndef SAVER_PACKAGE_LIBRARY_RELEASE_H
#define SAVER_PACKAGE_LIBRARY_RELEASE_H

#include <cstdint>
#include <string>
#include <vector>

// Whether the removal may act on an uninstall entry it found by its command.
// Any program of the user can write a per-user entry; run elevated, the
// removal would act for it with an administrator's rights. So elevated, it
// trusts the machine-wide entry, and a per-user one only while it names
// nothing but this saver's own: no shared library, which every saver that
// counts itself a user shares (an honest per-user entry has none: it is
// written only where the machine-wide counts could not be).
bool trustsUninstallEntry(bool machineWide, bool elevated, const std::vector<std::string> &listedLibraries);

// The libraries in the order first listed, each once; paths compared without
// regard to letter case.
std::vector<std::string> distinctLibraries(const std::vector<std::string> &listed);

// A library's count of users as read from the registry.
struct LibraryCount {
  std::string library;
  bool counted = false;  // a count value of the right type exists
  uint32_t count = 0;
};

// One user less for each counted library: a lowered count, or, for its last
// user, the file and its count removed. An uncounted library is left alone.
struct LibraryRelease {
  std::vector<std::string> removed;   // files to delete, then their counts
  std::vector<LibraryCount> lowered;  // libraries with their new counts
};
LibraryRelease planLibraryRelease(const std::vector<LibraryCount> &counts);

#endif
