#include "platform/terminal/terminal_progress.h"

#include <gtest/gtest.h>

namespace qov {
namespace {

TEST(TerminalProgressTest, BarFillsInProportionAndEndsWithThePercentage) {
  EXPECT_EQ(progress_bar(0, 1000, 15), L"░░░░░░░░░░   0%");
  EXPECT_EQ(progress_bar(500, 1000, 15), L"█████░░░░░  50%");
  EXPECT_EQ(progress_bar(2000, 1000, 15), L"██████████ 100%");
  EXPECT_EQ(progress_bar(4096, 0, 15), L"4 KB");
}

} // namespace
} // namespace qov
