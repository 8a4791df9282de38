// The switches Windows hands a screen saver, and the uninstall the sample
// adds to them. Portable.
#ifndef SAVER_EXAMPLES_SAVER_COMMAND_LINE_H
#define SAVER_EXAMPLES_SAVER_COMMAND_LINE_H

#include <cstdint>
#include <string>

enum class SaverMode {
  Configure,   // "/c", "/c:HWND" or nothing: the settings box
  FullScreen,  // "/s"
  Preview,     // "/p HWND" or "/p:HWND": drawn inside that window
  Uninstall,   // "/u", with "/q" without asking
  Ignored      // any other switch ("/a", the old password change): nothing to do
};

struct SaverCommand {
  SaverMode mode = SaverMode::Configure;
  uintptr_t window = 0;  // the preview's parent or the settings box's owner; 0 when none
  bool quiet = false;
};

// Reads the arguments behind the program name. Switches start with "/" or
// "-", in any letter case; the first one other than "/q" chooses the mode.
SaverCommand parseSaverCommand(const std::string &arguments);

#endif
