#include "ui/update_panel_data.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "system/win1252.h"
#include "ui/gui_block.h"
#include "ui/stored_panel_format.h"

namespace qov {
namespace {

using namespace stored_panel;

class PanelWriter {
public:
  explicit PanelWriter(std::span<uint8_t> definition) : out_(definition) {}

  void number(int16_t v) {
    put_le16(out_, at_, v);
    at_ += 2;
  }
  void text(std::string_view s, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
      out_[at_ + i] = static_cast<uint8_t>(i < s.size() ? s[i] : ' ');
    at_ += width;
  }
  // Starts an item; finish() fills in its data size.
  void item(ItemType type) {
    number(type);
    size_at_ = at_;
    number(0);
  }
  void finish() { put_le16(out_, size_at_, static_cast<int16_t>(at_ - size_at_ - 2)); }

  std::size_t at() const { return at_; }
  void seek(std::size_t at) { at_ = at; }

private:
  std::span<uint8_t> out_;
  std::size_t at_ = 0;
  std::size_t size_at_ = 0;
};

void build(std::span<uint8_t> block) {
  std::memcpy(block.data() + kNameOffset, "PSETUP  ", 8);
  PanelWriter w(block.subspan(kDefinitionOffset, kPsetupDefinitionLength));
  w.number(static_cast<int16_t>(kPsetupDefinitionLength));
  w.number(72); // width
  w.number(20); // height
  w.seek(kFirstItemOffset);

  std::string caption = w1252(" Indique Directório para Actualização:");
  w.item(kCaption);
  w.text(caption, caption.size());
  w.finish();

  struct Heading {
    int16_t column;
    const char* text;
  };
  // Columns of the list lines: folder 1-40, Pos 42, Linguagem 45-51, Versão
  // 52-57 (" 6.000"). "Linguagem" is two characters wider than its column,
  // so "Versão" starts one space after it, over the version's last digits.
  for (Heading h : {Heading{1, "Directório"}, Heading{41, "Pos"}, Heading{45, "Linguagem"},
                    Heading{55, "Versão"}}) {
    std::string t = w1252(h.text);
    w.item(kHeading);
    w.number(h.column);
    w.text(t, t.size());
    w.finish();
  }

  w.item(kListField);
  w.number(1);  // field number
  w.number(4);  // row
  w.number(2);  // column
  w.number(57); // width
  w.number(10); // visible lines
  w.text("DIR", 8);
  w.text("X(57)", 5);
  w.finish();

  struct Button {
    int16_t key, row, column;
    const char* name;
    const char* bitmap;
    const char* caption;
  };
  for (Button b : {Button{316, 16, 2, "ICON-F1", "PEQVER2.bmp", "Outras Versões"},
                   Button{15, 16, 30, "ICON-OK", "PEQOK.BMP", "OK"},
                   Button{3, 16, 50, "ICON-CAN", "PEQCAN.BMP", "Cancelar"}}) {
    std::string caption_text = w1252(b.caption);
    w.item(kButton);
    w.number(b.key);
    w.number(b.row);
    w.number(b.column);
    w.text(b.name, 10);
    w.text(b.bitmap, 12);
    w.text(caption_text, caption_text.size());
    w.finish();
  }
  w.number(kEnd);
}

} // namespace

std::span<uint8_t> psetup_stored_panel() {
  static std::array<uint8_t, kDefinitionOffset + kPsetupDefinitionLength> block = [] {
    std::array<uint8_t, kDefinitionOffset + kPsetupDefinitionLength> b{};
    build(b);
    return b;
  }();
  return block;
}

} // namespace qov
