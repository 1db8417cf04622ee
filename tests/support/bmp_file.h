// Writes small Windows bitmap files for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/terminal/bmp_image.h"

namespace qov::testing {

using PixelAt = std::function<terminal::Rgb(int x, int y)>; // y = 0 is the top row

// A 24-bit file, stored bottom-up (the usual way).
std::vector<uint8_t> bmp_24(int width, int height, const PixelAt& pixel);

// An 8-bit file with the palette given, stored top-down; `index` gives each
// pixel's palette index.
std::vector<uint8_t> bmp_8(int width, int height, const std::vector<terminal::Rgb>& palette,
                           const std::function<uint8_t(int x, int y)>& index);

} // namespace qov::testing
