// What "saverpack extract" writes, worked out in memory before anything is
// written: the programs, the report as header.json, each entry expanded,
// the data file's members, and a manifest that builds the same file again.
#ifndef SAVER_TOOLS_SAVERPACK_EXTRACT_PLAN_H
#define SAVER_TOOLS_SAVERPACK_EXTRACT_PLAN_H

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

struct ExtractedFile {
  std::string path;  // relative to the target folder, "/" between folders
  std::vector<uint8_t> bytes;
};

struct ExtractPlan {
  std::vector<ExtractedFile> files;
  nlohmann::ordered_json manifest;
  // Why the manifest may not rebuild the very same bytes.
  std::vector<std::string> caveats;
  // What a maker should know about the manifest.
  std::vector<std::string> notes;
};

// False, naming the entry or member at fault, when the file is no installer,
// is damaged, or holds a name that would lead out of the target folder.
bool planExtraction(const std::vector<uint8_t> &file, ExtractPlan &plan, std::string &error);

#endif
