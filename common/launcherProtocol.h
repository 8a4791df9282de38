// The messages between the installer and the launcher: text commands in
// WM_COPYDATA, answered with 0, and one posted message that ends the launcher.
#ifndef SAVER_COMMON_LAUNCHER_PROTOCOL_H
#define SAVER_COMMON_LAUNCHER_PROTOCOL_H

#include <cstdint>
#include <string>

// WM_USER + 0x101, posted with wParam and lParam 0.
constexpr uint32_t WM_Close_Launcher = 0x0501;

constexpr const char *MAKE_ACTIVE_SAVER_COMMAND = "makeActiveSaver-";
// The user's own saver: its file in the user's saver folder
// (common/saverScope.h), made active for the user alone.
constexpr const char *MAKE_ACTIVE_USER_SAVER_COMMAND = "makeActiveUserSaver-";
constexpr const char *OPEN_CONTROL_PANEL_COMMAND = "openScreenSaverControlPanel";
constexpr const char *CLOSE_COMMAND = "Close";
// Followed by the full path of the read-me the installer has placed: the
// launcher, which runs as the user, opens it, so that the viewer the user
// chose never runs with the installer's rights.
constexpr const char *OPEN_README_COMMAND = "openReadMe-";
constexpr const char *HEADER_READ_COMMAND = "read installer heard file";
constexpr const char *QUIET_INSTALLER_COMMAND = "quiet installer";

// The installer passes the launcher's window on its command line as
// LAUNCHER_HANDLE_PARAMETER followed by the handle in decimal.
constexpr const char *LAUNCHER_HANDLE_PARAMETER = "/l=";

// The installer's package, "temp.dat" in its own work folder. Where it is a
// hard link to the running installer, which cannot be deleted while it
// runs, the installer leaves it under this name beside its own file, in the
// launcher's work folder, for the launcher to delete after the run.
constexpr const char *PACKAGE_COPY_NAME = "temp.dat";

// A quiet run: the launcher's own parameter, passed on to the installer.
constexpr const char *QUIET_SWITCH = "/q";

// Exactly "/q", in either letter case.
inline bool isQuietSwitch(const std::string &parameter) {
  return parameter.size() == 2 && parameter[0] == QUIET_SWITCH[0] &&
         (parameter[1] == 'q' || parameter[1] == 'Q');
}

// Installs a package older than the installed saver: the launcher's own
// parameter too, passed on to the installer.
constexpr const char *FORCE_SWITCH = "/force";

// The switch name exactly, in any letter case.
inline bool isSwitch(const std::string &parameter, const char *name) {
  size_t i = 0;
  for (; name[i] != '\0'; ++i) {
    if (i >= parameter.size()) return false;
    char c = parameter[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != name[i]) return false;
  }
  return i == parameter.size();
}

// Nothing on the screen at all, not even the launcher's boxes: the
// launcher's own parameter too, passed on to the installer.
constexpr const char *SILENT_SWITCH = "/qn";

// Followed by the path of the run log, which may be quoted: the launcher's
// own parameter too, passed on with the log's full path.
constexpr const char *LOG_SWITCH = "/log=";

// The path behind LOG_SWITCH (in any letter case), enclosing quotes taken
// off; false for any other parameter.
inline bool logSwitchPath(const std::string &parameter, std::string &path) {
  const size_t length = std::char_traits<char>::length(LOG_SWITCH);
  if (!isSwitch(parameter.substr(0, length), LOG_SWITCH)) return false;
  path = parameter.substr(length);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
  return true;
}

#endif
