// The run log's lines: one line per entry whatever the text holds, stamped
// in ISO 8601 UTC with the program that wrote it.
#include "common/runLog.h"

#include <gtest/gtest.h>

TEST(RunLog, EachEntryIsOneStampedLine) {
  struct Case {
    UtcTime time;
    std::string text;
    std::string line;
  } cases[] = {
      {{2026, 12, 10, 9, 5, 7}, "install started", "2026-12-10T09:05:07Z saversetup: install started"},
      {{1999, 1, 2, 23, 59, 59}, "", "1999-01-02T23:59:59Z saversetup: "},
      // A box's text keeps its words on the entry's line.
      {{2026, 1, 1, 0, 0, 0}, "first\r\n\r\nsecond\n", "2026-01-01T00:00:00Z saversetup: first    second "},
  };
  for (const Case &c : cases) EXPECT_EQ(runLogLine(c.time, "saversetup", c.text), c.line);
}

TEST(RunLog, EventsNameWhatTheyConcern) {
  EXPECT_EQ(commandLineText({"/qn", "/log=C:\\setup.log"}), "command line: /qn /log=C:\\setup.log");
  EXPECT_EQ(commandLineText({}), "command line:");
  EXPECT_EQ(placedText("C:\\Windows\\system32\\tide.scr", 4294967296u),
            "placed C:\\Windows\\system32\\tide.scr (4294967296 bytes)");
  EXPECT_EQ(valueWrittenText("HKCU\\Control Panel\\Desktop", "SCRNSAVE.EXE", "C:\\TIDE.SCR"),
            "registry HKCU\\Control Panel\\Desktop: SCRNSAVE.EXE = C:\\TIDE.SCR");
  EXPECT_EQ(failureText(-36, "C:\\w\\temp.dat", "The installer file is damaged."),
            "failed with status -36 (C:\\w\\temp.dat): The installer file is damaged.");
  EXPECT_EQ(failureText(5, "", "Access is denied."), "failed with status 5: Access is denied.");
  EXPECT_EQ(exitCodeText(-36), "exit code -36");
  EXPECT_EQ(exitCodeText(0), "exit code 0");
}
