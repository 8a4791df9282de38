// The exit codes of the launcher, the installer and the uninstaller, taken
// from the one status table (common/statusCodes.h): as the README's table
// ("saverpack exit-codes") and as a winget manifest's ExpectedReturnCodes.
#ifndef SAVER_TOOLS_SAVERPACK_EXIT_CODES_H
#define SAVER_TOOLS_SAVERPACK_EXIT_CODES_H

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

struct ExitCode {
  int32_t code = 0;
  std::vector<std::string> names;  // the constant's name, then its aliases
  std::string meaning;
  std::string response;  // winget's ReturnResponse; "" for a plain failure
};

// Every row: 0, then the system's own codes from -1 down, then the Windows
// codes upwards.
std::vector<ExitCode> exitCodeTable();

// The table as markdown, one line a row after the heading lines.
std::string exitCodeMarkdown();

// The rows that have a response, as winget's ExpectedReturnCodes.
nlohmann::ordered_json expectedReturnCodes();

#endif
