// The uninstaller's closing messages, composed from its real string table.
#include "programTables.h"
#include "uninstaller/uninstallerTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(UninstallerTexts, TheClosingBoxListsWhatWentOnlyWhenSomethingWent) {
  RemovalOutcome outcome;
  outcome.stayed = "C:\\Windows\\system32\\Tide0001.scr";
  const std::string none = incompleteText("Tide", outcome, "Access is denied.", uninstallerText);
  EXPECT_EQ(none.find("Removed:"), std::string::npos) << none;
  EXPECT_NE(none.find(outcome.stayed + "\r\nAccess is denied."), std::string::npos) << none;

  outcome.removed = {"C:\\a.scr", "C:\\b.dll"};
  const std::string some = incompleteText("Tide", outcome, "Access is denied.", uninstallerText);
  EXPECT_EQ(some.substr(none.size()), "\r\n\r\nRemoved:\r\nC:\\a.scr\r\nC:\\b.dll");
  EXPECT_EQ(removedText("Tide", outcome, uninstallerText),
            "Tide has been removed from this computer.\r\n\r\nRemoved:\r\nC:\\a.scr\r\nC:\\b.dll");
}

TEST(UninstallerTexts, AStatusWithoutSystemTextIsToldByItsNumber) {
  EXPECT_EQ(reasonText(-2204, "", uninstallerText), "Error -2204.");
  EXPECT_EQ(reasonText(5, "Access is denied.", uninstallerText), "Access is denied.");
}

}  // namespace
