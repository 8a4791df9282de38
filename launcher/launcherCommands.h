// How the launcher reads and recognises the commands that arrive in
// WM_COPYDATA messages.
#ifndef SAVER_LAUNCHER_COMMANDS_H
#define SAVER_LAUNCHER_COMMANDS_H

#include <cstdint>
#include <string>

enum class LauncherCommand { MakeActiveSaver, OpenControlPanel, Close, None };

// The text at data up to its first NUL, never reading beyond size bytes: a
// sender may omit the NUL or pass no data at all.
std::string commandTextFromCopyData(const void *data, uint32_t size);

// First match wins: "makeActiveSaver" anywhere, then the exact texts
// "openScreenSaverControlPanel" and "Close". Case-sensitive.
LauncherCommand classifyCommand(const std::string &text);

// The screen saver's file name: the command text from its 17th character on,
// that is, behind the 16 characters of "makeActiveSaver-".
std::string saverFileNameFromCommand(const std::string &text);

// The screen saver's file name from a make-active command, provided it is a
// safe file name by the rule the package applies to the files it carries
// (isSafeEntryName): STATUS_OK, or STATUS_UNSAFE_NAME for a name that could
// lead out of the system folder.
int32_t activeSaverFileName(const std::string &commandText, std::string &fileName);

#endif
