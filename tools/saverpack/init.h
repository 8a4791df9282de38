// "saverpack init DIR": a starting package source that builds at once: a
// manifest, sample pictures, licence, read-me and notes made here, and the
// screen saver program (the sample saver when one is found, else a
// placeholder that says it is one).
#ifndef SAVER_TOOLS_SAVERPACK_INIT_H
#define SAVER_TOOLS_SAVERPACK_INIT_H

#include <ostream>
#include <string>

struct InitOptions {
  std::string folder;
  std::string saverName;       // empty: the folder's own name
  std::string programsFolder;  // empty: searched (see manifest.md)
  std::string saverProgram;    // empty: searched, else a placeholder
  std::string toolPath;        // saverpack's own file, to look beside it
};

// Writes into folder, creating it; refuses when it holds a manifest already
// and keeps any other file that is there. False with the reason.
bool initPackageSource(const InitOptions &options, std::ostream &out, std::string &error);

#endif
