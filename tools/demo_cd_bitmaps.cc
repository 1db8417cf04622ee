#include "tools/demo_cd_bitmaps.h"

#include "system/win1252.h"
#include "tools/demo_bitmap.h"

namespace qov::demo {

const std::vector<DemoBitmap>& demo_bitmaps() {
  static const std::vector<DemoBitmap> kBitmaps = {
      {"cd_qov.bmp", "QOV-Software"},
      {"cd_inst.bmp", "Instalar"},
      {"btngrd.bmp", "Separador"},
      {"cd_copia.bmp", "Copiar"},
      {"cd_sair.bmp", "Sair"},
      {"cdopc_po.bmp", "Posto (Zavod)"},
      {"btnmed.bmp", "Separador"},
      {"cdopc_ap.bmp", "Aplicação"},
      {"cdopc_ru.bmp", "Run-time"},
      {"cdopc_sa.bmp", "Sair"},
      {"cd_loca.bmp", "Localização"},
      {"cd_por.bmp", "Portugal"},
      {"cd_ang.bmp", "Angola"},
      {"cd_moc.bmp", "Moçambique"},
      {"cd_vr489.bmp", "Versão 4.89"},
      {"cd_ling.bmp", "Linguagem"},
      {"cd_mf.bmp", "MfCobol"},
      {"cd_rm.bmp", "RmCobol"},
      {"cd_actu.bmp", "Actualização"},
      {"cd_ver51.bmp", "Versão 5.10"},
      {"cd_ver60.bmp", "Versão 6.00"},
      {"PEQVER2.bmp", "Outras Versões"},
      {"PEQOK.BMP", "OK"},
      {"PEQCAN.BMP", "Cancelar"},
  };
  return kBitmaps;
}

std::string demo_bitmap_file(size_t index) {
  // Colours and drawings vary with the index, so no two bitmaps look alike.
  static const Rgb kColours[] = {{0, 64, 128},  {192, 192, 192}, {0, 128, 0},  {128, 0, 0},
                                 {255, 224, 0}, {64, 0, 128},    {0, 160, 160}};
  static const Drawing kDrawings[] = {Drawing::kStripes, Drawing::kCircle, Drawing::kCross,
                                      Drawing::kChecks, Drawing::kFrame};
  const std::string name = demo_bitmaps()[index].name;
  const bool background = name == "cd_qov.bmp";
  const bool small = name.rfind("PEQ", 0) == 0 || name.rfind("btn", 0) == 0;
  int width = background ? 160 : small ? 24 : 64;
  int height = background ? 120 : small ? 16 : 24;
  Rgb paper = kColours[index % 7];
  Rgb ink = kColours[(index / 7 + index + 3) % 7];
  return bitmap(width, height, paper, ink, kDrawings[index % 5]);
}

std::string demo_sp2_config() {
  std::string text = "# qovsp2.cfg - configuração de demonstração do CD de demo QOV.\n"
                     "# Conteúdo de demo: não é a configuração da biblioteca SP2.\n"
                     "# bitmap NOME LEGENDA: a legenda que um ecrã de texto mostra pelo bitmap.\n";
  for (const DemoBitmap& b : demo_bitmaps())
    text += std::string("bitmap ") + b.name + " " + b.caption + "\n";
  return w1252(text);
}

} // namespace qov::demo
