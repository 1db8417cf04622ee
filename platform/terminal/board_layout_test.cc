#include "platform/terminal/board_layout.h"

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

} // namespace
} // namespace qov::terminal
