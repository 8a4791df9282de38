// The values of a saver's uninstall entry, as the list of installed programs
// and package managers read them: what each value holds, worked out from the
// plan and what the install found on the machine. Portable; the Windows
// layer (installer/uninstallRegistration.h) writes them.
#ifndef SAVER_INSTALLER_UNINSTALL_ENTRY_H
#define SAVER_INSTALLER_UNINSTALL_ENTRY_H

#include "installer/installPlan.h"

#include <cstdint>
#include <string>
#include <vector>

// One named value: a text (REG_SZ) or a number (REG_DWORD).
struct EntryValue {
  const char *name;
  std::string text;
  uint32_t number = 0;
  bool isNumber = false;
};

// What the install knows only once its files are placed.
struct EntryFacts {
  std::string command;              // the UninstallString
  bool carriedUninstaller = false;  // command runs the carried uninstaller, which knows "/q"
  uint32_t sizeKiB = 0;
  std::string installDate;  // "yyyymmdd", the local date
};

// The values in the order they are written. A package that states a
// version gets the full entry; one without a version the entry it always
// had: name, command, icon, publisher (when named), size, and no modify or
// repair.
std::vector<EntryValue> uninstallEntryValues(const InstallPlan &plan, const EntryFacts &facts);

// The values only some entries have. An entry written again loses those it
// does not write now, so that an older install's version or links never
// describe what is installed.
extern const char *const OPTIONAL_ENTRY_VALUES[];
extern const size_t OPTIONAL_ENTRY_VALUE_COUNT;

// "yyyymmdd" of a date.
std::string installDateText(int year, int month, int day);

#endif
