#include "platform/terminal/board_layout.h"

#include <tuple>

#include <gtest/gtest.h>

namespace qov::terminal {
namespace {

// Three buttons drawn out of reading order, the last one over the first.
std::vector<Target> board() {
  return {{{12, 20, 1, 12}, 281}, {{18, 20, 1, 8}, 287}, {{12, 25, 2, 4}, 306}};
}

TEST(BoardLayoutTest, AClickHitsTheTargetDrawnLast) {
  auto t = board();
  EXPECT_EQ(target_at(t, 12, 20), 0);
  EXPECT_EQ(target_at(t, 12, 26), 2);
  EXPECT_EQ(target_at(t, 13, 28), 2);
  EXPECT_EQ(target_at(t, 18, 27), 1);
  EXPECT_EQ(target_at(t, 18, 28), -1);
  EXPECT_EQ(target_at(t, 11, 20), -1);
}

TEST(BoardLayoutTest, FocusFollowsReadingOrderAndWraps) {
  auto order = reading_order(board());
  EXPECT_EQ(order, (std::vector<int>{0, 2, 1}));
  EXPECT_EQ(moved_focus(order, -1, 1), 0);
  EXPECT_EQ(moved_focus(order, -1, -1), 1);
  EXPECT_EQ(moved_focus(order, 0, 1), 2);
  EXPECT_EQ(moved_focus(order, 1, 1), 0);
  EXPECT_EQ(moved_focus(order, 0, -1), 1);
  EXPECT_EQ(moved_focus({}, -1, 1), -1);
}

std::tuple<int, int, int, int> parts(const Rect& r) {
  return {r.row, r.column, r.rows, r.columns};
}

TEST(BoardLayoutTest, CaptionsSitOnThePictureBottomRow) {
  struct Case {
    Rect picture;
    int width;
    Rect place;
  };
  for (Case c : {Case{{6, 20, 2, 8}, 4, {7, 22, 1, 4}},   // centred
                 Case{{6, 20, 2, 8}, 7, {7, 20, 1, 7}},   // odd room: the spare cell right
                 Case{{6, 20, 2, 8}, 13, {7, 20, 1, 13}}, // wider: from the first column on
                 Case{{3, 5, 1, 12}, 8, {3, 7, 1, 8}}}) { // a one-row picture
    Rect r = caption_place(c.picture, c.width);
    EXPECT_EQ(parts(r), parts(c.place)) << c.width;
  }
  EXPECT_TRUE(overlap({7, 4, 1, 12}, {7, 14, 1, 9}));
  EXPECT_FALSE(overlap({7, 4, 1, 12}, {7, 16, 1, 9})); // side by side
  EXPECT_FALSE(overlap({7, 4, 1, 12}, {8, 4, 1, 12})); // one under the other
  Rect both = united({6, 20, 2, 8}, {7, 20, 1, 13});
  EXPECT_EQ(parts(both), std::make_tuple(6, 20, 2, 13));
}

} // namespace
} // namespace qov::terminal
