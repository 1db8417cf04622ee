#include "ui/update_panel_data.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "system/win1252.h"
#include "ui/gui_block.h"
#include "ui/stored_panel_format.h"

namespace qov {
namespace {

using namespace stored_panel;

struct HeadingItem {
  int column;
  std::string text;
};

// The column headings of the stored definition, in their order.
std::vector<HeadingItem> headings() {
  std::span<uint8_t> definition = psetup_stored_panel().subspan(kDefinitionOffset);
  std::vector<HeadingItem> out;
  for (std::size_t at = kFirstItemOffset; at + 4 <= definition.size();) {
    int16_t type = get_le16(definition, at);
    std::size_t size = static_cast<uint16_t>(get_le16(definition, at + 2));
    if (type == kEnd)
      break;
    if (type == kHeading)
      out.push_back({get_le16(definition, at + 4),
                     std::string(definition.begin() + at + 6, definition.begin() + at + 4 + size)});
    at += 4 + size;
  }
  return out;
}

// Every heading shows whole, one space at least before the next, and stands
// over characters of the list line's column it names.
TEST(UpdatePanelDataTest, HeadingsShowWholeOverTheirListColumns) {
  struct Column {
    const char* heading;
    int first, last; // characters of the 57-character list line
  };
  const Column columns[] = {
      {"Directório", 1, 40}, {"Pos", 42, 42}, {"Linguagem", 45, 51}, {"Versão", 52, 57}};
  std::vector<HeadingItem> items = headings();
  ASSERT_EQ(items.size(), std::size(columns));
  for (std::size_t i = 0; i < items.size(); ++i) {
    const HeadingItem& h = items[i];
    int end = h.column + static_cast<int>(h.text.size()) - 1; // one byte a character
    EXPECT_EQ(h.text, w1252(columns[i].heading));
    EXPECT_LE(h.column, columns[i].last) << columns[i].heading;
    EXPECT_GE(end, columns[i].first) << columns[i].heading;
    if (i + 1 < items.size()) {
      EXPECT_LT(end + 1, items[i + 1].column) << columns[i].heading << " runs into the next";
    }
  }
}

} // namespace
} // namespace qov
