#include "ui/screen_tables.h"

#include <array>
#include <cstring>

#include "ui/gui_block.h"

namespace qov {
namespace {

ScreenItem item(const char* row, const char* column, int16_t code, std::string_view bitmap) {
  ScreenItem it;
  std::memcpy(it.row, row, 2);
  std::memcpy(it.column, column, 2);
  put_le16(it.code, 0, code);
  std::memset(it.picture, ' ', sizeof it.picture);
  std::memcpy(it.picture + 8, bitmap.data(), std::min<std::size_t>(12, bitmap.size()));
  return it;
}

std::array<ScreenItem, 6> g_main_menu;
std::array<ScreenItem, 9> g_module;
std::array<ScreenItem, 11> g_country;
std::array<ScreenItem, 11> g_runtime;
std::array<ScreenItem, 5> g_update;

} // namespace

int16_t button_code(const ScreenItem& item) {
  return get_le16(item.code, 0);
}

std::span<char, 12> bitmap_name(ScreenItem& item) {
  return std::span<char, 12>(item.picture + 8, 12);
}

void reset_screen_tables() {
  g_main_menu = {item("00", "00", 0, "cd_qov.bmp"), item("02", "20", 279, "cd_inst.bmp"),
                 item("06", "30", 0, "btngrd.bmp"), item("08", "20", 302, "cd_copia.bmp"),
                 item("12", "31", 0, "btngrd.bmp"), item("14", "20", 287, "cd_sair.bmp")};
  g_module = {item("00", "00", 0, "cd_qov.bmp"),     item("01", "20", 0, "cd_inst.bmp"),
              item("06", "20", 281, "cdopc_po.bmp"), item("08", "34", 0, "btnmed.bmp"),
              item("10", "20", 286, "cdopc_ap.bmp"), item("12", "34", 0, "btnmed.bmp"),
              item("14", "20", 275, "cdopc_ru.bmp"), item("16", "34", 0, "btnmed.bmp"),
              item("18", "20", 287, "cdopc_sa.bmp")};
  g_country = {item("00", "00", 0, "cd_qov.bmp"),    item("01", "20", 0, "cd_inst.bmp"),
               item("06", "20", 0, "cdopc_ap.bmp"),  item("10", "15", 0, "cd_loca.bmp"),
               item("12", "20", 281, "cd_por.bmp"),  item("13", "34", 0, "btnmed.bmp"),
               item("14", "20", 286, "cd_ang.bmp"),  item("15", "34", 0, "btnmed.bmp"),
               item("16", "20", 306, "cd_moc.bmp"),  item("17", "34", 0, "btnmed.bmp"),
               item("18", "20", 287, "cdopc_sa.bmp")};
  g_runtime = {item("00", "00", 0, "cd_qov.bmp"),    item("01", "20", 0, "cd_inst.bmp"),
               item("06", "14", 0, "cdopc_ap.bmp"),  item("07", "47", 0, "cd_por.bmp"),
               item("09", "20", 0, "cd_vr489.bmp"),  item("12", "20", 0, "cd_ling.bmp"),
               item("14", "20", 306, "cd_mf.bmp"),   item("16", "34", 0, "btnmed.bmp"),
               item("16", "20", 275, "cd_rm.bmp"),   item("18", "34", 0, "btnmed.bmp"),
               item("18", "20", 287, "cdopc_sa.bmp")};
  g_update = {item("00", "00", 0, "cd_qov.bmp"), item("01", "10", 0, "cd_actu.bmp"),
              item("04", "50", 0, "cd_por.bmp"), item("08", "00", 0, "cd_mf.bmp"),
              item("08", "41", 0, "cd_ver51.bmp")};
}

namespace {
struct Init {
  Init() { reset_screen_tables(); }
} g_init;
} // namespace

ScreenTable main_menu_screen() {
  return g_main_menu;
}
ScreenTable module_screen() {
  return g_module;
}
ScreenTable country_screen() {
  return g_country;
}
ScreenTable runtime_screen() {
  return g_runtime;
}
ScreenTable update_screen() {
  return g_update;
}

} // namespace qov
