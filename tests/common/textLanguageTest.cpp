// Which language the programs speak, from "/lang=", the user's language and
// the package's list.
#include "common/textLanguage.h"

#include <gtest/gtest.h>

namespace {

const uint16_t GERMAN = 0x0407, FRENCH = 0x040C, JAPANESE = 0x0411, CHINESE = 0x0804;
const uint16_t GERMAN_AUSTRIA = 0x0C07, CHINESE_TAIWAN = 0x0404, KOREAN = 0x0412;

TEST(TextLanguage, RequestThenUserLanguageThenEnglish) {
  struct Case {
    const char *requested;
    uint16_t user;
    const char *offered;
    uint16_t spoken;
  };
  const Case cases[] = {
      {"", GERMAN, "", GERMAN},                      // the user's language
      {"", GERMAN_AUSTRIA, "", GERMAN},              // by its primary language
      {"", CHINESE_TAIWAN, "", CHINESE},             // the one Chinese table
      {"", KOREAN, "", ENGLISH_LANGUAGE_ID},         // no table: English
      {"fr", JAPANESE, "", FRENCH},                  // the request first
      {"FR", JAPANESE, "", FRENCH},                  // in any letter case
      {"xx", JAPANESE, "", JAPANESE},                // an unknown request is passed over
      {"fr", GERMAN, "en,de", GERMAN},               // so is one the package does not offer
      {"", JAPANESE, "en,de", ENGLISH_LANGUAGE_ID},  // nor the user's
      {"", GERMAN, "fr, de", GERMAN},                // spaces in the list
      {"en", GERMAN, "de", ENGLISH_LANGUAGE_ID},     // English is always offered
      {"", 0, "", ENGLISH_LANGUAGE_ID},
  };
  for (const Case &c : cases)
    EXPECT_EQ(chooseTextLanguage(c.requested, c.user, c.offered), c.spoken)
        << c.requested << " " << c.user << " " << c.offered;
}

TEST(TextLanguage, ListsAndSwitches) {
  std::vector<std::string> codes;
  std::string unknown;
  EXPECT_TRUE(readLanguageList("en,de,zh", codes, unknown));
  EXPECT_EQ(codes, (std::vector<std::string>{"en", "de", "zh"}));
  EXPECT_FALSE(readLanguageList("en,xx,de", codes, unknown));
  EXPECT_EQ(unknown, "xx");
  EXPECT_FALSE(readLanguageList("en,,de", codes, unknown));
  EXPECT_EQ(unknown, "");

  std::string code;
  EXPECT_TRUE(languageSwitchCode("/LANG=ja", code));
  EXPECT_EQ(code, "ja");
  EXPECT_FALSE(languageSwitchCode("/language=ja", code));
  EXPECT_FALSE(languageSwitchCode("/lan", code));
  EXPECT_EQ(textLanguages().size(), 12u);
}

}  // namespace
