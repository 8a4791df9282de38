// The journal of an install that replaces an installed version: what was
// moved aside where, and the uninstall entry as it was, so that a failed,
// cancelled or killed install can be undone by whichever run comes next.
// Written whole, and flushed, before the first move; removed once the new
// version is in place or the old one is back. Portable: the text and its
// reading; the Windows layer writes, moves and restores.
//
// The text, one record a line, fields apart by a tab; a byte below 0x20,
// "%" or 0x7F inside a field is written "%XX" in hex:
//   saver-rollback 1
//   entry <0 (HKEY_CURRENT_USER) or 1 (HKEY_LOCAL_MACHINE)> <key below the root>
//   value <name> <type, decimal> <data, hex>     (any number)
//   move <original path> <kept path>             (any number)
//   end
// A journal without its last line was cut short while it was written, before
// anything was moved.
#ifndef SAVER_INSTALLER_ROLLBACK_JOURNAL_H
#define SAVER_INSTALLER_ROLLBACK_JOURNAL_H

#include <cstdint>
#include <string>
#include <vector>

struct KeptValue {
  std::string name;
  uint32_t type = 0;
  std::string data;  // the bytes as the registry holds them
};

struct KeptMove {
  std::string original;  // the installed file or folder ("\" at the end for a folder)
  std::string kept;      // where it waits, in the same form
};

struct RollbackJournal {
  bool machineEntry = false;  // HKEY_LOCAL_MACHINE, else HKEY_CURRENT_USER
  std::string entryKey;       // "" when no entry was kept
  std::vector<KeptValue> values;
  std::vector<KeptMove> moves;
};

std::string journalText(const RollbackJournal &journal);

enum class JournalReading {
  complete,  // journal holds what the text says
  cut,       // a sound beginning without its end: written when the run was ended
  damaged,   // anything else: what was moved cannot be known
};
JournalReading readJournal(const std::string &text, RollbackJournal &journal);

#endif
