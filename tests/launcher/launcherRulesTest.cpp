// The launcher's portable rules: commands, launch parameters, language, texts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/statusCodes.h"
#include "launcher/launcherRules.h"
#include "launcher/launcherTexts.h"
#include "programTables.h"
#include "package/installNames.h"
#include "package/packageFormat.h"

TEST(CommandText, StopsAtTheFirstNulInsideTheData) {
  const char sent[] = "makeActiveSaver-aquarium.scr\0\0";
  EXPECT_EQ(commandTextFromCopyData(sent, sizeof sent), "makeActiveSaver-aquarium.scr");
}

TEST(CommandText, NeverReadsPastTheDataSize) {
  // Exactly sized heap block without a NUL: ASan reports any read beyond it.
  const char letters[] = {'C', 'l', 'o', 's', 'e'};
  std::unique_ptr<char[]> block(new char[sizeof letters]);
  std::memcpy(block.get(), letters, sizeof letters);
  EXPECT_EQ(commandTextFromCopyData(block.get(), sizeof letters), "Close");
  EXPECT_EQ(commandTextFromCopyData(block.get(), 3), "Clo");
  EXPECT_EQ(commandTextFromCopyData(block.get(), 0), "");
}

TEST(CommandText, NoDataGivesTheEmptyText) {
  EXPECT_EQ(commandTextFromCopyData(nullptr, 0), "");
  EXPECT_EQ(commandTextFromCopyData(nullptr, 100), "");
}

