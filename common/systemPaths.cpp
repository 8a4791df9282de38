// The process-wide system paths; set by initSystemPaths at start-up.
#include "common/QRX_FileUtils.h"

std::string pathWindows;
std::string pathSystem;
std::string pathSysnative;
std::string pathCommonAppData;
std::string pathExeFolder;
std::string pathWorkFolder;
