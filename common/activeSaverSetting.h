// Where Windows keeps the active screen saver: the value "SCRNSAVE.EXE" in
// section "boot" of system.ini and below the current user's desktop key. The
// launcher writes it; a saver's uninstall clears it when it names that saver.
#ifndef SAVER_COMMON_ACTIVE_SAVER_SETTING_H
#define SAVER_COMMON_ACTIVE_SAVER_SETTING_H

constexpr char SYSTEM_INI[] = "system.ini";
constexpr char BOOT_SECTION[] = "boot";
constexpr char SAVER_VALUE_NAME[] = "SCRNSAVE.EXE";
constexpr char DESKTOP_KEY[] = "Control Panel\\Desktop";

#endif
