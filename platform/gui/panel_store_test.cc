#include "platform/gui/panel_store.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/gui_block.h"
#include "ui/gui_library.h"
#include "ui/update_panel_data.h"

namespace qov {
namespace {

// A field definition block as the installer passes it for code 8: header
// 30, 52, 74, the variable room, nothing declared in entries 5 to 13.
GuiBlock readback_block(int16_t room, int16_t field = 1) {
  GuiBlock b({30, 52, 74, room, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 44}, static_cast<std::size_t>(room));
  b.view().set_number(1, field);
  return b;
}

std::string variable_text(GuiBlockView v, std::size_t length) {
  auto part = v.variable_part();
  return std::string(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(length));
}

class PanelStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(store.handle(kGuiLoadStoredPanel, psetup_stored_panel()));
    ASSERT_EQ(get_le16(psetup_stored_panel(), 0), PanelStore::kDone);
  }
  int16_t call(int16_t code, std::span<uint8_t> block) {
    store.handle(code, block);
    return get_le16(block, 0);
  }
  PanelStore store;
};

TEST_F(PanelStoreTest, ReadsTheListFieldBackWithItsSubItemLengths) {
  GuiBlock b = readback_block(9999);
  ASSERT_EQ(call(kGuiGetField, b.bytes()), PanelStore::kDone);
  GuiBlockView v = b.view();
  std::vector<int16_t> header;
  for (std::size_t e = 1; e <= 15; ++e)
    header.push_back(v.header(e));
  EXPECT_EQ(header, (std::vector<int16_t>{30, 52, 74, 83, 8, 10, 57, 0, 8, 0, 0, 0, 0, -1, 44}));
  EXPECT_EQ(v.number(1), 1);
  EXPECT_EQ(variable_text(v, 83), "DIR     X(57)     " + std::string(57, ' ') + "LISTBOX ");
}

TEST_F(PanelStoreTest, StoresADefinitionAndGivesItBackUnchanged) {
  GuiBlock b = readback_block(9999);
  call(kGuiGetField, b.bytes());
  // The value becomes a list of 3591 characters, as the installer hands it.
  std::string list;
  for (int i = 0; i < 63; ++i)
    list += std::string(56, static_cast<char>('A' + i % 26)) + static_cast<char>('0' + i % 10);
  GuiBlockView v = b.view();
  std::string variable = "DIR     X(57)     " + list + "LISTBOX ";
  std::copy(variable.begin(), variable.end(), v.variable_part().begin());
  v.set_header(7, static_cast<int16_t>(list.size()));
  v.set_header(4, static_cast<int16_t>(variable.size()));
  ASSERT_EQ(call(kGuiSetField, b.bytes_with_variable(variable.size())), PanelStore::kDone);

  const FieldDefinition& dir = store.find("PSETUP  ")->fields.at(1);
  EXPECT_EQ(std::string(dir.value().begin(), dir.value().end()), list);

  GuiBlock again = readback_block(9999);
  ASSERT_EQ(call(kGuiGetField, again.bytes()), PanelStore::kDone);
  EXPECT_EQ(again.view().header(7), 3591);
  EXPECT_EQ(variable_text(again.view(), variable.size()), variable);
}

// A refused call answers in the return code and writes nothing else.
TEST_F(PanelStoreTest, ReadbackIntoTooLittleRoomOrOfAMissingFieldIsRefused) {
  struct Case {
    const char* name;
    GuiBlock block;
    int16_t rc;
  };
  GuiBlock wrong_header({20, 52, 74, 9999, 0, 0, 0, 0, 0, 0}, 9999);
  wrong_header.view().set_number(1, 1);
  Case cases[] = {
      {"room for 82 of 83 variable bytes", readback_block(82), PanelStore::kNoRoom},
      {"a header of another size", wrong_header, PanelStore::kNoRoom},
      {"no field 2", readback_block(9999, 2), PanelStore::kNoSuchField},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> before(c.block.bytes().begin(), c.block.bytes().end());
    EXPECT_EQ(call(kGuiGetField, c.block.bytes()), c.rc);
    EXPECT_TRUE(std::equal(before.begin() + 2, before.end(), c.block.bytes().begin() + 2));
  }
}

TEST_F(PanelStoreTest, DefinitionsDeclaringMoreThanTheyHoldAreRefused) {
  struct Case {
    const char* name;
    int16_t variable, value;
    std::size_t passed; // variable bytes actually passed
  };
  const Case cases[] = {
      {"variable part longer than the block", 200, 57, 199},
      {"value longer than the variable part", 100, 90, 100},
      {"variable part beyond the largest room", 10000, 57, 10000},
      {"negative value length", 100, -1, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GuiBlock b({30, 52, 74, c.variable, 8, 10, c.value, 0, 8, 0, 0, 0, 0, -1, 44}, c.passed);
    b.view().set_number(1, 1);
    EXPECT_EQ(call(kGuiSetField, b.bytes()), PanelStore::kMalformed);
    // The field keeps its definition.
    EXPECT_EQ(store.find("PSETUP  ")->fields.at(1).entry(4), 83);
  }
}

TEST(PanelStoreLoadTest, DamagedStoredPanelsAreRefused) {
  std::span<uint8_t> good = psetup_stored_panel();
  struct Case {
    const char* name;
    std::size_t keep; // bytes passed
    std::size_t at;   // byte changed, from the block's start
    uint8_t value;
  };
  const Case cases[] = {
      {"cut inside its items", 600, 0, 0},
      {"length beyond the block", good.size(), 11, 0x7f},
      {"first item's size beyond the definition", good.size(), 19, 0x7f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> block(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(c.keep));
    if (c.at != 0)
      block[c.at] = c.value;
    PanelStore store;
    store.handle(kGuiLoadStoredPanel, block);
    EXPECT_EQ(get_le16(block, 0), PanelStore::kMalformed);
    EXPECT_EQ(store.find("PSETUP  "), nullptr);
  }
}

} // namespace
} // namespace qov
