// The delivered trace facility is silent: no file, no text, whatever it gets.
#include "common/logFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(Trace, LeavesNothingBehindForAnyText) {
  const fs::path before = fs::current_path();
  const fs::path folder = fs::temp_directory_path() / "saver-trace-test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::current_path(folder);

  const std::string longText(size_t{64} * 1024, 'x');
  for (const std::string &text : {std::string(), longText}) {
    logLine(text);
    logEnter(text);
    logEnterWithArg(text, text);
    logLeave(text);
    logLeaveWithResult(text, -454);
    TraceScope scope(text.c_str(), text);
    scope.result(-454);
  }

  fs::current_path(before);
  EXPECT_TRUE(fs::is_empty(folder));
  fs::remove_all(folder);
}
