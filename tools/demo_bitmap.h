// Small uncompressed 24-bit BMP pictures for the demo CD.
#pragma once

#include <cstdint>
#include <string>

namespace qov::demo {

enum class Drawing { kStripes, kCircle, kCross, kChecks, kFrame };

struct Rgb {
  uint8_t r, g, b;
};

// A width x height BMP file: the background colour with the drawing in the
// ink colour and a one-pixel ink border.
std::string bitmap(int width, int height, Rgb background, Rgb ink, Drawing drawing);

} // namespace qov::demo