TEST(CommandDispatch, MakeActiveSaverMatchesAnywhereInTheText) {
  EXPECT_EQ(classifyCommand("makeActiveSaver-a.scr"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("xmakeActiveSaver-a.scr"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("makeActiveSaver"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("Close makeActiveSaver"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("MakeActiveSaver-a.scr"), LauncherCommand::None);
}

TEST(CommandDispatch, OtherCommandsMatchTheWholeTextInItsCase) {
  EXPECT_EQ(classifyCommand("openScreenSaverControlPanel"), LauncherCommand::OpenControlPanel);
  EXPECT_EQ(classifyCommand("Close"), LauncherCommand::Close);
  EXPECT_EQ(classifyCommand("openScreenSaverControlPanel "), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("openscreensavercontrolpanel"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("close"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("Close "), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("read installer heard file"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("quiet installer"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand(""), LauncherCommand::None);
}

TEST(SaverFileName, IsTheTextFromItsSeventeenthCharacter) {
  EXPECT_EQ(saverFileNameFromCommand("makeActiveSaver-My Saver.scr"), "My Saver.scr");
  EXPECT_EQ(saverFileNameFromCommand("xmakeActiveSaver-a.scr"), "-a.scr");
  EXPECT_EQ(saverFileNameFromCommand("makeActiveSaver-"), "");
  EXPECT_EQ(saverFileNameFromCommand("makeActiveSaver"), "");
}

// The saver program a package carries (entry 6) is the name the installer
// later sends with "makeActiveSaver-": both ends must take the same names.
TEST(SaverFileName, PackageAndLauncherAcceptTheSameNames) {
  const struct {
    const char *name;
    bool accepted;
  } names[] = {
      {"aquarium.scr", true}, {"My Big Saver.scr", true},
      {"-a.scr", true},       {"a..scr", true},
      {"CON.scr", false},     {"com1.scr", false},
      {"nul", false},         {"", false},
      {".", false},           {"..", false},
      {". .", false},         {"..\\evil.scr", false},
      {"sub\\a.scr", false},  {"sub/a.scr", false},
      {"C:evil.scr", false},  {"\\\\server\\share\\a.scr", false},
  };
  const InstallFolders folders{"W\\", "S\\", "C\\", "Y\\"};
  for (const auto &row : names) {
    const int32_t expected = row.accepted ? STATUS_OK : STATUS_UNSAFE_NAME;
    PackageEntry saverProgram = {};
    setEntryName(saverProgram, row.name);
    saverProgram.destKind = DEST_SYSTEM_FOLDER;
    std::string destination;
    EXPECT_EQ(entryTarget(saverProgram, folders, destination), expected) << "package: " << row.name;
    std::string fileName;
    EXPECT_EQ(activeSaverFileName(std::string("makeActiveSaver-") + row.name, fileName), expected)
        << "launcher: " << row.name;
  }
}

// A read-me path may contain any of the other commands' words.
TEST(CommandDispatch, OpenReadMeMatchesOnlyAtTheStart) {
  EXPECT_EQ(classifyCommand("openReadMe-C:\\makeActiveSaver\\Close.txt"), LauncherCommand::OpenReadMe);
  EXPECT_EQ(classifyCommand("xopenReadMe-a.txt"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("openreadme-a.txt"), LauncherCommand::None);
}

TEST(ReadMeToOpen, OnlyAViewedDocumentDirectlyInASaverFolder) {
  const std::string shared = "C:\\ProgramData\\Lumavane\\";
  const struct {
    const char *named;
    bool opened;
  } rows[] = {
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme.txt", true},
      {"c:\\programdata\\LUMAVANE\\Auro0389\\Read Me.RTF", true},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme.htm", true},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme.html", true},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme.exe", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme.cmd", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme.txt.lnk", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme.txt.", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\readme", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\.txt\\evil.exe", false},
      {"C:\\ProgramData\\Lumavane\\readme.txt", false},                 // no saver folder
      {"C:\\ProgramData\\Lumavane\\Auro0389\\sub\\readme.txt", false},  // deeper
      {"C:\\ProgramData\\Lumavane\\..\\readme.txt", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\..\\..\\x.txt", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\a.txt:b.exe", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389\\con.txt", false},
      {"C:\\ProgramData\\Lumavane\\Auro0389/readme.txt", false},
      {"C:\\ProgramData\\LumavaneX\\Auro0389\\readme.txt", false},
      {"D:\\Downloads\\Auro0389\\readme.txt", false},
      {"\\\\server\\share\\readme.txt", false},
      {"", false},
  };
  for (const auto &row : rows) {
    std::string path = "left over";
    const int32_t status = readMeToOpen(std::string("openReadMe-") + row.named, shared, path);
    EXPECT_EQ(status, row.opened ? STATUS_OK : STATUS_UNSAFE_NAME) << row.named;
    EXPECT_EQ(path, row.opened ? row.named : "") << row.named;
  }
  std::string path;
  EXPECT_EQ(readMeToOpen(shared + "Auro0389\\readme.txt", shared, path), STATUS_UNSAFE_NAME)
      << "not the command";
  EXPECT_EQ(readMeToOpen("openReadMe-\\Auro0389\\readme.txt", "", path), STATUS_UNSAFE_NAME)
      << "no shared folder known";
}

TEST(MessageSender, OnlyTheRunningInstallerCommandsAndAStrangersCloseWaitsForIt) {
  using V = MessageVerdict;
  const struct {
    bool isClose;
    uint32_t sender, installer;
    bool running;
    MessageVerdict verdict;
    bool runsCopy = false;
  } rows[] = {
      {false, 40, 40, true, V::CarryOut},        // the installer's own window
      {false, 41, 40, true, V::CarryOut, true},  // its elevated copy
      {false, 41, 40, false, V::Ignore, true},   // a copy outliving the installer
      {false, 41, 40, true, V::Ignore},          // another process's window
      {false, 0, 40, true, V::Ignore},           // no window, or none at all
      {false, 40, 40, false, V::Ignore},         // ended: its id may be reused
      {false, 0, 0, false, V::Ignore},           // no installer was started
      {false, 0, 0, true, V::Ignore},            // its id unknown
      {true, 0, 40, true, V::CloseWithInstaller},
      {true, 0, 40, false, V::CarryOut},
      {true, 0, 0, false, V::CarryOut},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(judgeMessage({row.isClose, row.sender, row.installer, row.running, row.runsCopy}),
              row.verdict)
        << row.runsCopy << " " << row.isClose << " " << row.sender << " " << row.installer << " "
        << row.running;
  }
}

using Lines = std::vector<std::string>;

TEST(InstallerLaunchPlan, WithoutSwitchesPassesOnlyTheHandle) {
  InstallerLaunchPlan plan = planInstallerLaunch(4063302, {"/x", "/quiet"}, "");
  EXPECT_EQ(plan.parameters, "/l=4063302");
  EXPECT_FALSE(plan.minimised);
  EXPECT_FALSE(plan.hidden);
  EXPECT_EQ(plan.traceLines, (Lines{"command line parameter: /x", "command line parameter: /quiet",
                                    "subLaunchParams: /l=4063302"}));
}

// The switches the installer also knows are passed on in one order, the
// log's full path quoted; how the installer is started follows the quiet ones.
TEST(InstallerLaunchPlan, SwitchesInAnyCaseArePassedOn) {
  struct Case {
    std::vector<std::string> parameters;
    std::string logPath;
    std::string passed;
    bool minimised, hidden;
  } cases[] = {
      {{"other", "/Q", "/after"}, "", "/q /l=70", true, false},
      {{"/qn"}, "", "/qn /l=70", false, true},
      {{"/q", "/QN"}, "", "/qn /l=70", false, true},
      {{"/FORCE", "/force"}, "", "/force /l=70", false, false},
      {{"/forced", "/f"}, "", "/l=70", false, false},
      {{"/LANG=ja", "/q"}, "", "/q /lang=ja /l=70", true, false},
      {{"/lang=xx", "/lang"}, "", "/l=70", false, false},
      {{"/log=setup.log", "/qn", "/force"},
       "C:\\my logs\\setup.log",
       "/qn /force \"/log=C:\\my logs\\setup.log\" /l=70",
       false,
       true},
  };
  for (const Case &c : cases) {
    const InstallerLaunchPlan plan = planInstallerLaunch(70, c.parameters, c.logPath);
    EXPECT_EQ(plan.parameters, c.passed);
    EXPECT_EQ(plan.minimised, c.minimised) << c.passed;
    EXPECT_EQ(plan.hidden, c.hidden) << c.passed;
    EXPECT_EQ(plan.traceLines.size(), c.parameters.size() + 1) << c.passed;
  }
}

TEST(LauncherSwitches, LogPathIsTakenAsGivenWithoutQuotes) {
  struct Case {
    std::vector<std::string> parameters;
    std::string logPath;
    bool silent;
  } cases[] = {
      {{}, "", false},
      {{"/log=C:\\setup.log"}, "C:\\setup.log", false},
      {{"/LOG=\"relative dir\\setup.log\"", "/qn"}, "relative dir\\setup.log", true},
      {{"/logfile=x", "/log", "log=x", "/qnn"}, "", false},
  };
  for (const Case &c : cases) {
    const LauncherSwitches switches = readLauncherSwitches(c.parameters);
    EXPECT_EQ(switches.logPath, c.logPath);
    EXPECT_EQ(switches.silent, c.silent) << c.logPath;
  }
}

TEST(InstallerLaunchPlan, NoParametersAndLargeHandles) {
  InstallerLaunchPlan plan = planInstallerLaunch(4294967295u, {}, "");
  EXPECT_EQ(plan.parameters, "/l=4294967295");
  EXPECT_EQ(plan.traceLines, (Lines{"subLaunchParams: /l=4294967295"}));
}

TEST(LanguageSelection, EachWordGivesItsIndexWhateverCountryFollows) {
  EXPECT_EQ(languageIndexForName("English (United States)"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("Catalan"), LANGUAGE_CATALAN);
  EXPECT_EQ(languageIndexForName("Spanish (Modern Sort)"), LANGUAGE_SPANISH);
  EXPECT_EQ(languageIndexForName("French (Canada)"), LANGUAGE_FRENCH);
  EXPECT_EQ(languageIndexForName("German (Austria)"), LANGUAGE_GERMAN);
  EXPECT_EQ(languageIndexForName("Dutch (Belgium)"), LANGUAGE_DUTCH);
  EXPECT_EQ(languageIndexForName("Japanese"), LANGUAGE_JAPANESE);
  EXPECT_EQ(languageIndexForName("Portugese"), LANGUAGE_PORTUGUESE);
  EXPECT_EQ(languageIndexForName("Portuguese (Brazil)"), LANGUAGE_PORTUGUESE);
}

TEST(LanguageSelection, UnknownOrDifferentlyCasedNamesGiveEnglish) {
  EXPECT_EQ(languageIndexForName("Italian"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("Swedish"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("Deutsch (Deutschland)"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName("german"), LANGUAGE_ENGLISH);
  EXPECT_EQ(languageIndexForName(""), LANGUAGE_ENGLISH);
}

TEST(LanguageSelection, TheEarlierWordInTheSearchOrderWins) {
  EXPECT_EQ(languageIndexForName("German (Dutch)"), LANGUAGE_DUTCH);
  EXPECT_EQ(languageIndexForName("Catalan Spanish"), LANGUAGE_SPANISH);
  EXPECT_EQ(languageIndexForName("French Portugese"), LANGUAGE_PORTUGUESE);
  EXPECT_EQ(languageIndexForName("Japanese German"), LANGUAGE_GERMAN);
  EXPECT_EQ(languageIndexForName("Japanese English"), LANGUAGE_ENGLISH);
}

TEST(LauncherStatus, InputOutputCodesAreReportedNegated) {
  EXPECT_EQ(negatedIoCode(32), -32);
  EXPECT_EQ(negatedIoCode(0), 0);
  EXPECT_EQ(negatedIoCode(STATUS_NOTHING_APPENDED), STATUS_NOTHING_APPENDED);
}

TEST(LauncherStatus, MessagesCarryTheirExactWording) {
  EXPECT_EQ(corruptInstallerMessage(-7, launcherText), "Installer file is corrupted. Error: -7. ");
  EXPECT_EQ(extractionIoErrorMessage("Setup.exe", "Access denied.", launcherText),
            "Lumavane Error: Setup.exe\r\n\r\nAccess denied.");
  EXPECT_EQ(copyDataSenderLine(-5), "WM_CopyData from: -5");
  EXPECT_EQ(receivedCommandLine("Close", "08.12.2026"), "Received MESSSAGE \"Close\" at 08.12.2026");
}
