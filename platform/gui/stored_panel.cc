#include "platform/gui/stored_panel.h"

#include <string_view>

#include "ui/gui_block.h"
#include "ui/stored_panel_format.h"

namespace qov {
namespace {

using namespace stored_panel;

std::string trimmed(std::span<const uint8_t> bytes) {
  std::string s(bytes.begin(), bytes.end());
  std::size_t end = s.find_last_not_of(std::string_view(" \0", 2));
  return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

int num(std::span<const uint8_t> data, std::size_t offset) {
  return get_le16(data, offset);
}

bool parse_item(int16_t type, std::span<const uint8_t> data, StoredPanel& panel) {
  switch (type) {
  case kCaption:
    panel.caption = trimmed(data);
    return true;
  case kHeading:
    if (data.size() < 2)
      return false;
    panel.headings.push_back({num(data, 0), trimmed(data.subspan(2))});
    return true;
  case kListField: {
    if (data.size() < 18)
      return false;
    StoredPanel::ListField f;
    f.number = num(data, 0);
    f.row = num(data, 2);
    f.column = num(data, 4);
    f.width = num(data, 6);
    f.lines = num(data, 8);
    f.name = trimmed(data.subspan(10, 8));
    f.picture = trimmed(data.subspan(18));
    panel.lists.push_back(f);
    return true;
  }
  case kButton: {
    if (data.size() < 28)
      return false;
    StoredPanel::Button b;
    b.key = num(data, 0);
    b.row = num(data, 2);
    b.column = num(data, 4);
    b.name = trimmed(data.subspan(6, 10));
    b.bitmap = trimmed(data.subspan(16, 12));
    b.caption = trimmed(data.subspan(28));
    panel.buttons.push_back(b);
    return true;
  }
  default:
    return true; // unknown items are skipped
  }
}

} // namespace

std::optional<StoredPanel> parse_stored_panel(std::span<const uint8_t> block) {
  if (block.size() < kDefinitionOffset + kFirstItemOffset)
    return std::nullopt;
  StoredPanel panel;
  panel.name = std::string(block.begin() + kNameOffset, block.begin() + kNameOffset + 8);
  std::span<const uint8_t> def = block.subspan(kDefinitionOffset);
  int length = num(def, kLengthOffset);
  if (length < static_cast<int>(kFirstItemOffset) || static_cast<std::size_t>(length) > def.size())
    return std::nullopt;
  def = def.first(static_cast<std::size_t>(length));
  panel.width = num(def, kWidthOffset);
  panel.height = num(def, kHeightOffset);
  std::size_t at = kFirstItemOffset;
  while (at + 2 <= def.size()) {
    int16_t type = get_le16(def, at);
    if (type == kEnd)
      return panel;
    if (at + 4 > def.size())
      return std::nullopt;
    int size = num(def, at + 2);
    if (size < 0 || at + 4 + static_cast<std::size_t>(size) > def.size())
      return std::nullopt;
    if (!parse_item(type, def.subspan(at + 4, static_cast<std::size_t>(size)), panel))
      return std::nullopt;
    at += 4 + static_cast<std::size_t>(size);
  }
  return std::nullopt; // no end item
}

} // namespace qov
