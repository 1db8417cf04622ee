#include "platform/terminal/terminal_text.h"

#include <gtest/gtest.h>

#include "system/win1252.h"

namespace qov::terminal {
namespace {

TEST(TerminalTextTest, ShowsPortugueseWindows1252AsTheCharactersMeant) {
  struct Case {
    const char* w1252;
    const wchar_t* shown;
  };
  for (Case c : {Case{"Vers\xe3o", L"Versão"},
                 Case{"Mo\xe7"
                      "ambique",
                      L"Moçambique"},
                 Case{"Direct\xf3rio", L"Directório"}, Case{"Instala\xe7\xe3o", L"Instalação"},
                 Case{"\x80 5", L"€ 5"}})
    EXPECT_EQ(shown_text(c.w1252), c.shown) << c.w1252;
}

TEST(TerminalTextTest, ControlCharactersNeverReachTheTerminal) {
  EXPECT_EQ(shown_text(std::string("a\0b\x1b[2Jc\x81", 10)), L"a b [2Jc  ");
  EXPECT_EQ(shown_utf8("o disco\x07 est\xc3\xa1"), L"o disco  está");
  EXPECT_EQ(shown_utf8("bad \xc3"), L"bad \xfffd");
}

TEST(TerminalTextTest, TrimsTrailingSpacesAndNulsOnly) {
  EXPECT_EQ(trimmed_field(std::string("  Fim da Instala\xe7\xe3o  \0\0 ", 24)),
            "  Fim da Instala\xe7\xe3o");
  EXPECT_EQ(trimmed_field(std::string(60, ' ')), "");
}

TEST(TerminalTextTest, WrapsAtSpacesAndCutsLongWords) {
  using Lines = std::vector<std::wstring>;
  EXPECT_EQ(wrapped(L"Pretende repetir directório de Instalação", 20),
            (Lines{L"Pretende repetir", L"directório de", L"Instalação"}));
  EXPECT_EQ(wrapped(L"abcdefghij", 4), (Lines{L"abcd", L"efgh", L"ij"}));
  EXPECT_EQ(wrapped(L"   ", 4), Lines{});
}

TEST(TerminalTextTest, TypedCharactersBecomeWindows1252) {
  EXPECT_EQ(w1252_from_typed(L'ç'), "\xe7");
  EXPECT_EQ(w1252_from_typed(L'€'), "\x80");
  EXPECT_EQ(w1252_from_typed(L'?'), "?");
  EXPECT_EQ(w1252_from_typed(L'Ж'), "");
  EXPECT_EQ(w1252_from_typed(L'\t'), "");
}

} // namespace
} // namespace qov::terminal
