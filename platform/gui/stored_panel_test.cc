#include "platform/gui/stored_panel.h"

#include <gtest/gtest.h>

#include "system/win1252.h"
#include "ui/gui_block.h"
#include "ui/stored_panel_format.h"
#include "ui/update_panel_data.h"

namespace qov {
namespace {

TEST(StoredPanelTest, PsetupHoldsItsCaptionHeadingsListAndButtons) {
  std::span<uint8_t> block = psetup_stored_panel();
  ASSERT_EQ(block.size(), 10u + 1368u);
  EXPECT_EQ(get_le16(block, stored_panel::kDefinitionOffset), 1368);

  auto panel = parse_stored_panel(block);
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->name, "PSETUP  ");
  EXPECT_EQ(panel->caption, w1252(" Indique Directório para Actualização:"));

  std::vector<std::string> headings;
  for (const auto& h : panel->headings)
    headings.push_back(h.text);
  EXPECT_EQ(headings,
            (std::vector<std::string>{w1252("Directório"), "Pos", "Linguagem", w1252("Versão")}));

  ASSERT_EQ(panel->lists.size(), 1u);
  EXPECT_EQ(panel->lists[0].number, 1);
  EXPECT_EQ(panel->lists[0].name, "DIR");
  EXPECT_EQ(panel->lists[0].picture, "X(57)");
  EXPECT_EQ(panel->lists[0].width, 57);

  struct Expected {
    int key;
    const char *name, *bitmap, *caption;
  };
  const Expected buttons[] = {{316, "ICON-F1", "PEQVER2.bmp", "Outras Versões"},
                              {15, "ICON-OK", "PEQOK.BMP", "OK"},
                              {3, "ICON-CAN", "PEQCAN.BMP", "Cancelar"}};
  ASSERT_EQ(panel->buttons.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(panel->buttons[i].key, buttons[i].key);
    EXPECT_EQ(panel->buttons[i].name, buttons[i].name);
    EXPECT_EQ(panel->buttons[i].bitmap, buttons[i].bitmap);
    EXPECT_EQ(panel->buttons[i].caption, w1252(buttons[i].caption));
  }
}

} // namespace
} // namespace qov
