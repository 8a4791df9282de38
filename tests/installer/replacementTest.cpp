// The upgrade rule and the roll-back journal as tables: two versions and
// "/force" in, what the install does out; a journal written and read back,
// and every way a journal can be cut or damaged.
#include <gtest/gtest.h>

#include "installer/replacementRule.h"
#include "installer/rollbackJournal.h"
#include "programTables.h"

namespace {

TEST(ReplacementRule, VersionsDecideWhatTheInstallDoes) {
  const struct {
    const char *installed, *package;
    bool force;
    Replacement expected;
  } cases[] = {
      {"2.1.0", "2.1.0", false, Replacement::repair},
      {"2.1", "2.1.0.0", false, Replacement::repair},
      {"2.1.0", "2.2.0", false, Replacement::upgrade},
      {"2.9", "2.10", false, Replacement::upgrade},  // parts are numbers, not text
      {"1.65535", "2.0", false, Replacement::upgrade},
      {"2.2.0", "2.0.0", false, Replacement::refusedDowngrade},
      {"2.2.0", "2.0.0", true, Replacement::forcedDowngrade},
      {"2.1.0.1", "2.1.0", false, Replacement::refusedDowngrade},
      {"2.1.0", "2.1.0", true, Replacement::repair},
      // Either side without a version that parses: the overwrite question as ever.
      {"", "2.1.0", false, Replacement::unversioned},
      {"2.1.0", "", false, Replacement::unversioned},
      {"", "", true, Replacement::unversioned},
      {"2.1 beta", "2.2", false, Replacement::unversioned},
      {"3", "2.0", false, Replacement::unversioned},
      {"99999.0", "2.0", true, Replacement::unversioned},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.installed) + " -> " + c.package + (c.force ? " /force" : ""));
    EXPECT_EQ(replacementFor(c.installed, c.package, c.force), c.expected);
  }
  EXPECT_TRUE(keepsInstalledVersion(Replacement::repair));
  EXPECT_TRUE(keepsInstalledVersion(Replacement::upgrade));
  EXPECT_TRUE(keepsInstalledVersion(Replacement::forcedDowngrade));
  EXPECT_FALSE(keepsInstalledVersion(Replacement::unversioned));
  EXPECT_FALSE(keepsInstalledVersion(Replacement::refusedDowngrade));
}

TEST(ReplacementRule, MessagesNameTheSaverAndBothVersions) {
  for (const std::string &text :
       {replacementQuestion("Tide Screen Saver", "2.1.0", "2.2.0", installerText),
        downgradeRefusedText("Tide Screen Saver", "2.1.0", "2.2.0", installerText)}) {
    SCOPED_TRACE(text);
    EXPECT_NE(text.find("Tide Screen Saver"), std::string::npos);
    EXPECT_LT(text.find("2.1.0"), text.find("2.2.0"));
    EXPECT_EQ(text.find('%'), std::string::npos);
  }
  EXPECT_NE(downgradeRefusedText("Tide", "2.2", "2.0", installerText).find("/force"), std::string::npos);
}

RollbackJournal sampleJournal() {
  RollbackJournal journal;
  journal.machineEntry = true;
  journal.entryKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tide";
  journal.values = {{"DisplayName", 1, std::string("Tide Screen Saver\0", 18)},
                    {"Odd\tname\n%", 4, std::string("\x01\x00\x00\x00", 4)},
                    {"", 7, std::string("a\0b\0\0", 5)},
                    {"Empty", 3, ""}};
  journal.moves = {{"C:\\ProgramData\\Lumavane\\Tide\\", "C:\\ProgramData\\Lumavane\\QRK01\\0\\"},
                   {"C:\\windows\\system32\\Tide 100%.scr", "C:\\ProgramData\\Lumavane\\QRK01\\1"}};
  return journal;
}

void expectSame(const RollbackJournal &read, const RollbackJournal &written) {
  EXPECT_EQ(read.machineEntry, written.machineEntry);
  EXPECT_EQ(read.entryKey, written.entryKey);
  ASSERT_EQ(read.values.size(), written.values.size());
  for (size_t i = 0; i < read.values.size(); ++i) {
    EXPECT_EQ(read.values[i].name, written.values[i].name);
    EXPECT_EQ(read.values[i].type, written.values[i].type);
    EXPECT_EQ(read.values[i].data, written.values[i].data);
  }
  ASSERT_EQ(read.moves.size(), written.moves.size());
  for (size_t i = 0; i < read.moves.size(); ++i) {
    EXPECT_EQ(read.moves[i].original, written.moves[i].original);
    EXPECT_EQ(read.moves[i].kept, written.moves[i].kept);
  }
}

TEST(RollbackJournal, WhatIsWrittenReadsBack) {
  for (const RollbackJournal &journal : {sampleJournal(), RollbackJournal()}) {
    RollbackJournal read;
    ASSERT_EQ(readJournal(journalText(journal), read), JournalReading::complete);
    expectSame(read, journal);
  }
}

// A run ended while it wrote the journal leaves any beginning of it, and
// nothing moved: every cut is told as one, never read as complete.
TEST(RollbackJournal, EveryCutIsToldAsOne) {
  const std::string text = journalText(sampleJournal());
  for (size_t length = 0; length < text.size(); ++length) {
    RollbackJournal read;
    EXPECT_EQ(readJournal(text.substr(0, length), read), JournalReading::cut) << length;
  }
}

TEST(RollbackJournal, DamagedJournalIsNeverRead) {
  const std::string first = "saver-rollback 1\n";
  const struct {
    const char *what;
    std::string text;
  } cases[] = {
      {"another format", "saver-rollback 2\nend\n"},
      {"no first line", "end\n"},
      {"a line after the end", first + "end\nmove\ta\tb\n"},
      {"an unknown record", first + "copy\ta\tb\nend\n"},
      {"a move without its kept path", first + "move\ta\nend\n"},
      {"a move with an empty path", first + "move\t\tb\nend\n"},
      {"a value before its entry", first + "value\tx\t1\t00\nend\n"},
      {"a second entry", first + "entry\t1\tk\nentry\t0\tk\nend\n"},
      {"an entry of no root", first + "entry\t2\tk\nend\n"},
      {"an odd number of hex digits", first + "entry\t1\tk\nvalue\tx\t1\t0\nend\n"},
      {"lower-case hex", first + "entry\t1\tk\nvalue\tx\t1\tab\nend\n"},
      {"a type that is no number", first + "entry\t1\tk\nvalue\tx\t-1\t00\nend\n"},
      {"a type too large", first + "entry\t1\tk\nvalue\tx\t65536\t00\nend\n"},
      {"a cut escape", first + "move\ta%4\tb\nend\n"},
      {"an escape of no hex", first + "move\ta%zz\tb\nend\n"},
      {"a carriage return", first + "end\r\n"},
      {"a control byte as it is", first + "move\ta\x01"
                                          "b\tc\nend\n"},
  };
  for (const auto &c : cases) {
    RollbackJournal read;
    EXPECT_EQ(readJournal(c.text, read), JournalReading::damaged) << c.what;
  }
}

}  // namespace
