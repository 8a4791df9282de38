#include "package/packageStatus.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallErrorText, FileTextAppearsWhereEachCodeWantsIt) {
  EXPECT_EQ("Installation Error: C:\\w\\temp.dat\r\n\r\nProblem with file C:\\w\\temp.dat. ",
            installErrorText(-31, "C:\\w\\temp.dat"));
  EXPECT_EQ("Installation Error: \r\n\r\nProblem with file . ", installErrorText(-531, ""));
  EXPECT_EQ("Installation Error: ", installErrorText(-1, "f"));
  const std::string busy = installErrorText(-32, "f.txt");
  EXPECT_EQ(0u, busy.find("Installation Error:  File is busy"));
  EXPECT_EQ("\r\n\r\nFile: f.txt", busy.substr(busy.size() - 15));
  EXPECT_EQ(std::string::npos, installErrorText(-38, "f.scr").find("f.scr"));
  EXPECT_EQ(0u, installErrorText(5, "f").find("Installation Error: f\r\n\r\nInsufficient user"));
  EXPECT_EQ(0u, installErrorText(-523, "t").find("Installation Error: t\r\n\r\nPlease retry"));
}

TEST(DataFileTexts, CodesAndPathsAreJoinedAsShown) {
  EXPECT_EQ("Problem opening screen saver data file.\r\n\r\nFile: d.dat\r\n\r\n-30",
            dataFileOpenErrorText("d.dat", -30));
  EXPECT_EQ("Lumavane Error: Problem reading screen saver data file. Disk full",
            dataFileReadErrorText("Disk full"));
}

}  // namespace
