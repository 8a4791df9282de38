// Where the running sample saver belongs: its program file, whose name is the
// coded short name of the saver, and the saver folder that name leads to, the
// way the installer placed them; and the reading of its "saver.dat" and of
// the pictures in that folder.
#ifndef SAVER_EXAMPLES_SAVER_PLACE_H
#define SAVER_EXAMPLES_SAVER_PLACE_H

#include "examples/sample/sampleSettings.h"

#include <cstdint>
#include <string>
#include <vector>

struct SaverPlace {
  std::string programPath;  // the running program, long form
  std::string codedName;    // its file name without ".scr"
  std::string saverFolder;  // shared folder + coded name + "\"
};

// Fills place from the running program and the system paths. STATUS_UNSAFE_NAME
// when the program's name is no coded short name the installer could have
// given (not a ".scr", not a plain file name, or a name the coding rule would
// change): such a program has no saver folder of its own. Otherwise 0 or the
// system paths' error.
int32_t locateSaver(SaverPlace &place);

// The settings in saverFolder + "saver.dat"; the defaults when it is missing
// or has any other size than a settings record.
SampleSettings readSampleSettings(const std::string &saverFolder);

// The picture files below folder, sub-folders included, sorted; at most
// limit of them. Links to other folders are not followed.
std::vector<std::string> findPictures(const std::string &folder, size_t limit);

#endif
