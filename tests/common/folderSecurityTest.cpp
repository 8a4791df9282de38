#include "common/folderSecurity.h"

#include <gtest/gtest.h>

namespace {

const char ADMINS_AND_SYSTEM[] = "O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

TEST(FolderSecurity, DescriptorGivesTheUserReadAndExecuteOnly) {
  struct Case {
    const char *userSid;
    std::string descriptor;
  };
  const Case cases[] = {
      {"S-1-5-21-1004336348-1177238915-682003330-1001",
       std::string(ADMINS_AND_SYSTEM) +
           "(A;OICI;0x1200a9;;;S-1-5-21-1004336348-1177238915-682003330-1001)"},
      {"S-1-5-18", std::string(ADMINS_AND_SYSTEM) + "(A;OICI;0x1200a9;;;S-1-5-18)"},
      // Texts that are no SID leave the user's entry out; one of them would
      // otherwise add an entry of its own.
      {"", ADMINS_AND_SYSTEM},
      {"S-1-5-21-1)(A;OICI;FA;;;WD", ADMINS_AND_SYSTEM},
      {"BU", ADMINS_AND_SYSTEM},
      {"S-1", ADMINS_AND_SYSTEM},
      {"S-1-5-", ADMINS_AND_SYSTEM},
      {"S--5-18", ADMINS_AND_SYSTEM},
      {"s-1-5-18", ADMINS_AND_SYSTEM},
  };
  for (const Case &each : cases)
    EXPECT_EQ(adminOnlyFolderDescriptor(each.userSid), each.descriptor) << each.userSid;
}

TEST(FolderSecurity, RandomNameSpellsEveryByte) {
  const uint8_t bytes[] = {0x00, 0x09, 0x0a, 0x7f, 0x80, 0xf0, 0xff, 0x1c};
  EXPECT_EQ(randomFolderName("QRP", bytes, sizeof bytes), "QRP00090a7f80f0ff1c");
  EXPECT_EQ(randomFolderName("QRP", bytes, 0), "QRP");
}

}  // namespace
