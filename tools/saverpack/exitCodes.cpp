#include "tools/saverpack/exitCodes.h"

#include "common/statusCodes.h"

#include <algorithm>

namespace {

// 0 first, then the negative codes as they grow in size, then the positive.
bool listedBefore(const ExitCode &a, const ExitCode &b) {
  const auto rank = [](int32_t code) { return code == 0 ? 0 : (code < 0 ? 1 : 2); };
  if (rank(a.code) != rank(b.code)) return rank(a.code) < rank(b.code);
  return a.code < 0 ? a.code > b.code : a.code < b.code;
}

// A table cell: "|" would end it early.
std::string cell(const std::string &text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '|') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

}  // namespace

std::vector<ExitCode> exitCodeTable() {
  std::vector<ExitCode> rows;
#define SAVER_EXIT_CODE_ROW(name, value, response, meaning) \
  rows.push_back({value, {#name}, meaning, response});
  SAVER_STATUS_TABLE(SAVER_EXIT_CODE_ROW)
#undef SAVER_EXIT_CODE_ROW
#define SAVER_EXIT_CODE_ALIAS(name, of) \
  std::ranges::find_if(rows, [](const ExitCode &row) { return row.code == (of); })->names.push_back(#name);
  SAVER_STATUS_ALIASES(SAVER_EXIT_CODE_ALIAS)
#undef SAVER_EXIT_CODE_ALIAS
  std::ranges::sort(rows, listedBefore);
  return rows;
}

std::string exitCodeMarkdown() {
  std::string text = "| Exit code | Name | Meaning | winget response |\n| ---: | --- | --- | --- |\n";
  for (const ExitCode &row : exitCodeTable()) {
    std::string names;
    for (const std::string &name : row.names) names += (names.empty() ? "`" : ", `") + name + "`";
    text += "| " + std::to_string(row.code) + " | " + names + " | " + cell(row.meaning) + " | " +
            (row.response.empty() ? "" : "`" + row.response + "`") + " |\n";
  }
  return text;
}

nlohmann::ordered_json expectedReturnCodes() {
  nlohmann::ordered_json codes = nlohmann::ordered_json::array();
  for (const ExitCode &row : exitCodeTable())
    if (!row.response.empty())
      codes.push_back({{"InstallerReturnCode", row.code}, {"ReturnResponse", row.response}});
  return codes;
}
