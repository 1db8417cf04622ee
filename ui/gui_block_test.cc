#include "ui/gui_block.h"

#include <string>

#include <gtest/gtest.h>

#include "ui/windows.h"

namespace qov {
namespace {

std::string hex(std::span<const uint8_t> bytes) {
  static const char d[] = "0123456789abcdef";
  std::string s;
  for (uint8_t b : bytes)
    s += {d[b >> 4], d[b & 15]};
  return s;
}

TEST(GuiBlockTest, MainWindowDefinitionIsByteExact) {
  std::string expected;
  expected += "0000"; // return code
  expected += "0a00"
              "2600"
              "2600"
              "6400"
              "6400";             // header 10, 38, 38, 100, 100
  expected += "0000000000000000"; // numbers 1-4
  expected += "5400"
              "2200"
              "0600"
              "2800";                  // numbers 5-8: 84, 34, 6, 40
  expected += "0000000000000000";      // numbers 9-12
  expected += "0100";                  // number 13
  expected += std::string(6 * 4, '0'); // numbers 14-19
  expected += hex(std::span(reinterpret_cast<const uint8_t*>("SETUP   "), 8));
  expected += std::string(17 * 2, '0') + "64" + std::string(12 * 2, '0'); // character 26 "d"
  std::string title = "QOV-Software (Setup)" + std::string(80, ' ');
  expected += hex(std::span(reinterpret_cast<const uint8_t*>(title.data()), title.size()));

  GuiBlock block = main_window_definition();
  EXPECT_EQ(block.bytes().size(), 188u);
  EXPECT_EQ(hex(block.bytes()), expected);
}

TEST(GuiBlockTest, NumbersAndCharactersAreNumberedFromOneAndBoundsChecked) {
  GuiBlock block({10, 4, 3, 2, 0}, 2); // 2 numbers, 3 characters, 2 variable bytes
  GuiBlockView v = block.view();
  v.set_number(1, -5);
  v.set_number(2, 0x1234);
  v.set_number(3, 7);         // no number 3: nothing written
  v.set_characters(2, "xyz"); // cut at the end of the character part
  v.set_character(0, 'q');
  EXPECT_EQ(v.number(1), -5);
  EXPECT_EQ(v.number(2), 0x1234);
  EXPECT_EQ(v.number(3), 0);
  EXPECT_EQ(hex(v.numeric_part()), "fbff3412");
  EXPECT_EQ(std::string(v.characters(1, 3)), std::string("\0xy", 3));
  EXPECT_EQ(v.variable_part().size(), 2u);
  EXPECT_EQ(hex(block.bytes()), "0000"
                                "0a00040003000200"
                                "0000"
                                "fbff3412"
                                "007879"
                                "0000");

  v.set_header(4, 99);
  EXPECT_EQ(v.header(4), 99);
  v.clear_parts();
  EXPECT_EQ(hex(v.numeric_part()), "00000000");
  EXPECT_EQ(v.header(2), 4); // the header stays
}

TEST(GuiBlockTest, ViewOverShortBytesNeverReadsPastTheEnd) {
  uint8_t bytes[5] = {0, 0, 40, 0, 9}; // header claims 40 bytes
  GuiBlockView v(bytes);
  EXPECT_EQ(v.header(3), 0);
  EXPECT_TRUE(v.numeric_part().empty());
  EXPECT_TRUE(v.variable_part().empty());
  v.set_number(1, 5);
  v.set_character(1, 'x');
  v.clear_parts();
  EXPECT_EQ(bytes[4], 9);
}

} // namespace
} // namespace qov
