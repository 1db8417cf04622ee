#include "tests/support/screen_trace.h"

#include "ui/gui_block.h"

namespace qov::testing {
namespace {

// Offsets in the blocks as the installer passes them: the field definition
// (15 header entries, 26 numbers, 74 characters), the panel definition (15
// entries, 24 numbers, 76 characters, the key list after 230 variable bytes)
// and the converse block (10 entries, 20 numbers).
constexpr std::size_t kFieldNumbers = 2 + 30;
constexpr std::size_t kFieldPicture = kFieldNumbers + 52 + 74;
constexpr std::size_t kKeyList = 2 + 30 + 48 + 76 + 230;
constexpr std::size_t kConverseKey = 2 + 20;
constexpr std::size_t kConverseCharacters = kConverseKey + 40;

std::string bytes(const std::vector<unsigned char>& b, std::size_t at, std::size_t n) {
  return at + n <= b.size() ? std::string(b.begin() + at, b.begin() + at + n) : std::string();
}

} // namespace

std::vector<WaitingScreen> waiting_screens(const std::vector<TraceEntry>& trace) {
  std::vector<WaitingScreen> screens;
  WaitingScreen current;
  for (const TraceEntry& e : calls_named(trace, "gui")) {
    std::vector<unsigned char> in = from_hex(e["in"]);
    switch (e.code()) {
    case kGuiClearPanel:
      current = WaitingScreen{
          .drawing = current.drawing + 1, .field_numbers = {}, .bitmaps = {}, .keys = {}, .key = 0};
      break;
    case kGuiSetField:
      current.field_numbers.push_back(get_le16(in, kFieldNumbers));
      current.bitmaps.push_back(bytes(in, kFieldPicture + 8, 12));
      break;
    case kGuiDefinePanel:
      current.keys.clear();
      for (std::size_t n = 0; n < 20 && kKeyList + 2 * n + 2 <= in.size(); ++n) {
        int16_t key = get_le16(in, kKeyList + 2 * n);
        if (key == 0)
          break;
        current.keys.push_back(key);
      }
      break;
    case kGuiConverse:
      if (bytes(in, kConverseCharacters, 8) == "PANEL001" &&
          bytes(in, kConverseCharacters + 102, 1) != "n") {
        std::vector<unsigned char> out = from_hex(e["out"]);
        current.key = get_le16(out, kConverseKey);
        screens.push_back(current);
      }
      break;
    default:
      break;
    }
  }
  return screens;
}

int32_t ObservingGui::call(int16_t code, std::span<uint8_t> block) {
  seen.push_back({code, install_choices});
  return inner_.call(code, block);
}

std::optional<InstallChoices> ObservingGui::choices_when_installing() const {
  for (const Seen& s : seen)
    if (s.choices.install_started[0] == 'S')
      return s.choices;
  if (install_choices.install_started[0] == 'S')
    return install_choices;
  return std::nullopt;
}

} // namespace qov::testing
