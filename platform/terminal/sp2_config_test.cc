#include "platform/terminal/sp2_config.h"

#include <gtest/gtest.h>

namespace qov::terminal {
namespace {

TEST(Sp2ConfigTest, GivesTheCaptionOfABitmapWhateverTheCase) {
  Sp2Config c = Sp2Config::parse("# demo CD\r\n"
                                 "bitmap cd_por.bmp Portugal\r\n"
                                 "  bitmap\tCD_MOC.BMP   Mo\xe7"
                                 "ambique  \r\n"
                                 "bitmap cd_sair.bmp Sair do programa\n");
  EXPECT_EQ(c.caption("CD_POR.BMP"), "Portugal");
  EXPECT_EQ(c.caption("cd_moc.bmp"), "Mo\xe7"
                                     "ambique");
  EXPECT_EQ(c.caption("cd_sair.bmp"), "Sair do programa");
  EXPECT_EQ(c.caption("cd_ang.bmp"), "cd_ang.bmp");
}

TEST(Sp2ConfigTest, DamagedLinesFallBackToTheBitmapName) {
  for (const char* text :
       {"bitmap cd_por.bmp", "bitmap cd_por.bmp   \n", "bitmap\n", "picture cd_por.bmp Portugal",
        "#bitmap cd_por.bmp Portugal", "\xff\xfe\0garbage", ""}) {
    Sp2Config c = Sp2Config::parse(text);
    EXPECT_FALSE(c.has_caption("cd_por.bmp")) << text;
    EXPECT_EQ(c.caption("cd_por.bmp"), "cd_por.bmp");
  }
}

TEST(Sp2ConfigTest, AGoodLineAfterABadOneStillCounts) {
  Sp2Config c = Sp2Config::parse("bitmap\nbitmap cd_ang.bmp Angola");
  EXPECT_EQ(c.caption("cd_ang.bmp"), "Angola");
}

} // namespace
} // namespace qov::terminal
