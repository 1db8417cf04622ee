#include "tools/demo_bitmap.h"

#include <cstdlib>

namespace qov::demo {
namespace {

void put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xff);
  s += static_cast<char>(v >> 8 & 0xff);
}
void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xffff);
  put16(s, v >> 16);
}

bool inked(int x, int y, int w, int h, Drawing d) {
  if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
    return true;
  switch (d) {
  case Drawing::kStripes:
    return (x + y) / 4 % 2 == 0;
  case Drawing::kCircle: {
    int dx = 2 * x - w, dy = 2 * y - h, r = (w < h ? w : h) * 3 / 4;
    return dx * dx + dy * dy <= r * r;
  }
  case Drawing::kCross:
    return std::abs(2 * x - w) <= w / 8 || std::abs(2 * y - h) <= h / 8;
  case Drawing::kChecks:
    return (x / 8 + y / 8) % 2 == 0;
  case Drawing::kFrame:
    return x < 4 || y < 4 || x >= w - 4 || y >= h - 4;
  }
  return false;
}

} // namespace

std::string bitmap(int width, int height, Rgb background, Rgb ink, Drawing drawing) {
  const uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t pixels = row * static_cast<uint32_t>(height);
  std::string s;
  s += "BM";
  put32(s, 54 + pixels);
  put32(s, 0);
  put32(s, 54); // pixel data offset
  put32(s, 40); // BITMAPINFOHEADER
  put32(s, static_cast<uint32_t>(width));
  put32(s, static_cast<uint32_t>(height));
  put16(s, 1);  // planes
  put16(s, 24); // bits per pixel
  put32(s, 0);  // no compression
  put32(s, pixels);
  put32(s, 2835); // 72 dpi
  put32(s, 2835);
  put32(s, 0);
  put32(s, 0);
  for (int y = height - 1; y >= 0; --y) { // bottom-up rows
    size_t start = s.size();
    for (int x = 0; x < width; ++x) {
      Rgb c = inked(x, y, width, height, drawing) ? ink : background;
      s += static_cast<char>(c.b);
      s += static_cast<char>(c.g);
      s += static_cast<char>(c.r);
    }
    s.append(row - (s.size() - start), '\0');
  }
  return s;
}

} // namespace qov::demo
