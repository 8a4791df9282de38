// The launcher's side of the read-me: the installer places it and asks the
// launcher, which runs with the user's own rights, to open it.
#ifndef SAVER_LAUNCHER_READ_ME_COMMAND_H
#define SAVER_LAUNCHER_READ_ME_COMMAND_H

#include <windows.h>

#include <cstdint>
#include <string>

// Opens the read-me an "openReadMe-" command names with the "open" verb,
// provided readMeToOpen accepts it and it is an existing file, not a folder
// or a link: STATUS_OK, STATUS_UNSAFE_NAME, or STATUS_NOT_DONE when the
// file is missing or the shell could not open it.
int32_t openReadMe(HWND owner, const std::string &commandText);

#endif
