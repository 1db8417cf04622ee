#include "platform/programs/zip_entry_name.h"

#include <gtest/gtest.h>

namespace qov {
namespace {

// The refusals are proven end to end in zip_extractor_test; these are the
// names that pass and the folders they name.
TEST(SafeEntryPath, SplitsAtBothSeparatorsAndDropsEmptyAndDotParts) {
  struct Case {
    const char* name;
    std::vector<std::string> parts;
  };
  const Case cases[] = {
      {"QOV.BAT", {"QOV.BAT"}},
      {"QOVEXEMF\\SP2IMA32.DLL", {"QOVEXEMF", "SP2IMA32.DLL"}},
      {"a/b\\c/", {"a", "b", "c"}},
      {"a//./b", {"a", "b"}},
      {"...", {"..."}},
      {"a..b/..c", {"a..b", "..c"}},
  };
  for (const Case& c : cases) {
    std::string why;
    auto parts = safe_entry_path(c.name, &why);
    ASSERT_TRUE(parts.has_value()) << c.name << ": " << why;
    EXPECT_EQ(*parts, c.parts) << c.name;
  }
}

} // namespace
} // namespace qov
