#include "ui/screens.h"

#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "tests/support/in_process.h"
#include "tests/support/screen_trace.h"
#include "ui/gui_block.h"

namespace qov::testing {
namespace {

using ScreensTest = InstallerTest;

ScreenItem item(const char* row, const char* column, int16_t code, const std::string& bitmap) {
  ScreenItem it;
  std::memcpy(it.row, row, 2);
  std::memcpy(it.column, column, 2);
  put_le16(it.code, 0, code);
  std::memset(it.picture, ' ', sizeof it.picture);
  if (!bitmap.empty())
    std::memcpy(it.picture + 8, bitmap.data(), bitmap.size());
  return it;
}

TEST_F(ScreensTest, EveryScreenDrawsItsItemsAndListsItsButtons) {
  struct Case {
    const char* name;
    std::function<ScreenTable()> table;
    std::size_t fields;
    std::vector<int> keys;
  };
  const Case cases[] = {
      // Item 7 of the work area is all spaces: the drawing stops there.
      {"main menu", main_menu_screen, 6, {27, 279, 302, 287}},
      {"module", module_screen, 9, {27, 281, 286, 275, 287}},
      {"country", country_screen, 11, {27, 281, 286, 306, 287}},
      {"run-time", runtime_screen, 11, {27, 306, 275, 287}},
      {"update", update_screen, 5, {27}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    answers("key -5\n");
    clear_panel();
    draw_screen(c.table());
    prepare_converse();
    converse_screen();
    WaitingScreen s = waiting_screens(trace()).back();
    std::vector<int> numbers;
    for (std::size_t n = 1; n <= c.fields; ++n)
      numbers.push_back(static_cast<int>(n));
    EXPECT_EQ(s.field_numbers, numbers);
    EXPECT_EQ(s.keys, c.keys);
  }
}

TEST_F(ScreensTest, BlankPicturesAreSkippedAndFieldNumbersStayConsecutive) {
  std::vector<ScreenItem> table = {item("00", "00", 0, "back.bmp"), item("07", "47", 0, ""),
                                   item("12", "34", 281, "button.bmp"),
                                   item("16", "09", 0, "plain.bmp")};
  clear_panel();
  draw_screen(table);
  std::vector<TraceEntry> fields;
  for (const TraceEntry& e : calls_named(trace(), "gui"))
    if (e.code() == kGuiSetField)
      fields.push_back(e);
  ASSERT_EQ(fields.size(), 3u);
  // Numbers 1, 6, 7 and 18, then characters 32, 58, 62, 66, 70 and 74: "w" in
  // character 66 only for the button, though the block is not cleared between
  // items.
  struct Expect {
    int number, row, column, code;
    char c66;
  };
  const Expect expected[] = {{1, 0, 0, 0, '\0'}, {2, 12, 34, 281, 'w'}, {3, 16, 9, 0, '\0'}};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    SCOPED_TRACE(i);
    std::vector<unsigned char> in = from_hex(fields[i]["in"]);
    ASSERT_EQ(in.size(), 2u + 30 + 52 + 74 + 20);
    GuiBlockView v(in);
    EXPECT_EQ(v.number(1), expected[i].number);
    EXPECT_EQ(v.number(6), expected[i].row);
    EXPECT_EQ(v.number(7), expected[i].column);
    EXPECT_EQ(v.number(18), expected[i].code);
    std::string chars = std::string(v.characters(1, 74));
    std::string want(74, '\0');
    want[31] = 'y', want[57] = 's', want[61] = 'i', want[65] = expected[i].c66, want[69] = 'i';
    want[73] = 5;
    EXPECT_EQ(chars, want);
  }
}

TEST_F(ScreensTest, KeyListHoldsEachButtonOnceAndAtMostEighteen) {
  std::vector<ScreenItem> table;
  for (int16_t code = 100; code < 120; ++code)
    table.push_back(item("01", "01", code, "b.bmp"));
  table.push_back(item("01", "01", 100, "again.bmp"));
  answers("key 117\n");
  clear_panel();
  draw_screen(table);
  prepare_converse();
  EXPECT_EQ(converse_screen(), 117);
  WaitingScreen s = waiting_screens(trace()).back();
  EXPECT_EQ(s.field_numbers.size(), 21u);
  std::vector<int> keys = {27};
  for (int code = 100; code < 118; ++code)
    keys.push_back(code);
  EXPECT_EQ(s.keys, keys); // 118 and 119 left out, 100 listed once
}

TEST_F(ScreensTest, ConverseEndsOnlyOnTheKeyListOrMinusFive) {
  struct Case {
    std::string answers;
    int key;
    std::size_t converses;
  };
  const Case cases[] = {
      {"key 281\n", 281, 1},
      {"key 15\nkey 302\nkey 287\n", 287, 3}, // not buttons of the module screen
      {"key 27\n", 27, 1},
      {"key -5\n", -5, 1},
      {"key 0\n", 0, 1}, // matches the first free entry of the list
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    answers(c.answers);
    std::size_t before = calls_named(trace(), "gui").size();
    clear_panel();
    draw_screen(module_screen());
    prepare_converse();
    EXPECT_EQ(converse_screen(), c.key);
    std::vector<int> codes = gui_codes();
    codes.erase(codes.begin(), codes.begin() + static_cast<long>(before));
    std::vector<int> expected = {71, 5, 7, 7, 7, 7, 7, 7, 7, 7, 7, 5};
    expected.insert(expected.end(), c.converses, 19);
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(script->exhausted());
  }
}

TEST_F(ScreensTest, ShownScreenReturnsAtOnceWithoutAnAnswer) {
  answers("");
  clear_panel();
  draw_screen(update_screen());
  prepare_converse(/*show_only=*/true);
  EXPECT_EQ(converse_screen(), 0);
  auto gui = calls_named(trace(), "gui");
  std::vector<unsigned char> in = from_hex(gui.back()["in"]);
  EXPECT_EQ(std::string(GuiBlockView(in).characters(1, 8)), "PANEL001");
  EXPECT_EQ(GuiBlockView(in).character(103), 'n');
}

} // namespace
} // namespace qov::testing
