// The stored title bytes against an independent conversion of the titles
// from UTF-8 into the code page a system of that language uses.
#include <gtest/gtest.h>
#include <iconv.h>

#include "common/controlPanelTitles.h"

static std::string inCodePage(const char *codePage, const std::string &utf8) {
  iconv_t converter = iconv_open(codePage, "UTF-8");
  EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1)) << codePage;
  std::string output(utf8.size() * 2, '\0');
  char *in = const_cast<char *>(utf8.data());
  char *out = output.data();
  size_t inLeft = utf8.size(), outLeft = output.size();
  EXPECT_NE(iconv(converter, &in, &inLeft, &out, &outLeft), static_cast<size_t>(-1));
  iconv_close(converter);
  output.resize(output.size() - outLeft);
  return output;
}

TEST(ControlPanelTitles, JapaneseTitlesAreCodePage932) {
  EXPECT_EQ(JAPANESE_FIRST_TITLE, inCodePage("CP932", "画面のプロパティ"));
  EXPECT_EQ(JAPANESE_SECOND_TITLE, inCodePage("CP932", "スクリーン セーバーの設定"));
}

TEST(ControlPanelTitles, WesternTitlesAreCodePage1252) {
  EXPECT_EQ(FRENCH_FIRST_TITLE, inCodePage("CP1252", "Afficher propriétés"));
  EXPECT_EQ(FRENCH_SECOND_TITLE, inCodePage("CP1252", "Paramètres de l'écran de veille"));
  EXPECT_EQ(PORTUGUESE_FIRST_TITLE, inCodePage("CP1252", "Propriedades de vídeo"));
  EXPECT_EQ(std::string(DUTCH_FIRST_TITLE), "display eigenschappen ");
}
