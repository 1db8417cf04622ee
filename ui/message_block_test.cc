#include "ui/message_block.h"

#include <gtest/gtest.h>

#include "system/win1252.h"
#include "tests/support/in_process.h"

namespace qov::testing {
namespace {

using MessageBlockTest = InstallerTest;

std::string bytes_of(const std::vector<unsigned char>& v, std::size_t from, std::size_t n) {
  return std::string(v.begin() + from, v.begin() + from + n);
}

TEST_F(MessageBlockTest, CdNotFoundBlockIsByteExact) {
  answers("answer -\n");
  char answer = show_message(cd_not_found_message());
  EXPECT_EQ(answer, '\0');
  auto calls = calls_named(trace(), "gui");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].code(), 48);
  auto in = from_hex(calls[0]["in"]);
  ASSERT_EQ(in.size(), 2u + 12 + 2 + 4 + 240);
  EXPECT_EQ(calls[0]["in"].substr(0, 2 * 20), "0000"
                                              "0c0002000400f0003c00b400"
                                              "0100"
                                              "73000000");
  std::string title = w1252("QOV-Software      Erro de Instalação");
  std::string text = w1252("Não foi encontrado \"CD de Instalação\"");
  EXPECT_EQ(bytes_of(in, 20, 60), title + std::string(60 - title.size(), ' '));
  EXPECT_EQ(bytes_of(in, 80, 180), text + std::string(180 - text.size(), ' '));
}

TEST_F(MessageBlockTest, QuestionsCarryTheirLettersAndGetTheAnswer) {
  answers("answer y\nanswer n\nanswer -\n");
  EXPECT_EQ(show_message(cancel_question()), 'y');
  EXPECT_EQ(show_message(no_folder_question()), 'n');
  // The old answer does not survive: the block is cleared before each call.
  EXPECT_EQ(show_message(version_too_old_message()), '\0');
  auto calls = calls_named(trace(), "gui");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0]["in"].substr(32, 8), "716e7900");  // "q", "n", "y"
  EXPECT_EQ(calls[1]["in"].substr(32, 8), "71797900");  // "q", "y", "y"
  EXPECT_EQ(calls[0]["out"].substr(32, 8), "716e7979"); // answer "y" in letter 4
  // The version message's text is followed by NULs, not spaces.
  auto in = from_hex(calls[2]["in"]);
  std::string text = w1252("Este CD só permite instalar Versões 4.89x ou posteriores.");
  EXPECT_EQ(bytes_of(in, 80, 180), text + std::string(180 - text.size(), '\0'));
}

} // namespace
} // namespace qov::testing
