// The exit-code table: the README shows the one that the status table gives,
// and each value has one row (a second name is an alias, not a new row).
#include "tools/saverpack/exitCodes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace {

// The table lines that follow the "## Exit codes" heading.
std::string readmeExitCodeTable() {
  std::ifstream readme(SAVER_README);
  std::string line, table;
  bool inSection = false;
  while (std::getline(readme, line)) {
    if (line.starts_with("## ")) inSection = line == "## Exit codes";
    if (inSection && line.starts_with("|")) table += line + "\n";
  }
  return table;
}

}  // namespace

TEST(ExitCodes, ReadmeShowsTheStatusTable) {
  EXPECT_EQ(exitCodeMarkdown(), readmeExitCodeTable())
      << "README.md's exit-code table differs from common/statusCodes.h: put the output of "
         "\"saverpack exit-codes\" under \"## Exit codes\"";
}

TEST(ExitCodes, EachValueHasOneRow) {
  std::set<int32_t> seen;
  for (const ExitCode &row : exitCodeTable())
    EXPECT_TRUE(seen.insert(row.code).second) << row.names[0] << " takes the value of another status";
}
