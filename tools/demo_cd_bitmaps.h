// The bitmaps of the demo CD's "AUTORUN/BIN" and their captions, which the
// terminal front end reads from qovsp2.cfg.
#pragma once

#include <string>
#include <vector>

namespace qov::demo {

struct DemoBitmap {
  const char* name;    // the file name the screens and "PSETUP" use
  const char* caption; // UTF-8
};

const std::vector<DemoBitmap>& demo_bitmaps();

// The BMP file of the bitmap at that index of demo_bitmaps().
std::string demo_bitmap_file(size_t index);

// qovsp2.cfg in Windows-1252.
std::string demo_sp2_config();

} // namespace qov::demo
